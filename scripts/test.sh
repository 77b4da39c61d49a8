#!/bin/sh
# Every test of the project: installs what is missing, builds both trees, runs
# the native tests (ASan+UBSan, fuzz targets over their corpora) and the Windows
# tests under Wine with a prefix inside the build tree.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" native
"$root/scripts/build.sh" win32

status=0
(cd "$root/build/native" && ctest --output-on-failure -j 2) || status=1
(cd "$root/build/win32" && ctest --output-on-failure) || status=1
# Wine's background server inherits descriptors; end it so nothing waits on it.
WINEPREFIX="$root/build/win32/wineprefix" wineserver -k 2>/dev/null || true
exit $status
