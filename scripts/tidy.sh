#!/usr/bin/env bash
# Runs clang-tidy (with the checked-in .clang-tidy) over the platform-free code: src/ without platform/win32.
# Usage: scripts/tidy.sh [host-build-dir]   (default build/host; configured here if it has no compile_commands.json)
# Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/host}
[ -f "$dir/compile_commands.json" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug >/dev/null
find src -name '*.cpp' ! -path 'src/platform/win32/*' -print0 |
    xargs -0 -n4 -P"$(nproc)" clang-tidy -p "$dir" --quiet 2>/dev/null
echo "clang-tidy: no findings"
