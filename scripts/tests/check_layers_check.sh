#!/usr/bin/env bash
# Checks the layer check on small trees: each case lays out files, runs the
# check and compares its exit code and the offending lines it names. Prints
# "[  PASSED  ]" when every case holds.
set -u
check="$1"
failed=0

# case NAME EXPECTED_CODE EXPECTED_LINES -- FILE=INCLUDE ...
# A file named with "=" includes what follows it; every file that is named
# as included exists.
run_case() {
  local name="$1" code="$2" lines="$3"; shift 4
  local tree; tree=$(mktemp -d)
  for entry in "$@"; do
    local file="${entry%%=*}" inc="${entry#*=}"
    mkdir -p "$tree/$(dirname "$file")" "$tree/$(dirname "$inc")"
    touch "$tree/$inc"
    printf '#pragma once\n#include <windows.h>\n#include "%s"\n' "$inc" >> "$tree/$file"
  done
  local out rc
  out=$(python3 "$check" "$tree"); rc=$?
  local got; got=$(grep -c ':3: #include' <<<"$out")
  if [ "$rc" != "$code" ] || [ "$got" != "$lines" ]; then
    echo "FAILED: $name: exit $rc (want $code), $got offending lines (want $lines)"
    echo "$out"
    failed=1
  else
    echo "ok: $name"
  fi
  rm -rf "$tree"
}

run_case "downward includes pass" 0 0 -- tray/a.cpp=settings/s.h settings/s.cpp=foundation/f.h \
  editor/e.cpp=editor_settings/x.h tests/e2e/t.cpp=tray/tests/u.h bench/b.cpp=tests/e2e/session.h
run_case "an upward include fails" 1 1 -- foundation/f.cpp=settings/s.h
run_case "the store never reaches the tray" 1 1 -- settings/s.cpp=tray/app/app.h
run_case "a module beside it fails unless allowed" 1 1 -- history/h.cpp=online/o.h online/o.cpp=history/h.h
run_case "the test library is for tests only" 1 1 -- phrases/p.cpp=tests/support/test_support.h \
  phrases/tests/p_test.cpp=tests/support/test_support.h
run_case "the editor's settings tools stay below the editor" 1 1 -- editor_settings/l.cpp=editor/store/n.h
run_case "a folder outside the table is named" 1 1 -- newthing/n.cpp=foundation/f.h
run_case "a resource script counts too" 1 1 -- phrases/p.rc=tray/program/menu.rc

[ $failed -eq 0 ] && echo "[  PASSED  ]" || echo "[  FAILED  ]"
exit $failed
