#!/bin/sh
# Soak run (not part of the test run): the real full-screen saver window under
# Wine on a 640x480 virtual screen for MINUTES (default 30), its own timer
# drawing, with GDI and USER object counts and private bytes printed each minute.
# They must stay flat. Usage: scripts/soak.sh [MINUTES]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$("$root/scripts/host-arch.sh")  # win64 where no 32-bit program runs
minutes=${1:-30}
"$root/scripts/build.sh" "$arch" >/dev/null
build=$root/build/$arch
export WINEPREFIX_ZORV="$build/soak-wineprefix" ZORV_XVFB_SCREEN=640x480x24
exec sh "$root/scripts/with-xvfb.sh" "$build/wine-run.sh" \
    "$build/bin/zorv_saver_bench.exe" soak "$minutes"
