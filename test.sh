#!/usr/bin/env bash
# Builds and runs every test: the unit tests (also under AddressSanitizer and UBSan) and the end-to-end tests of the
# real lumoff.exe and of its release (installer and zip) under Wine on a virtual display. Ends with a non-zero status
# on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)
# Warnings are errors here, in every toolchain (g++, clang, MinGW-w64), so the build stays free of them.
export LUMOFF_WERROR=ON

echo "== Unit tests"
cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug -DLUMOFF_WERROR=ON >/dev/null
cmake --build build/host -j"$jobs"
ctest --test-dir build/host --output-on-failure -j"$jobs"

echo "== Unit tests under AddressSanitizer and UBSan"
cmake -S . -B build/host-sanitize -DCMAKE_BUILD_TYPE=Debug -DLUMOFF_SANITIZE=ON -DLUMOFF_WERROR=ON >/dev/null
cmake --build build/host-sanitize -j"$jobs"
build/host-sanitize/tests/unit/lumoff_unit_tests --gtest_brief=1

echo "== clang-tidy on the platform-free code"
scripts/tidy.sh build/host

echo "== Fuzzing the parsers of outside text, briefly"
scripts/fuzz.sh "${LUMOFF_FUZZ_SECONDS:-5}"

echo "== End-to-end tests (lumoff.exe under Wine), with the release (dist/) they install and remove"
scripts/build.sh build/win
scripts/release.sh build/win
# One test at a time: injected input is timing-sensitive, and the machine has few cores.
LUMOFF_E2E_JOBS=${LUMOFF_E2E_JOBS:-1} tests/e2e/run_e2e.sh build/win
