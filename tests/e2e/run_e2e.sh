#!/usr/bin/env bash
# Runs Lumoff's end-to-end tests: the test driver lumoff_e2e.exe drives the real lumoff.exe under Wine.
#
#   tests/e2e/run_e2e.sh BUILD_DIR [GTEST_FILTER]
#
# BUILD_DIR holds lumoff_e2e.exe, reference.exe and lumoff.exe (searched below it if not at its top). Each test runs
# alone in a fresh copy of one prepared Wine prefix, inside a Wine virtual desktop of 1024x768, on a private Xvfb
# display, so tests cannot disturb each other or the person at the machine. At most LUMOFF_E2E_JOBS tests run at once.
# Prints one line per test, the output of each failed test, and finally "N passed, N failed"; exits non-zero on any
# failure. Needs wine (64-bit), Xvfb and xdpyinfo; works as root, without standard input and without a display.
#
# Settings (environment):
#   LUMOFF_E2E_JOBS=2          tests run at the same time (each gets its own Xvfb)
#   LUMOFF_E2E_TIMEOUT=120     seconds one test may take before it is killed and failed
#   LUMOFF_E2E_BUDGET=1200     seconds after which no further test is started (those left count as failed), so that
#                              a run of hanging tests still ends well within CI's time
#   LUMOFF_E2E_TEMPLATE=DIR    the prepared prefix (default BUILD_DIR/wine-template); made once, kept between runs
#   LUMOFF_E2E_USE_DISPLAY=1   run on $DISPLAY instead of private Xvfbs, one test at a time (to watch the tests)
#   LUMOFF_E2E_KEEP=1          keep the prefix of a failed test for a post-mortem
#   LUMOFF_E2E_DIST=DIR        the release for the release tests (default: dist/ of this clone, if scripts/release.sh
#                              made one); the tests get a copy with the zip unpacked, in LUMOFF_DIST
#   LUMOFF_E2E_DRIVER=NAME     another driver built on the same harness to run instead of lumoff_e2e.exe (the soak,
#                              lumoff_soak.exe, which scripts/soak.sh runs)

set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 BUILD_DIR [GTEST_FILTER]" >&2
    exit 2
fi

# One run at a time on this machine, whichever clone it comes from: injected input is timing-sensitive, and two runs
# would compete for the few cores. The lock is held by flock itself (-o), so no Wine or X process inherits it.
if [[ -z ${LUMOFF_E2E_LOCKED:-} ]]; then
    export LUMOFF_E2E_LOCKED=1
    lock=${TMPDIR:-/tmp}/lumoff-e2e-suite.lock
    if ! flock -n "$lock" true; then
        echo "[e2e] waiting for another end-to-end run on this machine to end ($lock)"
    fi
    exec flock -o "$lock" bash "${BASH_SOURCE[0]}" "$@"
fi

BUILD_DIR=$(cd "$1" && pwd)
FILTER=${2:-}
JOBS=${LUMOFF_E2E_JOBS:-2}
TEST_TIMEOUT=${LUMOFF_E2E_TIMEOUT:-120}
BUDGET=${LUMOFF_E2E_BUDGET:-1200}
TEMPLATE=${LUMOFF_E2E_TEMPLATE:-$BUILD_DIR/wine-template}
DIST=${LUMOFF_E2E_DIST:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/dist}
WORK_DIR=$BUILD_DIR/e2e-work
ARTIFACT_DIR=$BUILD_DIR/e2e-artifacts

# The template prefix's recipe, shared with the benchmark.
source "$(dirname "${BASH_SOURCE[0]}")/wine_template.sh"
SCREEN_SIZE=$WINE_TEMPLATE_SCREEN

export WINEDEBUG=-all
export WINEARCH=win64
# Deterministic, English Wine dialogs whatever the developer's locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WINEPREFIX WINESERVER WINELOADER

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
log() { echo "[e2e] $*"; }

for tool in wine wineboot wineserver Xvfb xdpyinfo timeout flock; do
    if ! command -v "$tool" >/dev/null; then
        echo "[e2e] missing tool: $tool (Debian packages: wine wine64 xvfb x11-utils coreutils util-linux)" >&2
        exit 2
    fi
done

# A Windows path for a Unix path, through Wine's Z: drive (which maps /).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

find_exe() {
    local name=$1
    if [[ -f $BUILD_DIR/$name ]]; then
        echo "$BUILD_DIR/$name"
    else
        find "$BUILD_DIR" -name "$name" -type f -not -path "$WORK_DIR/*" -not -path "$TEMPLATE/*" 2>/dev/null |
            head -n 1
    fi
}

