#!/bin/sh
# Installs the Debian packages the build and the tests need, only those missing.
# With the argument "fuzz", also clang and its libFuzzer for `make fuzz`.
set -e
PACKAGES="cmake make g++ lld pkg-config libsdl1.2-compat-dev libsdl1.2-compat-shim libsdl-mixer1.2-dev libpng-dev libgtest-dev libbenchmark-dev libmp3lame-dev libmad0-dev python3 desktop-file-utils appstream"
[ "$1" = fuzz ] && PACKAGES="$PACKAGES clang libclang-rt-14-dev"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
