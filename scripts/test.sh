#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest, then again under the sanitizers with a
# short fuzzing run (VU418D_SKIP_SANITIZERS=1 leaves that part out). Compiler warnings in the project's own code
# fail the build (VU418D_WARNINGS_AS_ERRORS=OFF makes them warnings again).
set -euo pipefail

cd "$(dirname "$0")/.."

export VU418D_WARNINGS_AS_ERRORS="${VU418D_WARNINGS_AS_ERRORS:-ON}"

scripts/install-deps.sh
scripts/build.sh

ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"

if [ "${VU418D_SKIP_SANITIZERS:-0}" != 1 ]; then
    scripts/test-sanitizers.sh "$@"
fi
