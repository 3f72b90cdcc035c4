#!/usr/bin/env bash
# Starts the Standalone application on a virtual display and waits for its window to appear.
set -euo pipefail

app="$1"
export HOME="$(mktemp -d)"
trap 'rm -rf "$HOME"' EXIT

xvfb-run -a bash -c '
    "$0" & pid=$!
    for _ in $(seq 100); do
        if xwininfo -root -tree | grep -q "\"Vu418d ZUZO\""; then
            kill "$pid"
            exit 0
        fi
        kill -0 "$pid" 2>/dev/null || { echo "the application exited"; exit 1; }
        sleep 0.1
    done
    kill "$pid"
    echo "no window appeared"
    exit 1
' "$app"
