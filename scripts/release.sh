#!/usr/bin/env bash
# Builds Lumoff's release into dist/: the portable zip, the per-user installer and their SHA-256 checksums.
# Usage: scripts/release.sh [build-dir]   (default build/win, the same build the end-to-end tests use)
#
# The version comes from the configured build (project() in CMakeLists.txt, through the generated lumoff_version.h),
# the one place it is written; it names the files and is handed to the installer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh
dir=${1:-build/win}

cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$dir" --target lumoff -j"$(nproc)"

version=$(sed -n 's/^#define LUMOFF_VERSION_TEXT "\(.*\)"$/\1/p' "$dir/generated/lumoff_version.h")
if [[ ! $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "release: no version in $dir/generated/lumoff_version.h" >&2
    exit 1
fi
exe=$dir/lumoff.exe
zip_name=lumoff-$version-win64.zip
setup_name=lumoff-$version-setup.exe
echo "== Lumoff $version"

rm -rf dist
mkdir -p dist
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT

# What a Windows user opens: text files with CR LF, named so that a double click opens them.
mkdir "$staging/files"
cp "$exe" "$staging/files/lumoff.exe"
sed 's/\r*$/\r/' README.md >"$staging/files/README.txt"
sed 's/\r*$/\r/' LICENSE >"$staging/files/LICENSE.txt"
# The files carry the time of the last commit, so the zip does not change with the time of the build.
if stamp=$(git log -1 --format=%ct 2>/dev/null) && [[ -n $stamp ]]; then
    touch -d "@$stamp" "$staging/files/"*
fi

(cd "$staging/files" && TZ=UTC zip -q -X -9 "$root/dist/$zip_name" lumoff.exe README.txt LICENSE.txt)

makensis -V2 -INPUTCHARSET UTF8 \
    "-DVERSION=$version" \
    "-DEXE=$staging/files/lumoff.exe" \
    "-DREADME=$staging/files/README.txt" \
    "-DLICENSE=$staging/files/LICENSE.txt" \
    "-DICON=$root/res/lumoff.ico" \
    "-DOUTFILE=$root/dist/$setup_name" \
    res/installer.nsi

(cd dist && sha256sum "$zip_name" "$setup_name" >SHA256SUMS)
ls -l dist
cat dist/SHA256SUMS
