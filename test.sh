#!/usr/bin/env bash
# Installs what is missing, builds both targets, runs every test of the x64
# build under Wine, and checks the 32-bit deliverables.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"

scripts/setup-deps.sh
# Modules include only modules below them (the table is in the script).
python3 scripts/check_layers.py
if [ -n "${QLR_SKIP_X86:-}" ]; then
  # Quicker rounds while developing: the x64 build and its tests only.
  scripts/build.sh x64
else
  scripts/build.sh all
  check_x86=1
fi

if [ -n "${check_x86:-}" ]; then
echo "== 32-bit deliverables"
fail=0
for f in Quillora.exe QuilloraEditor.exe Quillora_Welcome.exe Gesture.dll Quillora.dll HTMLayout.dll; do
  fmt=$(i686-w64-mingw32-objdump -f "build/x86/bin/$f" 2>/dev/null | sed -n 's/.*file format //p')
  if [ "$fmt" = "pei-i386" ]; then echo "  $f: PE32 ($fmt)"; else echo "  $f: NOT PE32 (${fmt:-missing})"; fail=1; fi
done
# The tray program binds the core library's exports by their plain names.
exports=$(i686-w64-mingw32-objdump -p build/x86/bin/Quillora.dll 2>/dev/null || true)
for e in LR_Install LR_Uninstall LR_GetTargetWindow LR_GetTargetWindowOther; do
  grep -qE "\] $e\$" <<<"$exports" || { echo "  Quillora.dll: export $e missing"; fail=1; }
done
# The HTML view's WINAPI exports: the names of the 64-bit build, undecorated.
exports=$(i686-w64-mingw32-objdump -p build/x86/bin/HTMLayout.dll 2>/dev/null || true)
for e in $(sed -n 's/^    \([A-Za-z_]*\)$/\1/p' platform/htmlayout/dll/HTMLayout.def); do
  grep -qE "\] $e\$" <<<"$exports" || { echo "  HTMLayout.dll: export $e missing"; fail=1; }
done
! grep -qE "\] [A-Za-z_]+@[0-9]+\$" <<<"$exports" || { echo "  HTMLayout.dll: decorated exports"; fail=1; }
[ $fail -eq 0 ] || { echo "32-bit deliverables missing"; exit 1; }
fi

echo "== tests (x64 under Wine)"
# Several tests at once, each in a slot of its own (display, server, prefix
# and home): nothing a test does on the desktop reaches another one.
slots="${QLR_TEST_SLOTS:-$(( $(nproc) / 2 ))}"
[ "$slots" -ge 1 ] 2>/dev/null || slots=1
[ "$slots" -le 4 ] || slots=4
source scripts/wine-env.sh
trap qlr_wine_stop EXIT
rm -rf "$here/build/x64/wineprefix" "$here/build/x64/home"
export QLR_SLOTS_DIR="$here/build/x64/slots"
qlr_wine_start_slots "$QLR_SLOTS_DIR" "$slots"
echo "   $slots test slots"
cd build/x64
ctest --output-on-failure --timeout 600 -j "$slots" "$@"
