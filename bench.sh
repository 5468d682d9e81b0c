#!/usr/bin/env bash
# Benchmarks lumoff.exe side by side with reference.exe (bench/reference: the smallest Win32 program with one window
# and one message loop) under Wine, and writes BENCHMARKS.md. Takes about 11 minutes, plus any wait for a quiet machine.
#
#   ./bench.sh
#
# Installs what it needs, builds into build/win, and runs the benchmark driver lumoff_bench.exe in a fresh copy of
# the end-to-end tests' Wine template prefix (virtual desktop 1024x768) on a private Xvfb display.
#
# Settings (environment):
#   LUMOFF_BENCH_ROUNDS=7          start-up, memory and latency rounds
#   LUMOFF_BENCH_CPU_ROUNDS=3      CPU rounds (each: one idle window and two kept-off windows)
#   LUMOFF_BENCH_CPU_SECONDS=30    length of the idle window (both programs idle, the monitor on)
#   LUMOFF_BENCH_OFF_SECONDS=60    length of each kept-off window ("Vista / Newer", then "XP / Older"; the reference
#                                  idles beside it)
#   LUMOFF_BENCH_MAX_LOAD=0.7      measure only once the 1-minute load average is below this ...
#   LUMOFF_BENCH_LOAD_WAIT=900     ... waiting at most this many seconds for it (then measuring anyway, and saying so)
#   LUMOFF_BENCH_OUT=BENCHMARKS.md the report
#   LUMOFF_BENCH_BUILD_DIR=build/win where to build
#   LUMOFF_BENCH_LUMOFF_EXE=       another lumoff.exe to measure in place of the one built (say, an earlier build, for a
#                                  before-and-after comparison)
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD

ROUNDS=${LUMOFF_BENCH_ROUNDS:-7}
CPU_ROUNDS=${LUMOFF_BENCH_CPU_ROUNDS:-3}
CPU_SECONDS=${LUMOFF_BENCH_CPU_SECONDS:-30}
OFF_SECONDS=${LUMOFF_BENCH_OFF_SECONDS:-60}
MAX_LOAD=${LUMOFF_BENCH_MAX_LOAD:-0.7}
LOAD_WAIT=${LUMOFF_BENCH_LOAD_WAIT:-900}
OUT=${LUMOFF_BENCH_OUT:-$ROOT/BENCHMARKS.md}

log() { echo "[bench] $*"; }

BUILD_DIR=$ROOT/${LUMOFF_BENCH_BUILD_DIR:-build/win}
scripts/install-deps.sh
scripts/build.sh "$BUILD_DIR"

TEMPLATE=$BUILD_DIR/wine-template
WORK_DIR=$BUILD_DIR/bench-work
for exe in lumoff_bench.exe lumoff.exe reference.exe; do
    [[ -f $BUILD_DIR/$exe ]] || { echo "[bench] $BUILD_DIR/$exe was not built" >&2; exit 1; }
done
LUMOFF_UNDER_TEST=$(realpath "${LUMOFF_BENCH_LUMOFF_EXE:-$BUILD_DIR/lumoff.exe}")
[[ -f $LUMOFF_UNDER_TEST ]] || { echo "[bench] $LUMOFF_UNDER_TEST does not exist" >&2; exit 1; }

