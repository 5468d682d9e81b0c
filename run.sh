#!/usr/bin/env bash
# Builds Lumoff and runs it under Wine. Arguments go to the program: ./run.sh /off
# Uses $DISPLAY when it is set and reachable; otherwise starts a virtual display (Xvfb) and says which.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build/win

export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wine-run}
if [ ! -f "$WINEPREFIX/.lumoff-ready" ]; then
    echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
    need_display=1
fi

started_xvfb=
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        started_xvfb=$!
        export DISPLAY=":$n"
        break
    done
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    echo "No display: Lumoff runs on the virtual display $DISPLAY (Xvfb, pid $started_xvfb)."
    echo "Look at it with: DISPLAY=$DISPLAY import -window root screen.png"
fi
# A display we started goes with the program; Wine's own processes of this prefix go first.
cleanup() {
    if [ -n "$started_xvfb" ]; then
        wineserver -k 2>/dev/null || true
        kill "$started_xvfb" 2>/dev/null || true
    fi
}
trap cleanup EXIT

if [ -n "${need_display:-}" ]; then
    WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot -i >/dev/null 2>&1 || true
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.lumoff-ready"
fi
wine build/win/lumoff.exe "$@"
