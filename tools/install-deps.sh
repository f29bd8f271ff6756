#!/bin/sh
# Installs the Debian packages the build, the tests, the benchmarks and the demo need.
# Idempotent: packages already present are left as they are.
set -eu

PACKAGES="
build-essential cmake pkg-config ninja-build
libcurl4-openssl-dev curl
libjsoncpp-dev
libtinyxml-dev
libminizip-dev zlib1g-dev
libinih-dev
libssl-dev
libcpp-httplib-dev
libgtest-dev libgmock-dev libbenchmark-dev
libpixman-1-dev libcairo2-dev
libfreetype-dev libfontconfig-dev fonts-wqy-microhei fonts-dejavu-core
libpng-dev libgif-dev libjpeg-dev
duktape-dev
libx11-dev libxext-dev libxtst-dev libxrender-dev libxfixes-dev
xvfb x11-utils xdotool
hyperfine time
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -q --no-install-recommends $missing
fi
