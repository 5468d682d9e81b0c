#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in build/fuzz) and runs each for a bounded time on its seed corpus.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
# New inputs the fuzzer finds go to build/fuzz/corpus/<target>, never into the seeds; a crash leaves its input in
# build/fuzz/crashes and ends the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build/fuzz
cmake -S . -B "$dir" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DLUMOFF_WERROR="${LUMOFF_WERROR:-OFF}" >/dev/null
rm -rf "$dir/crashes"
mkdir -p "$dir/crashes"
for source in tests/fuzz/*_fuzz.cpp; do
    target=$(basename "$source" .cpp)
    name=${target%_fuzz}
    cmake --build "$dir" --target "$target" -j"$(nproc)" >/dev/null
    mkdir -p "$dir/corpus/$name"
    echo "== $target for $seconds s"
    "$dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=5 -print_final_stats=1 \
        -artifact_prefix="$dir/crashes/$name-" "$dir/corpus/$name" "tests/fuzz/corpus/$name" 2>&1 |
        grep -E '^(stat::number_of_executed_units|stat::new_units_added|#[0-9]+ *DONE)|ERROR|SUMMARY' || true
    # The pipe hides the fuzzer's status; a crash is known by the artifact it left.
    if compgen -G "$dir/crashes/$name-*" >/dev/null; then
        echo "$target found a failing input:" $dir/crashes/$name-*
        exit 1
    fi
done
