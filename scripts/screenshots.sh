#!/usr/bin/env bash
# Pictures of Lumoff for the readme: the caption window, the Options dialog and the status screen, taken from the real
# lumoff.exe at 100 % (96 dpi; the test also takes them at 120, 144, 192 and 288), and the Options dialog at 200 % (192
# dpi, in two columns on the 1024 x 768 desktop), under Wine, in a Wine virtual desktop on a private Xvfb display, and
# written as small palette PNGs to docs/. The pictures come from the end-to-end layout test, which saves every window
# it checks; this runs it through the end-to-end runner, which waits for any other Wine run on this machine to end
# first.
#
#   scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v python3 >/dev/null; then
    sudo=()
    [ "$(id -u)" = 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends python3 >/dev/null
fi
scripts/build.sh build/win >/dev/null
LUMOFF_E2E_JOBS=1 tests/e2e/run_e2e.sh build/win 'Dpi.*'

shots=build/win/e2e-artifacts/Dpi.CaptionOptionsAndStatusScreenAreLaidOutWholeAtEachScaleTheProgramStartsWith
mkdir -p docs
for name in caption options status-screen; do
    tools/bmp_to_png.py "$shots/$name-96dpi.bmp" "docs/$name.png"
    echo "docs/$name.png ($(stat -c %s "docs/$name.png") bytes)"
done
tools/bmp_to_png.py "$shots/options-192dpi.bmp" docs/options-192dpi.png
echo "docs/options-192dpi.png ($(stat -c %s docs/options-192dpi.png) bytes)"
