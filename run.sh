#!/usr/bin/env bash
# Builds Lumoff and runs it under Wine. Arguments go to the program: ./run.sh /off
# Uses $DISPLAY when it is set and reachable; otherwise starts a virtual display (Xvfb) and says which, and runs the
# program there inside a Wine virtual desktop: a bare Xvfb has no window manager, so no window of the program would
# get the keyboard focus and keys such as Enter on the status screen would never reach it.
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
# A display we started goes with the program; Wine's own processes of this prefix go first.
cleanup() {
    if [ -n "$started_xvfb" ]; then
        wineserver -k 2>/dev/null || true
        kill "$started_xvfb" 2>/dev/null || true
    fi
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    # The server picks a free display number itself: a display whose socket file is gone may still be taken.
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    started_xvfb=$!
    for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
    if [ ! -s "$display_file" ]; then
        echo "The virtual display (Xvfb) did not start." >&2
        exit 1
    fi
    export DISPLAY=":$(head -n 1 "$display_file")"
    rm -f "$display_file"
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    echo "No display: Lumoff runs on the virtual display $DISPLAY (Xvfb, pid $started_xvfb)."
    echo "Look at it with: DISPLAY=$DISPLAY import -window root screen.png"
fi

if [ -n "${need_display:-}" ]; then
    WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot -i >/dev/null 2>&1 || true
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.lumoff-ready"
fi
if [ -n "$started_xvfb" ]; then
    wine explorer /desktop=Lumoff,1024x768 build/win/lumoff.exe "$@"
else
    wine build/win/lumoff.exe "$@"
fi
