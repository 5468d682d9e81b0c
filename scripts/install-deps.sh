#!/usr/bin/env bash
# Installs what building and testing Lumoff needs on Debian, when it is missing. Safe to run again.
set -euo pipefail

packages=(g++ make cmake g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb x11-utils xdotool googletest libgtest-dev clang clang-tidy
          libclang-rt-dev nsis zip unzip)
missing=0
for tool in g++ make cmake x86_64-w64-mingw32-g++-posix wine Xvfb xdpyinfo xdotool clang++ clang-tidy makensis zip unzip; do
    command -v "$tool" >/dev/null 2>&1 || missing=1
done
[ -f /usr/src/googletest/CMakeLists.txt ] || missing=1
[ -d /usr/share/wine/fonts ] || missing=1
[ -f /usr/include/gtest/gtest.h ] || missing=1
compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || missing=1
[ "$missing" = 0 ] && exit 0

sudo=()
[ "$(id -u)" = 0 ] || sudo=(sudo)
echo "Installing build and test tools: ${packages[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
