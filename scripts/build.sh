#!/usr/bin/env bash
# Configures and builds everything (the three plug-in formats, tests and benchmarks) into build/.
set -euo pipefail

cd "$(dirname "$0")/.."

export CCACHE_SLOPPINESS=time_macros

if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi

cmake --build build
