#!/usr/bin/env bash
# Builds the tests and fuzz targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/, runs the tests there and fuzzes the state restore and the MIDI receive path side by side; then
# builds the tests under ThreadSanitizer into build-tsan/ and runs those that cross threads. Any report fails the
# run. Extra arguments go to ctest. VU418D_FUZZ_SECONDS sets how long each fuzzer runs (default 180: shorter runs
# missed inputs that longer ones found). Compiler warnings in the project's own code fail the build unless
# VU418D_WARNINGS_AS_ERRORS=OFF.
set -euo pipefail

cd "$(dirname "$0")/.."

scripts/install-deps.sh

export CCACHE_SLOPPINESS=time_macros
# Cache entries that do not depend on where the repository is, so a fresh clone reuses them.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

warnings_as_errors="-DVU418D_WARNINGS_AS_ERRORS=${VU418D_WARNINGS_AS_ERRORS:-ON}"

# Configures a clang build with the given sanitizers; -O1 with line tables keeps the instrumented build
# affordable and its reports readable.
configure() {
    if [ ! -f "$1/build.ninja" ]; then
        CC=clang CXX=clang++ cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
            -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
            -DVU418D_SANITIZERS="$2" "$warnings_as_errors" >/dev/null
    else
        cmake -B "$1" "$warnings_as_errors" >/dev/null
    fi
}

build=build-asan
configure "$build" address,undefined

cmake --build "$build" --target vu418d_tests vu418d_fuzz_state vu418d_fuzz_seeds vu418d_fuzz_midi_receive

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# The host and Standalone tests load the plug-in formats, which this build leaves out.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -LE 'host|standalone' "$@"

seconds="${VU418D_FUZZ_SECONDS:-180}"

# Fuzzes one target for the given time on a copy of its seeds (the fuzzer adds what it finds to its corpus).
# An input that takes seconds counts as a hang; an allocation beyond libFuzzer's memory limit fails as well.
fuzz() {
    local name="$1" seeds="$2"
    shift 2
    local run="$build/fuzz-run/$name"
    rm -rf "$run"
    mkdir -p "$run/corpus" "$run/artifacts"
    cp "$seeds"/* "$run/corpus/"

    if [ "$name" = state ]; then
        "$build/fuzz/vu418d_fuzz_seeds" "$run/corpus"
    fi

    if ! "$build/fuzz/vu418d_fuzz_$name" -max_total_time="$seconds" -timeout=5 -artifact_prefix="$run/artifacts/" \
        -print_final_stats=1 "$@" "$run/corpus" 2>"$run/fuzz.log"; then
        tail -n 60 "$run/fuzz.log"
        echo "The $name fuzzer failed; the input is in $run/artifacts/ (reproduce: $build/fuzz/vu418d_fuzz_$name FILE)"
        exit 1
    fi

    local runs rate
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/fuzz.log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$run/fuzz.log")
    echo "The $name fuzzer: $runs inputs in ${seconds} s ($rate per second), no failure"
}

fuzz state fuzz/corpus -dict=fuzz/state.dict &
state=$!
fuzz midi_receive fuzz/corpus-midi &
midi=$!
failed=0
wait "$state" || failed=1
wait "$midi" || failed=1
[ "$failed" -eq 0 ]

# The tests whose work crosses threads: host writes, hand-overs, state from other threads, the MIDI services,
# devices and manager.
configure build-tsan thread
cmake --build build-tsan --target vu418d_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ctest --test-dir build-tsan --output-on-failure -j "$(nproc)" \
    -R 'Midi|SysEx|ThreadBarier|CvDawParameter|CvSettingsFile|PluginState|HostThreads|StereoParameterLinker'
