#!/bin/sh
# Installs what building and testing Zorv needs on a Debian machine, only when
# something is missing. Needs root (apt-get).
set -e
need=""
want() { dpkg -s "$1" >/dev/null 2>&1 || need="$need $1"; }
for pkg in cmake make g++ clang libclang-rt-14-dev googletest \
           g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev wine xvfb xserver-xephyr xauth xdotool imagemagick x11-apps x11-utils nsis \
           libx11-dev libxext-dev; do
    want "$pkg"
done
want wine32:i386
[ -z "$need" ] && exit 0

echo "Installing:$need"
if [ "$(id -u)" != 0 ]; then
    echo "deps.sh: run as root to install the missing packages" >&2
    exit 1
fi
case "$need" in
    *wine32:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
esac
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq $need >/dev/null