export WINEDEBUG=-all WINEARCH=win64 LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WINEPREFIX WINESERVER WINELOADER LUMOFF_POWER_LOG LUMOFF_WEBHOST
source tests/e2e/wine_template.sh

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
load_1min() { cut -d' ' -f1 /proc/loadavg; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# ---- only what this run started is ended -----------------------------------------------------------------------------

XVFB_PID=
PREFIX=
TAIL_PID=
cleanup() {
    [[ -n $TAIL_PID ]] && kill "$TAIL_PID" 2>/dev/null || true
    if [[ -n $PREFIX ]]; then
        WINEPREFIX=$PREFIX wineserver -k 2>/dev/null || true
        WINEPREFIX=$PREFIX timeout 10 wineserver -w 2>/dev/null || true
        rm -rf "$PREFIX"
    fi
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rm -rf "$WORK_DIR"
mkdir -p "$WORK_DIR"

# ---- a private display -----------------------------------------------------------------------------------------------

number_file=$WORK_DIR/xvfb-display
Xvfb -displayfd 3 -screen 0 "${WINE_TEMPLATE_SCREEN}x24" -nolisten tcp -noreset 3>"$number_file" </dev/null \
    >"$WORK_DIR/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do
    [[ -s $number_file ]] && timeout 5 xdpyinfo -display ":$(head -n 1 "$number_file")" >/dev/null 2>&1 && break
    kill -0 "$XVFB_PID" 2>/dev/null || { cat "$WORK_DIR/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
DISPLAY_NAME=":$(head -n 1 "$number_file")"
log "private Xvfb display $DISPLAY_NAME"

ensure_wine_template "$TEMPLATE" "$DISPLAY_NAME" "$WORK_DIR/template.log" "[bench]"

# ---- a quiet machine -------------------------------------------------------------------------------------------------

waited=0
while ! below "$(load_1min)" "$MAX_LOAD" && ((waited < LOAD_WAIT)); do
    ((waited % 60 == 0)) && log "1-minute load average $(load_1min), waiting for it to fall below $MAX_LOAD"
    sleep 15
    waited=$((waited + 15))
done
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
if below "$(load_1min)" "$MAX_LOAD"; then
    QUIET="yes"
else
    QUIET="no: the load stayed at or above $MAX_LOAD for $LOAD_WAIT s, so these figures were taken on a busy machine"
fi
log "load average before measuring: $LOAD_BEFORE (waited $waited s)"

# ---- the run ---------------------------------------------------------------------------------------------------------

PREFIX=$WORK_DIR/prefix
cp -a --reflink=auto "$TEMPLATE" "$PREFIX"
# The prefix's wineserver, started here so that its Unix pid is known: the driver reads its CPU time from /proc.
WINEPREFIX=$PREFIX wineserver -f -p </dev/null >"$WORK_DIR/wineserver.log" 2>&1 &
SERVER_PID=$!
sleep 1
REPORT=$WORK_DIR/report.md
STARTED=$(date -u '+%Y-%m-%d %H:%M UTC')
# The driver's output goes to a file that is followed here: the prefix's services inherit the driver's standard
# output and keep it open, so a pipe from it would never end.
LOG=$WORK_DIR/driver.log
: >"$LOG"
tail -n +1 -f "$LOG" &
TAIL_PID=$!
set +e
WINEPREFIX=$PREFIX DISPLAY=$DISPLAY_NAME \
    LUMOFF_EXE=$(windows_path "$LUMOFF_UNDER_TEST") \
    LUMOFF_REFERENCE_EXE=$(windows_path "$BUILD_DIR/reference.exe") \
    LUMOFF_E2E_ARTIFACTS=$(windows_path "$WORK_DIR/artifacts") \
    LUMOFF_BENCH_WINESERVER_PID=$SERVER_PID LUMOFF_BENCH_CLK_TCK=$(getconf CLK_TCK) \
    timeout -k 10 $((600 + CPU_ROUNDS * (CPU_SECONDS + 2 * OFF_SECONDS + 30))) \
    wine "$BUILD_DIR/lumoff_bench.exe" --rounds="$ROUNDS" --cpu-rounds="$CPU_ROUNDS" \
    --cpu-seconds="$CPU_SECONDS" --off-seconds="$OFF_SECONDS" --out="$(windows_path "$REPORT")" </dev/null >>"$LOG" 2>&1
RC=$?
set -e
sleep 0.5
kill "$TAIL_PID" 2>/dev/null || true
wait "$TAIL_PID" 2>/dev/null || true
TAIL_PID=
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)
if [[ $RC -ne 0 || ! -s $REPORT ]]; then
    echo "[bench] the benchmark driver failed (exit $RC); its output is in $LOG" >&2
    exit 1
fi

# ---- the report ------------------------------------------------------------------------------------------------------

cpu_model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
memory=$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
compiler=$(x86_64-w64-mingw32-g++-posix --version | head -n 1)
{
    echo "# Benchmarks"
    echo
    echo "lumoff.exe measured side by side with reference.exe, the smallest Win32 program with one window and one"
    echo "message loop (\`bench/reference/reference.cpp\`), both run by \`lumoff_bench.exe\` (\`bench/driver/\`) in one"
    echo "fresh Wine prefix with a virtual desktop of $WINE_TEMPLATE_SCREEN on a private Xvfb display. Made with"
    echo "\`./bench.sh\`; the figures are of this machine under Wine, not of Windows."
    echo
    echo "- Date: $STARTED"
    echo "- Machine: $(nproc) cores, ${cpu_model:-unknown CPU}, $memory of memory, $(uname -sr)"
    echo "- Wine: $(wine --version 2>/dev/null); Xvfb on display $DISPLAY_NAME"
    echo "- Build: MinSizeRel, $compiler, static, stripped (\`scripts/build.sh\`)"
    if [[ -n ${LUMOFF_BENCH_LUMOFF_EXE:-} ]]; then
        echo "- lumoff.exe measured: $LUMOFF_UNDER_TEST (LUMOFF_BENCH_LUMOFF_EXE)"
    fi
    echo "- Load average (1, 5, 15 min): $LOAD_BEFORE before measuring, $LOAD_AFTER after; quiet machine" \
        "(1-minute load below $MAX_LOAD): $QUIET"
    echo
    cat "$REPORT"
} >"$OUT"
log "wrote $OUT"
