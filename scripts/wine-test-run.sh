#!/usr/bin/env bash
# CTest's runner of one test program under Wine: wine-test-run.sh <program> [args...]
#
# Every test program prints a line before its first test runs. One that
# ends without printing anything at all was never started by Wine (a start
# failure of Wine itself, seen now and then on a loaded machine): it is
# tried once more, and the run says so. A program that printed anything,
# a failing verdict included, is never repeated.
wine=${QLR_TEST_WINE:-/usr/lib/wine/wine64}  # another runner only in its own test
out=$(mktemp)
trap 'rm -f "$out"' EXIT

run() {
  "$wine" "$@" 2>&1 | tee "$out"
  return "${PIPESTATUS[0]}"
}

start=$(date +%s%N)
run "$@"
rc=$?
if [ ! -s "$out" ]; then
  took=$(( ($(date +%s%N) - start) / 1000000 ))
  echo "wine-test-run: $(basename "$1") printed nothing and ended with $rc after ${took} ms:" \
       "Wine did not start it; trying once more"
  run "$@"
  rc=$?
fi
exit "$rc"
