#!/usr/bin/env bash
# Builds lumoff.exe (and the end-to-end driver and benchmark programs) with the MinGW-w64 cross compiler.
# Usage: scripts/build.sh [build-dir]   (default build/win)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/win}
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DLUMOFF_WERROR="${LUMOFF_WERROR:-OFF}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
