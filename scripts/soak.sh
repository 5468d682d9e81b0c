#!/usr/bin/env bash
# The soak: one copy of the real lumoff.exe under Wine driven through 1,000 off/on cycles (woken by Enter, a click on
# the message and the user's hotkey in turn), 200 Options show/hide, 200 tray round trips, 100 countdowns of 0 s and
# 100 update checks against a local HTTP server, with private bytes, kernel handles, GDI/USER objects (where Wine
# counts them) and the Win32 layer's own live GDI objects, menus, icons, timers and open registry keys read after a
# warm-up and at the end. Exits non-zero if any of them grows (private bytes: beyond a small allowance for Wine's
# heap, see bench/soak/soak.cpp) or a step fails.
#
#   scripts/soak.sh [SCALE]    SCALE scales the rounds: 1 (default) is the full soak, about 5 minutes here;
#                              0.02, a short run, about 25 seconds.
#
# Runs lumoff_soak.exe (bench/soak/soak.cpp, built on the end-to-end harness) through tests/e2e/run_e2e.sh: a fresh
# copy of the prepared Wine prefix, a Wine virtual desktop on a private Xvfb, and the machine-wide end-to-end lock (it
# waits while another run holds it).
# A full run writes SOAK.md beside BENCHMARKS.md; a scaled one writes BUILD_DIR/soak-report.md.
#
# Settings (environment): LUMOFF_SOAK_BUILD_DIR=build/win, and those of run_e2e.sh (LUMOFF_E2E_TEMPLATE, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

SCALE=${1:-1}
if ! awk -v s="$SCALE" 'BEGIN { exit !(s + 0 > 0) }'; then
    echo "usage: $0 [SCALE]   (a number above 0; 1 is the full soak)" >&2
    exit 2
fi
BUILD_DIR=$ROOT/${LUMOFF_SOAK_BUILD_DIR:-build/win}
if awk -v s="$SCALE" 'BEGIN { exit !(s + 0 == 1) }'; then OUT=$ROOT/SOAK.md; else OUT=$BUILD_DIR/soak-report.md; fi

scripts/install-deps.sh
scripts/build.sh "$BUILD_DIR"

TEST=Soak.NothingTheProcessHoldsGrowsOverManyRounds
RESULT=$BUILD_DIR/e2e-artifacts/$TEST/soak.md
rm -f "$RESULT"
# Only a result written by this run counts (another run of the same build may finish while this one waits).
MARKER=$(mktemp "$BUILD_DIR/soak-started.XXXXXX")
trap 'rm -f "$MARKER"' EXIT

# The full soak takes about 5 minutes here; a slow or busy machine gets far more.
export LUMOFF_SOAK_SCALE=$SCALE
export LUMOFF_E2E_TIMEOUT=$(awk -v s="$SCALE" 'BEGIN { printf "%d", 120 + 2700 * s }')
export LUMOFF_E2E_BUDGET=$((LUMOFF_E2E_TIMEOUT + 60))
export LUMOFF_E2E_JOBS=1
export LUMOFF_E2E_DRIVER=lumoff_soak.exe
STARTED=$(date -u '+%Y-%m-%d %H:%M UTC')
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
set +e
tests/e2e/run_e2e.sh "$BUILD_DIR" "$TEST"
RC=$?
set -e
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

if [[ ! -s $RESULT || ! $RESULT -nt $MARKER ]]; then
    echo "[soak] the soak did not finish (exit $RC); its log is $BUILD_DIR/e2e-logs/$TEST.log" >&2
    exit 1
fi

cpu_model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
memory=$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
{
    echo "# Soak"
    echo
    echo "One copy of lumoff.exe run under Wine through many rounds of what a user does, by the soak"
    echo "\`$TEST\` (\`bench/soak/soak.cpp\`), with what the process holds read after a warm-up (start) and after"
    echo "the last round (end), each time with the monitor on, the caption window shown and Options hidden. Made with"
    echo "\`scripts/soak.sh\`; the figures are of this machine under Wine, not of Windows."
    echo
    echo "- Date: $STARTED; scale $SCALE"
    echo "- Machine: $(nproc) cores, ${cpu_model:-unknown CPU}, $memory of memory, $(uname -sr)"
    echo "- Wine: $(wine --version 2>/dev/null); a virtual desktop of 1024x768 on a private Xvfb display"
    echo "- Load average (1, 5, 15 min): $LOAD_BEFORE before, $LOAD_AFTER after (the machine is shared)"
    echo "- Result: $([[ $RC -eq 0 ]] && echo "every figure flat" || echo "FAILED (exit $RC)")"
    echo
    cat "$RESULT"
    echo
    echo "Private bytes: memory committed and private, summed with VirtualQueryEx over the address space (as in"
    echo "BENCHMARKS.md). They may end up to 256 KiB above the start: Wine's heap keeps freed blocks of its arenas"
    echo "committed and grows an arena in steps, so the figure moves by a few pages with nothing left behind."
    echo "Kernel handles: GetProcessHandleCount, which Wine answers with 0 for another process, so there the"
    echo "process's entries in the system's handle table (NtQuerySystemInformation, SystemHandleInformation), Wine's"
    echo "own handles in the process included. GDI and USER objects: GetGuiResources, which Wine does not implement"
    echo "(it answers 0). The Win32 layer's counts come from its handle wrappers (\`src/platform/win32/handles_win.h\`):"
    echo "the program writes them with every power request when LUMOFF_LIVE_LOG names a file, so they are read"
    echo "while the monitor is off, right after it was turned off by the hotkey; every other figure after it was"
    echo "turned on again. Every count but private bytes must end no higher than it started."
} >"$OUT"
echo "[soak] wrote $OUT"
exit "$RC"
