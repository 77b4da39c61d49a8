#!/bin/sh
# Remakes two pictures of the README under Wine: docs/settings-dialog.png, the
# settings dialog with its defaults, and docs/two-monitors.png, the full-screen
# saver on two monitors, 800x600 and 640x480 side by side (Xephyr with
# Xinerama on a virtual display), taken once both show a fractal. Needs
# scripts/build.sh win32, Xvfb, Xephyr and ImageMagick. Usage:
# scripts/readme-pictures.sh [DIR] (default: docs/)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$("$root/scripts/host-arch.sh")  # win64 where no 32-bit program runs
scr="$root/build/$arch/bin/zorv.scr"
out=${1:-$root/docs}
[ -f "$scr" ] || { echo "readme-pictures.sh: build the saver first (scripts/build.sh $arch)" >&2; exit 1; }
# A prefix of its own: the settings of the other runs stay out of the picture.
export WINEPREFIX="$root/build/$arch/shot-wineprefix" WINEDEBUG=-all WINEARCH=$arch WINEDLLOVERRIDES="mscoree,mshtml="
tmp=$(mktemp -d)
pids=""
trap 'kill $pids 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
Xvfb -displayfd 5 -screen 0 1440x600x24 -nolisten tcp -noreset 5>"$tmp/xvfb" >/dev/null 2>&1 &
pids=$!
while [ ! -s "$tmp/xvfb" ]; do sleep 0.1; done
DISPLAY=":$(head -n 1 "$tmp/xvfb")" Xephyr -displayfd 6 +xinerama -extension RANDR -screen 800x600 -screen 640x480 \
    -nolisten tcp -noreset 6>"$tmp/xephyr" >/dev/null 2>&1 &
pids="$! $pids"
while [ ! -s "$tmp/xephyr" ]; do sleep 0.1; done
export DISPLAY=":$(head -n 1 "$tmp/xephyr")"
[ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1 </dev/null; wineserver -w; }
mkdir -p "$out"
rm -f "$WINEPREFIX/drive_c/windows/zorvsave.ini"
wine "$scr" /c </dev/null >/dev/null 2>&1 &
dialog=$(timeout 40 xdotool search --sync --onlyvisible --name '^ZorvSaver$' | head -n 1)
sleep 1  # its controls drawn
import -window "$dialog" -strip "$out/settings-dialog.png"
xdotool key --window "$dialog" Escape 2>/dev/null
wait $! || true
echo "$out/settings-dialog.png: $(wc -c <"$out/settings-dialog.png") bytes"
wine "$scr" /s </dev/null >/dev/null 2>&1 &
pids="$! $pids"
for i in $(seq 120); do
    sleep 0.5
    import -window root "$tmp/shot.png" 2>/dev/null || continue
    [ "$(convert "$tmp/shot.png" -crop 800x600+0+0 +repage -format %k info:)" -ge 16 ] &&
        [ "$(convert "$tmp/shot.png" -crop 640x480+800+0 +repage -format %k info:)" -ge 16 ] && break
done
# Below the second monitor the root window is no monitor's: black, as on a desk.
convert "$tmp/shot.png" -fill black -draw "rectangle 800,480 1439,599" -dither None -colors 256 -strip PNG8:"$out/two-monitors.png"
echo "$out/two-monitors.png: $(wc -c <"$out/two-monitors.png") bytes"
