#!/usr/bin/env bash
# Installs and builds what is missing, lays out a program folder in
# build/x64/dist and starts the tray program under Wine, on $DISPLAY when
# there is one, else in a private Xvfb display. Ends when the program ends.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"

scripts/setup-deps.sh
# Only the programs and the libraries they load; tests and benchmarks are
# built by ./test.sh.
scripts/build.sh x64 Quillora QuilloraEditor Quillora_Welcome Gesture QuilloraCore HTMLayout

dist="$here/build/x64/dist"
mkdir -p "$dist"
for f in Quillora.exe QuilloraEditor.exe Quillora_Welcome.exe Gesture.dll Quillora.dll HTMLayout.dll; do
  cp -f "build/x64/bin/$f" "$dist/"
done
# A marker file of a test switch changes what the programs do; the user's
# folder holds none.
for marker in "$dist"/*_Test.*_Test; do
  if [ -f "$marker" ]; then echo "removing test marker $(basename "$marker")"; rm -f "$marker"; fi
done
# The welcome page's images are looked up in HTML\img beside the program.
mkdir -p "$dist/HTML/img"
cp -f build/x64/bin/HTML/img/* "$dist/HTML/img/"
# The event sounds are looked up beside the program.
cp -f build/x64/bin/*.wav "$dist/" 2>/dev/null || true
if [ -d resources/sample_phrases ] && [ ! -d "$dist/UserPhrases" ]; then
  cp -r resources/sample_phrases "$dist/UserPhrases"
fi
[ -f "$dist/Settings.ini" ] || printf '\xff\xfe[\x00S\x00e\x00t\x00t\x00i\x00n\x00g\x00s\x00]\x00\r\x00\n\x00W\x00r\x00i\x00t\x00e\x00L\x00o\x00g\x00=\x001\x00\r\x00\n\x00' > "$dist/Settings.ini"

source scripts/wine-env.sh
export WINEPREFIX="${WINEPREFIX:-$here/build/x64/runprefix}"
if [ -z "${DISPLAY:-}" ]; then
  trap qlr_wine_stop EXIT
  qlr_wine_start "$WINEPREFIX"
  echo "Quillora runs in Xvfb display $DISPLAY; its log is written in $dist"
else
  export WINEDEBUG=-all
  echo "Quillora runs on display $DISPLAY; its log is written in $dist"
fi
"$QLR_WINE64" "$dist/Quillora.exe" "$@"
