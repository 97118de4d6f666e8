#!/bin/sh
# Runs every test headless.
set -e
build="$1"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
exec ctest --test-dir "$build" --output-on-failure -j 2
