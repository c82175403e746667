#!/usr/bin/env bash
# Configures and builds one or both targets: scripts/build.sh [x64|x86|all]
# [TARGET...]. With targets named, only they and what they need are built.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
which="${1:-all}"
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
jobs="${QLR_JOBS:-$(nproc)}"

build_one() {  # folder toolchain
  local dir="$here/build/$1"
  # Release: with debug information the ~300 statically linked test
  # programs take about 5 GB, more than a small build machine has free.
  local type="${QLR_BUILD_TYPE:-Release}"
  if [ ! -f "$dir/build.ninja" ] ||
     ! grep -qx "CMAKE_BUILD_TYPE:STRING=$type" "$dir/CMakeCache.txt"; then
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
      -DCMAKE_TOOLCHAIN_FILE="$here/cmake/$2" >/dev/null
  fi
  cmake --build "$dir" -j "$jobs" ${targets[@]+"${targets[@]}"}
}

case "$which" in
  x64) build_one x64 toolchain-x86_64.cmake ;;
  x86) build_one x86 toolchain-i686.cmake ;;
  all) build_one x64 toolchain-x86_64.cmake; build_one x86 toolchain-i686.cmake ;;
  *) echo "usage: $0 [x64|x86|all]" >&2; exit 2 ;;
esac
