#!/usr/bin/env bash
# Checks the test runner with a stand-in for Wine that behaves as told by a
# script of one line per start: "silent <code>" prints nothing, "say <text>
# <code>" prints the text. Prints "[  PASSED  ]" when every case holds.
set -u
runner="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/fake-wine" <<'FAKE'
#!/usr/bin/env bash
n=$(cat "$FAKE_DIR/count" 2>/dev/null || echo 0)
n=$((n + 1)); echo "$n" > "$FAKE_DIR/count"
line=$(sed -n "${n}p" "$FAKE_DIR/plan")
set -- $line
case "$1" in
  silent) exit "$2" ;;
  say) echo "$2"; exit "$3" ;;
esac
exit 99
FAKE
chmod +x "$work/fake-wine"

fail=0
# plan lines, expected starts, expected exit code, text the output must hold
check() {
  local name="$1" plan="$2" starts="$3" code="$4" holds="$5"
  printf '%b' "$plan" > "$work/plan"
  rm -f "$work/count"
  local out rc
  out=$(FAKE_DIR="$work" QLR_TEST_WINE="$work/fake-wine" "$runner" prog.exe 2>&1)
  rc=$?
  local n
  n=$(cat "$work/count")
  if [ "$n" != "$starts" ] || [ "$rc" != "$code" ] || ! grep -qF -- "$holds" <<<"$out"; then
    echo "FAILED: $name: $n starts, exit $rc, output [$out]"
    fail=1
  else
    echo "ok: $name"
  fi
}

check "silent start is tried once more" 'silent 0\nsay [==========]_done 0\n' 2 0 "trying once more"
check "second silent start is the verdict" 'silent 3\nsilent 5\n' 2 5 "prog.exe printed nothing and ended with 3"
check "failing verdict is never repeated" 'say [__FAILED__] 1\nsay again 0\n' 1 1 "[__FAILED__]"
check "passing run is run once" 'say [__PASSED__] 0\nsay again 0\n' 1 0 "[__PASSED__]"

[ $fail -eq 0 ] && echo "[  PASSED  ]" || echo "[  FAILED  ]"
