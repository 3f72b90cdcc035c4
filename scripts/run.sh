#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Standalone application.
set -euo pipefail

cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

app="build/plugin/Vu418dZuzo_artefacts/Release/Standalone/Vu418d ZUZO"

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$app" "$@"
fi

exec "$app" "$@"
