#!/bin/sh
# Every test of the project: installs what is missing, builds the trees, runs
# the native tests (ASan+UBSan, fuzz targets over their corpora) and the Windows
# tests under Wine with a prefix inside the build tree. Where the machine runs
# 64-bit programs only, the Windows tests run a 64-bit build under 64-bit Wine,
# and of the shipped 32-bit zorv.scr only what needs no Wine is checked.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
arch=$("$root/scripts/host-arch.sh")
"$root/scripts/build.sh" native
if [ "$arch" = win32 ]; then
    "$root/scripts/build.sh" win32
else
    echo "This machine runs no 32-bit programs: the Windows tests run the 64-bit build."
    "$root/scripts/build.sh" win32 "$root/build/win32" zorv_scr
    "$root/scripts/build.sh" win64
fi

status=0
(cd "$root/build/native" && ctest --output-on-failure -j 2) || status=1
if [ "$arch" = win32 ]; then
    (cd "$root/build/win32" && ctest --output-on-failure) || status=1
else
    (cd "$root/build/win32" && ctest --output-on-failure -R '^scr_imports$') || status=1
    (cd "$root/build/win64" && ctest --output-on-failure) || status=1
fi
# Wine's background server inherits descriptors; end it so nothing waits on it.
WINEPREFIX="$root/build/$arch/wineprefix" wineserver -k 2>/dev/null || true
exit $status