DRIVER_NAME=${LUMOFF_E2E_DRIVER:-lumoff_e2e.exe}
DRIVER=$(find_exe "$DRIVER_NAME")
REFERENCE=$(find_exe reference.exe)
LUMOFF=$(find_exe lumoff.exe)
if [[ -z $DRIVER ]]; then
    echo "[e2e] $DRIVER_NAME not found under $BUILD_DIR" >&2
    exit 2
fi
log "driver:    $DRIVER"
log "reference: ${REFERENCE:-(none)}"
log "lumoff:    ${LUMOFF:-(none)}"

# ---- cleanup: only what this run started -----------------------------------------------------------------------------

STARTED_XVFB_PIDS=()
WORKER_PIDS=()
RUN_DIR=$WORK_DIR/run.$$                 # this run's scratch: Xvfb logs, results, the prefixes in use
ACTIVE_PREFIXES_DIR=$RUN_DIR/active

cleanup() {
    local pid prefix
    for pid in "${WORKER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    if [[ -d $ACTIVE_PREFIXES_DIR ]]; then
        for prefix in "$ACTIVE_PREFIXES_DIR"/*; do
            [[ -e $prefix ]] || continue
            prefix=$(cat "$prefix")
            WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
            rm -rf "$prefix"
        done
        rm -rf "$ACTIVE_PREFIXES_DIR"
    fi
    for pid in "${STARTED_XVFB_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$RUN_DIR"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$WORK_DIR" "$ACTIVE_PREFIXES_DIR" "$ARTIFACT_DIR"

# ---- the release -----------------------------------------------------------------------------------------------------
#
# A copy for this run, so a release built meanwhile cannot change under a test, with the zip unpacked (Wine has no
# unzip of its own).
RUN_DIST=
if compgen -G "$DIST/lumoff-*.zip" >/dev/null; then
    RUN_DIST=$RUN_DIR/dist
    mkdir -p "$RUN_DIST/unzipped"
    cp "$DIST"/lumoff-* "$RUN_DIST/"
    for zip in "$RUN_DIST"/lumoff-*.zip; do
        unzip -q "$zip" -d "$RUN_DIST/unzipped"
    done
    log "release:   $DIST"
else
    log "release:   (none in $DIST: the release tests skip; scripts/release.sh makes one)"
fi

# ---- displays --------------------------------------------------------------------------------------------------------
#
# Every parallel slot gets its own X server: two Wine desktops on one X display share one X pointer, and one test's
# cursor moves and screenshots then land in the other's (seen as misplaced clicks and foreign pixels).

display_usable() { [[ -n ${1:-} ]] && timeout 5 xdpyinfo -display "$1" >/dev/null 2>&1; }

# Starts an Xvfb on a free display number chosen by the server itself; sets XVFB_DISPLAY.
start_xvfb() {
    local number_file
    number_file=$(mktemp "$RUN_DIR/xvfb-display.XXXXXX")
    Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset 3>"$number_file" </dev/null \
        >"$RUN_DIR/xvfb.${#STARTED_XVFB_PIDS[@]}.log" 2>&1 &
    local pid=$!
    STARTED_XVFB_PIDS+=("$pid")
    local waited=0
    while [[ ! -s $number_file ]] || ! display_usable ":$(head -n 1 "$number_file")"; do
        if ! kill -0 "$pid" 2>/dev/null || ((waited >= 100)); then
            echo "[e2e] Xvfb did not start:" >&2
            cat "$RUN_DIR/xvfb.$((${#STARTED_XVFB_PIDS[@]} - 1)).log" >&2
            rm -f "$number_file"
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    XVFB_DISPLAY=":$(head -n 1 "$number_file")"
    rm -f "$number_file"
}

SLOT_DISPLAYS=()
if [[ ${LUMOFF_E2E_USE_DISPLAY:-} == 1 ]] && display_usable "${DISPLAY:-}"; then
    JOBS=1
    SLOT_DISPLAYS=("$DISPLAY")
    log "using DISPLAY=$DISPLAY, one test at a time"
else
    for ((slot = 0; slot < JOBS; slot++)); do
        start_xvfb
        SLOT_DISPLAYS+=("$XVFB_DISPLAY")
    done
    log "private Xvfb displays: ${SLOT_DISPLAYS[*]}"
fi

# ---- the template prefix ---------------------------------------------------------------------------------------------

ensure_wine_template "$TEMPLATE" "${SLOT_DISPLAYS[0]}" "$WORK_DIR/template.log" "[e2e]"

# ---- running the driver in a fresh prefix ----------------------------------------------------------------------------

# run_in_fresh_prefix DISPLAY TIMEOUT LOG ARTIFACTS -- DRIVER_ARGS...: copies the template, runs the driver in it for
# at most TIMEOUT seconds, ends that prefix's wineserver and removes the copy. Sets RUN_RC and the times COPY_SECONDS,
# RUN_SECONDS (the driver in Wine, start-up included) and TEARDOWN_SECONDS (ending the prefix's processes, removing it).
run_in_fresh_prefix() {
    local display=$1 seconds=$2 log_file=$3 artifacts=$4
    shift 5
    local prefix marker started copied finished removed
    prefix=$(mktemp -d "$WORK_DIR/prefix.XXXXXX")
    marker=$(mktemp "$ACTIVE_PREFIXES_DIR/prefix.XXXXXX")
    echo "$prefix" >"$marker"
    started=$(now)
    rmdir "$prefix"
    cp -a --reflink=auto "$TEMPLATE" "$prefix"
    copied=$(now)
    mkdir -p "$artifacts"
    set +e
    WINEPREFIX=$prefix DISPLAY=$display \
        LUMOFF_E2E_ARTIFACTS=$(windows_path "$artifacts") \
        LUMOFF_EXE=${LUMOFF:+$(windows_path "$LUMOFF")} \
        LUMOFF_REFERENCE_EXE=${REFERENCE:+$(windows_path "$REFERENCE")} \
        LUMOFF_DIST=${RUN_DIST:+$(windows_path "$RUN_DIST")} \
        timeout -k 10 "$seconds" wine "$DRIVER" "$@" </dev/null >"$log_file" 2>&1
    RUN_RC=$?
    set -e
    finished=$(now)
    # Ends every process of this prefix (and only of it); -w then waits until its wineserver is gone.
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 10 wineserver -w 2>/dev/null || true
    if [[ $RUN_RC -ne 0 && ${LUMOFF_E2E_KEEP:-} == 1 ]]; then
        echo "(prefix kept: $prefix)" >>"$log_file"
    else
        rm -rf "$prefix"
    fi
    rm -f "$marker"
    removed=$(now)
    if [[ -d $artifacts ]]; then
        rmdir "$artifacts" 2>/dev/null || true  # keep it only if the test left something
    fi
    COPY_SECONDS=$(elapsed "$started" "$copied")
    RUN_SECONDS=$(elapsed "$copied" "$finished")
    TEARDOWN_SECONDS=$(elapsed "$finished" "$removed")
}

# ---- listing the tests -----------------------------------------------------------------------------------------------

list_args=(--gtest_list_tests)
[[ -n $FILTER ]] && list_args+=("--gtest_filter=$FILTER")
run_in_fresh_prefix "${SLOT_DISPLAYS[0]}" 120 "$WORK_DIR/list.log" "$RUN_DIR/list-artifacts" -- "${list_args[@]}"
if [[ $RUN_RC -ne 0 ]]; then
    echo "[e2e] listing the tests failed (exit $RUN_RC):" >&2
    cat "$WORK_DIR/list.log" >&2
    exit 1
fi
log "listed tests in ${RUN_SECONDS} s (prefix copy ${COPY_SECONDS} s)"

TESTS=()
suite=
while IFS= read -r line; do
    line=${line%$'\r'}
    line=${line%%#*}
    line=${line%"${line##*[![:space:]]}"}
    [[ -z $line ]] && continue
    if [[ $line != " "* ]]; then
        suite=$line
    else
        name=${line#"${line%%[![:space:]]*}"}
        [[ $suite == DISABLED_* || $name == DISABLED_* ]] && continue
        TESTS+=("$suite$name")
    fi
done <"$WORK_DIR/list.log"

if [[ ${#TESTS[@]} -eq 0 ]]; then
    echo "[e2e] no tests to run" >&2
    echo "0 passed, 0 failed"
    exit 1
fi
log "${#TESTS[@]} tests, $JOBS at a time, ${TEST_TIMEOUT} s each at most"

# ---- running the tests -----------------------------------------------------------------------------------------------

RESULTS_DIR=$RUN_DIR/results
LOG_DIR=$BUILD_DIR/e2e-logs
rm -rf "$RESULTS_DIR" "$LOG_DIR"
mkdir -p "$RESULTS_DIR" "$LOG_DIR"
echo 0 >"$RESULTS_DIR/next"

# Takes the next test index, or fails when none is left or the time budget is used up.
claim_next() {
    local index
    if (($(date +%s) - RUN_STARTED_AT >= BUDGET)); then
        return 1
    fi
    exec 8>"$RESULTS_DIR/next.lock"
    flock 8
    index=$(cat "$RESULTS_DIR/next")
    echo $((index + 1)) >"$RESULTS_DIR/next"
    exec 8>&-
    ((index < ${#TESTS[@]})) || return 1
    CLAIMED=$index
}

run_test() {
    local index=$1 display=$2
    local test=${TESTS[$index]}
    local log_file=$LOG_DIR/$test.log
    local result
    run_in_fresh_prefix "$display" "$TEST_TIMEOUT" "$log_file" "$ARTIFACT_DIR/$test" -- \
        "--gtest_filter=$test" --gtest_color=no
    local test_ms
    test_ms=$(sed -n 's/.*\[ *\(OK\|FAILED\|SKIPPED\) *\] .* (\([0-9]*\) ms)\r*$/\2/p' "$log_file" | head -n 1)
    if [[ $RUN_RC -eq 124 || $RUN_RC -eq 137 ]]; then
        result=FAIL
        echo "(killed after ${TEST_TIMEOUT} s)" >>"$log_file"
    elif [[ $RUN_RC -ne 0 ]]; then
        result=FAIL
    elif grep -q '^\[  SKIPPED \] ' "$log_file"; then
        result=SKIP
    elif grep -q '^\[  PASSED  \] 1 test' "$log_file"; then
        result=PASS
    else
        result=FAIL  # exit 0 without the test having run
    fi
    # Everything but the test's own time: copying, Wine's start-up and shut-down, removing the prefix.
    local overhead
    overhead=$(awk -v c="$COPY_SECONDS" -v r="$RUN_SECONDS" -v d="$TEARDOWN_SECONDS" -v t="${test_ms:-0}" \
        'BEGIN { printf "%.1f", c + r + d - t / 1000 }')
    echo "$result $test $COPY_SECONDS $RUN_SECONDS ${test_ms:-?} $overhead $TEARDOWN_SECONDS" >"$RESULTS_DIR/$index"
    (
        flock 7
        printf '%-4s %s  (test %s ms; prefix copy %s s, wine run %s s, teardown %s s: overhead %s s)\n' \
            "$result" "$test" "${test_ms:-?}" "$COPY_SECONDS" "$RUN_SECONDS" "$TEARDOWN_SECONDS" "$overhead"
        if [[ $result == FAIL ]]; then
            echo "---- output of $test (exit $RUN_RC) ----"
            cat "$log_file"
            echo "---- end of $test ----"
        fi
    ) 7>"$RESULTS_DIR/print.lock"
}

worker() {
    local display=$1
    while claim_next; do
        run_test "$CLAIMED" "$display"
    done
}

run_started=$(now)
RUN_STARTED_AT=$(date +%s)
for ((slot = 0; slot < JOBS; slot++)); do
    worker "${SLOT_DISPLAYS[$slot]}" &
    WORKER_PIDS+=("$!")
done
for pid in "${WORKER_PIDS[@]}"; do
    wait "$pid" || true
done
WORKER_PIDS=()
run_seconds=$(elapsed "$run_started" "$(now)")

# ---- summary ---------------------------------------------------------------------------------------------------------

passed=0 failed=0 skipped=0
failed_tests=()
for ((index = 0; index < ${#TESTS[@]}; index++)); do
    result=FAIL
    if [[ -f $RESULTS_DIR/$index ]]; then
        read -r result _ <"$RESULTS_DIR/$index"
    else
        echo "FAIL ${TESTS[$index]}  (not run: the time budget of $BUDGET s was used up)"
    fi
    case $result in
        PASS) passed=$((passed + 1)) ;;
        SKIP) skipped=$((skipped + 1)) ;;
        *)
            failed=$((failed + 1))
            failed_tests+=("${TESTS[$index]}")
            ;;
    esac
done
# mean_of COLUMN: the mean of that column of the result lines.
mean_of() {
    cat "$RESULTS_DIR"/[0-9]* 2>/dev/null |
        awk -v c="$1" '{ s += $c; n++ } END { if (n) printf "%.1f", s / n; else print "?" }'
}
mean_copy=$(mean_of 3)
mean_overhead=$(mean_of 6)

ran=$(find "$RESULTS_DIR" -name '[0-9]*' | wc -l)
log "ran $ran of ${#TESTS[@]} tests in $run_seconds s;" \
    "per test: prefix copy $mean_copy s, overhead $mean_overhead s (mean)"
log "logs: $LOG_DIR; artifacts: $ARTIFACT_DIR"
for test in "${failed_tests[@]}"; do
    log "FAILED: $test"
done
if ((skipped > 0)); then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
((failed == 0))
