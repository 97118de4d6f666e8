#!/bin/sh
# Installs the Debian packages Marovin needs to build, test and run.
# Idempotent: packages already present are not fetched again.
set -e

PACKAGES="
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
libfreexl-dev
fonts-wqy-microhei
xvfb
xauth
clang
libclang-rt-14-dev
desktop-file-utils
shared-mime-info
dpkg-dev
file
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
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
