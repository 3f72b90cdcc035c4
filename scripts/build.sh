#!/usr/bin/env bash
# Configures and builds everything (the three plug-in formats, tests and benchmarks) into build/.
set -euo pipefail

cd "$(dirname "$0")/.."

export CCACHE_SLOPPINESS=time_macros

# Compiler warnings are errors only when VU418D_WARNINGS_AS_ERRORS says so (the test scripts do); otherwise the
# build folder keeps its setting, which starts off.
options=()
if [ -n "${VU418D_WARNINGS_AS_ERRORS:-}" ]; then
    options+=(-DVU418D_WARNINGS_AS_ERRORS="$VU418D_WARNINGS_AS_ERRORS")
fi

if [ ! -f build/build.ninja ] || [ ${#options[@]} -ne 0 ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${options[@]}" >/dev/null
fi

cmake --build build
