#!/bin/sh
# Times the full-screen saver under Wine from its start to the first fractal on
# the screen, with the default settings and no saved picture, on virtual
# displays of each size given (default 1920x1080 and 3840x2160): once the black
# saver window is up, screenshots follow each other, and the first with a pixel
# that is not black ends the clock (a finished image is shown whole at once).
# Needs scripts/build.sh win32 (win64 where no 32-bit program runs). Usage: scripts/first-picture.sh [SCR [WxH ...]]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$("$root/scripts/host-arch.sh")  # win64 where no 32-bit program runs
scr=${1:-$root/build/$arch/bin/zorv.scr}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] || set -- 1920x1080 3840x2160
[ -f "$scr" ] || { echo "first-picture.sh: no $scr (scripts/build.sh $arch)" >&2; exit 1; }
export WINEPREFIX="$root/build/$arch/time-wineprefix" WINEDEBUG=-all WINEARCH=$arch WINEDLLOVERRIDES="mscoree,mshtml="
tmp=$(mktemp -d)
pids=""
trap 'kill $pids 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
for size in "$@"; do
    rm -f "$tmp/display"
    Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp -noreset 5>"$tmp/display" >/dev/null 2>&1 &
    pids=$!
    while [ ! -s "$tmp/display" ]; do sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$tmp/display")"
    [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1 </dev/null; wineserver -w; }
    rm -f "$WINEPREFIX/drive_c/windows/zorvsave.ini" "$WINEPREFIX/drive_c/windows/ZORV.BMP"
    start=$(date +%s.%N)
    wine "$scr" /s </dev/null >/dev/null 2>&1 &
    pids="$! $pids"
    seconds=none window=""
    while [ "$(echo "$(date +%s.%N) - $start < 120" | bc)" = 1 ]; do
        [ -n "$window" ] || window=$(xdotool search --name '^Screen Saver$' 2>/dev/null | head -n 1)
        if [ -n "$window" ] && [ "$(import -window root -format '%[max]' info: 2>/dev/null)" != 0 ]; then
            seconds=$(echo "$(date +%s.%N) - $start" | bc)
            break
        fi
        sleep 0.05
    done
    printf '%s: first fractal after %s s\n' "$size" "$seconds"
    kill $pids 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    sleep 1
done
