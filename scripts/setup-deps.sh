#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and fetches the
# TinyXML source package into build/_deps. Safe to run again: it only does
# what is missing.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
deps="$here/build/_deps"

packages=(
  cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine64 xvfb xdotool x11-utils dpkg-dev googletest file unzip python3
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# TinyXML comes from Debian's source package (with Debian's patches applied).
# apt-get source needs deb-src entries: derive them from the system's own
# sources into a private apt configuration instead of editing the system's.
if [ ! -f "$deps/tinyxml/tinyxml.h" ]; then
  A="$deps/apt"
  rm -rf "$A" "$deps/tinyxml"
  mkdir -p "$A/etc/sources.list.d" "$A/lists/partial" "$A/src"
  shopt -s nullglob
  for f in /etc/apt/sources.list.d/*.sources; do
    sed 's/^Types: deb$/Types: deb-src/' "$f" > "$A/etc/sources.list.d/$(basename "$f")"
  done
  if [ -s /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > "$A/etc/sources.list.d/src.list" || true
  fi
  for f in /etc/apt/sources.list.d/*.list; do
    grep -E '^deb ' "$f" | sed 's/^deb /deb-src /' > "$A/etc/sources.list.d/$(basename "$f")" || true
  done
  shopt -u nullglob
  O=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$A/etc/sources.list.d" -o "Dir::State::Lists=$A/lists")
  apt-get "${O[@]}" update -q >/dev/null
  (cd "$A/src" && apt-get "${O[@]}" source -q tinyxml >/dev/null)
  src=$(find "$A/src" -maxdepth 1 -type d -name 'tinyxml-*' | head -n 1)
  [ -n "$src" ] && [ -f "$src/tinyxml.h" ] || { echo "setup: tinyxml source not found" >&2; exit 1; }
  mkdir -p "$deps/tinyxml"
  cp "$src"/tinystr.h "$src"/tinystr.cpp "$src"/tinyxml.h "$src"/tinyxml.cpp \
     "$src"/tinyxmlerror.cpp "$src"/tinyxmlparser.cpp "$deps/tinyxml/"
  echo "setup: tinyxml from $(basename "$src")"
fi
