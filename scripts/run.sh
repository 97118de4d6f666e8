#!/bin/sh
# Starts the editor; without a display it runs under a virtual X server.
set -e
exe="$1"
shift
if [ -z "$XDG_RUNTIME_DIR" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
if [ -n "$DISPLAY" ] || [ -n "$WAYLAND_DISPLAY" ] || [ -n "$QT_QPA_PLATFORM" ]; then
    exec "$exe" "$@"
fi
echo "No display found: starting Marovin under Xvfb (virtual X server)."
exec xvfb-run -a -s "-screen 0 1600x900x24" "$exe" "$@"
