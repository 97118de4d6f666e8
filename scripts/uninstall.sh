#!/bin/sh
# Removes what scripts/install.sh put into PREFIX, as its record lists:
# the files, then the folders it created, where they are empty now.
# Nothing outside PREFIX is touched, whatever the record says.
#   sh scripts/uninstall.sh BUILD_DIR PREFIX
set -e
build=$(realpath -m "$1")
prefix=$(realpath -m "$2")
record="$build/installed$prefix/manifest.txt"

if [ ! -f "$record" ]; then
    echo "Nothing recorded as installed into $prefix from $build." >&2
    echo "(An install made by apt-get is removed with: apt-get remove marovin.)" >&2
    exit 1
fi

inside() {
    case "$1" in
    "$prefix"/*) return 0 ;;
    *)
        echo "Skipped, outside $prefix: $1" >&2
        return 1
        ;;
    esac
}

grep '^f ' "$record" | cut -c3- | while IFS= read -r path; do
    if inside "$path" && { [ -f "$path" ] || [ -L "$path" ]; }; then
        rm -f -- "$path"
        echo "Removed $path"
    fi
done
# Deepest first, so that a folder is empty once its sub-folders are gone.
grep '^d ' "$record" | cut -c3- | sort -r | while IFS= read -r dir; do
    if [ "$dir" = "$prefix" ] || inside "$dir"; then
        [ -d "$dir" ] && rmdir -- "$dir" 2>/dev/null || true
    fi
done
rm -f -- "$record"
# The record's own folders, as far as they are empty.
(cd "$build" && rmdir -p "installed$prefix" 2>/dev/null) || true
