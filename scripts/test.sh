#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest, then again under the sanitizers with a
# short fuzzing run (VU418D_SKIP_SANITIZERS=1 leaves that part out).
set -euo pipefail

cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"

if [ "${VU418D_SKIP_SANITIZERS:-0}" != 1 ]; then
    scripts/test-sanitizers.sh "$@"
fi
