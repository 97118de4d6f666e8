#!/bin/sh
# Runs every test headless, once a second build has shown that with
# nothing changed nothing is built again: a step that runs every time
# would cost every later build of every developer minutes.
set -e
build="$1"
if ! again=$(cmake --build "$build" -j 2 2>&1); then
    printf '%s\n' "$again" >&2
    exit 1
fi
# Compiling, linking and generating (the translations' resource, the
# files of moc) are each named by a step line of their own.
steps=$(printf '%s\n' "$again" \
    | grep -E '\] (Building|Linking|Generating)|AutoMoc|AutoRcc|Running (automoc|rcc)|qrc_' || true)
if [ -n "$steps" ]; then
    echo "test.sh: building again with nothing changed still did work:" >&2
    printf '%s\n' "$steps" >&2
    exit 1
fi
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
exec ctest --test-dir "$build" --output-on-failure -j 2
