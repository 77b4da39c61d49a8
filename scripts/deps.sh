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
# Wine's 32-bit loader where the machine runs 32-bit programs; elsewhere the
# 64-bit one, for the 64-bit test build. Debian's wine command prefers the
# 32-bit loader whenever it is installed, so there it must go.
arch=$("$(dirname "$0")/host-arch.sh")
unwanted=""
if [ "$arch" = win32 ]; then
    want wine32:i386
else
    for pkg in wine64 g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev; do want "$pkg"; done
    dpkg -s wine32:i386 >/dev/null 2>&1 && unwanted=wine32:i386
fi
[ -z "$need$unwanted" ] && exit 0

[ -n "$need" ] && echo "Installing:$need"
[ -n "$unwanted" ] && echo "Removing $unwanted: this machine cannot run it"
if [ "$(id -u)" != 0 ]; then
    echo "deps.sh: run as root to install the missing packages" >&2
    exit 1
fi
case "$need" in
    *wine32:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
esac
export DEBIAN_FRONTEND=noninteractive
if [ -n "$need" ]; then
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq $need >/dev/null
fi
# After the install too: wine64 recommends the 32-bit loader.
if [ "$arch" = win64 ] && dpkg -s wine32:i386 >/dev/null 2>&1; then
    apt-get remove -y -qq wine32:i386 >/dev/null
fi
