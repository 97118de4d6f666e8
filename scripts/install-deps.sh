#!/bin/sh
# Installs the Debian packages Marovin needs to build, test and run.
# Idempotent: packages already present are not fetched again.
#   --build-only  only what building, installing and packaging need
#   --check       install nothing: name what is missing and fail
set -e

# Building, `make install` and `make package` (dpkg-dev and file find the
# package's library dependencies; gzip compresses the manual pages).
BUILD_PACKAGES="
build-essential
cmake
pkg-config
qtbase5-dev
qttools5-dev
qttools5-dev-tools
libqt5svg5-dev
qttranslations5-l10n
libqscintilla2-qt5-dev
libxlsxwriter-dev
libminizip-dev
dpkg-dev
file
gzip
"

# Running the editor and the tests, fuzzing, and the validators the
# install test calls.
TEST_PACKAGES="
fonts-wqy-microhei
xvfb
xauth
clang
libclang-rt-14-dev
desktop-file-utils
shared-mime-info
appstream
man-db
"

check=
packages="$BUILD_PACKAGES $TEST_PACKAGES"
for arg in "$@"; do
    case "$arg" in
    --check) check=1 ;;
    --build-only) packages=$BUILD_PACKAGES ;;
    *)
        echo "install-deps.sh: unknown option $arg" >&2
        exit 2
        ;;
    esac
done

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ -n "$check" ]; then
    echo "Missing Debian packages:$missing" >&2
    echo "Install them with: sudo apt-get install$missing" >&2
    echo "or let make do it: add DEPS=1 (for example make install DEPS=1)." >&2
    exit 1
fi

if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
