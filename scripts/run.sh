#!/bin/sh
# Builds zorv.scr and runs it full-screen (/s) under Wine: on your X display when
# there is one, otherwise on a virtual Xvfb display, saving a screenshot every
# few seconds into screenshots/. Usage: scripts/run.sh [SECONDS]  (default: until
# the saver ends, or Ctrl-C on a virtual display).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-0}
"$root/scripts/deps.sh"
# The 64-bit build where this machine runs no 32-bit programs.
arch=$("$root/scripts/host-arch.sh")
"$root/scripts/build.sh" "$arch" >/dev/null

export WINEPREFIX="$root/build/$arch/run-wineprefix"
export WINEDEBUG=-all WINEARCH=$arch WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix (once, about 15 s)..."
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
fi
scr="$root/build/$arch/bin/zorv.scr"

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "Zorv runs full-screen on $DISPLAY: press a key, click or move the mouse to end it."
    status=0
    wine "$scr" /s </dev/null || status=$?
    wineserver -k 2>/dev/null || true
    exit $status
fi

shots="$root/screenshots"
mkdir -p "$shots"
work=$(mktemp -d)
Xvfb -displayfd 5 -screen 0 800x600x24 -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
saver=""
finish() {
    [ -n "$saver" ] && kill "$saver" 2>/dev/null
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
trap 'exit 0' INT TERM
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

wine "$scr" /s </dev/null >/dev/null 2>&1 &
saver=$!
echo "No X display: Zorv runs on a virtual 800x600 display ($DISPLAY)."
echo "A screenshot every 5 seconds goes to $shots/ (Ctrl-C ends the run)."
start=$(date +%s)
n=0
while kill -0 "$saver" 2>/dev/null; do
    sleep 5
    n=$((n + 1))
    file=$(printf '%s/zorv-%04d.png' "$shots" "$n")
    import -window root "$file" 2>/dev/null && echo "saved $file"
    if [ "$seconds" -gt 0 ] && [ $(($(date +%s) - start)) -ge "$seconds" ]; then
        break
    fi
done
