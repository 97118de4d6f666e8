#!/bin/sh
# Installs a build into PREFIX with stripped executables and records what
# it put there, so that scripts/uninstall.sh removes exactly that: every
# file, and every folder that did not exist before. The record is our own;
# cmake's install_manifest.txt is rewritten by every install, the Debian
# package's staging one included, and then names the package's /usr files.
#   sh scripts/install.sh BUILD_DIR PREFIX
set -e
build=$(realpath -e "$1")
prefix=$(realpath -m "$2")
cmake=${CMAKE:-cmake}
record="$build/installed$prefix/manifest.txt"

# A trial run into a staging folder says which files and folders the
# install makes, before the real one makes them.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" "$cmake" --install "$build" --prefix "$prefix" --strip >/dev/null

new="$stage.record"
trap 'rm -rf "$stage" "$new"' EXIT
(
    cd "$stage"
    find . -mindepth 1 -type d | cut -c2- | while IFS= read -r dir; do
        case "$dir" in
        "$prefix" | "$prefix"/*) [ -e "$dir" ] || printf 'd %s\n' "$dir" ;;
        esac
    done
    find . \( -type f -o -type l \) | cut -c2- | sed 's/^/f /'
) >"$new"

"$cmake" --install "$build" --prefix "$prefix" --strip

mkdir -p "$(dirname "$record")"
# Installing again keeps what the earlier install created.
if [ -f "$record" ]; then
    cat "$record" >>"$new"
fi
sort -u "$new" >"$record"
echo "Installed into $prefix; make uninstall PREFIX=\"$prefix\" removes it again."
