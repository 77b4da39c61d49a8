#!/bin/sh
# Runs a Windows program under Wine with the build tree's own prefix, never the
# user's. Used by ctest (as the cross-compiling emulator) and by the scripts.
here=$(cd "$(dirname "$0")/.." && pwd)
: "${ZORV_WINE_BUILD:=$here/build/win32}"
export WINEPREFIX="${WINEPREFIX_ZORV:-$ZORV_WINE_BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH="${ZORV_WINEARCH:-win32}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
fi
exec wine "$@"
