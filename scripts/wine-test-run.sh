#!/usr/bin/env bash
# CTest's runner of one test program under Wine: wine-test-run.sh <program> [args...]
#
# Every test program prints a line before its first test runs. One that
# ends without printing anything at all was never started by Wine (a start
# failure of Wine itself, seen now and then on a loaded machine): it is
# tried once more, and the run says so. A program that printed anything,
# a failing verdict included, is never repeated.
#
# With QLR_SLOTS_DIR set (test.sh runs several tests at once), the test takes
# a free slot of that folder: a display, a Wine prefix and a home no other
# running test uses, held by a lock until the test ends.
wine=${QLR_TEST_WINE:-/usr/lib/wine/wine64}  # another runner only in its own test
out=$(mktemp)
trap 'rm -f "$out"' EXIT

if [ -n "${QLR_SLOTS_DIR:-}" ]; then
  taken=""
  for _ in $(seq 6000); do
    for env in "$QLR_SLOTS_DIR"/slot*.env; do
      exec 9>"${env%.env}.lock"
      if flock -n 9; then taken="$env"; break 2; fi
      exec 9>&-
    done
    sleep 0.1
  done
  [ -n "$taken" ] || { echo "wine-test-run: no free test slot in $QLR_SLOTS_DIR"; exit 1; }
  source "$taken"
  unset QLR_SLOTS_DIR  # a runner this test starts runs in the same slot
  # The programs keep a settings file in the profile when the one beside
  # them cannot be written; a test must not find the one an earlier test of
  # this slot left there.
  rm -rf "$WINEPREFIX"/drive_c/users/*/Quillora
fi

run() {
  # The output goes through a file: a program the test started and left
  # running (Wine starts its own services from the first program of a
  # prefix) would hold a pipe open and the run would never end. The lock is
  # not handed down either, or such a program would keep the slot taken.
  # The file is shown as it grows, so a test stopped at its time-out still
  # leaves what it printed.
  local rc pid shown
  : >"$out"
  "$wine" "$@" >"$out" 2>&1 9>&- &
  pid=$!
  # Stopped at its time-out, the test ends with the runner.
  trap 'kill "$pid" 2>/dev/null; exit 124' TERM INT
  tail -n +1 -s 0.2 -f --pid="$pid" "$out" 9>&- &
  shown=$!
  wait "$pid"
  rc=$?
  wait "$shown"
  return "$rc"
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
