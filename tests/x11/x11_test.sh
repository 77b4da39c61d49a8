#!/bin/sh
# zorv as XScreenSaver runs it, under Xvfb: its images pixel for pixel against
# zorv-render's (with MIT-SHM and without, after an exposure, after a resize),
# SIGTERM, the one-line refusals, a display that goes away, and the install layout.
# Usage: x11_test.sh ZORV ZORV_RENDER TEST_WINDOW BUILD_DIR
zorv=$1 render=$2 window=$3 build=$4
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed: skipped"; exit 77; }
work=$(mktemp -d)
pids=""
trap 'kill $pids 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits up to 30 s for the shell test $2 to hold; $1 names the check.
wait_for() {
    n=0
    until eval "$2"; do
        n=$((n + 1)); [ $n -gt 150 ] && { fail "$1"; return 1; }; sleep 0.2
    done
}
start_display() {  # Xvfb with the extra arguments; exports DISPLAY
    Xvfb -displayfd 5 -screen 0 320x240x24 -nolisten tcp "$@" 5>"$work/d" >/dev/null 2>&1 & xvfb=$!; pids="$pids $!"
    wait_for "Xvfb" '[ -s "$work/d" ]' || exit 1
    DISPLAY=":$(cat "$work/d")"; export DISPLAY; rm "$work/d"
}
new_window() {  # W H: sets win and winpid
    "$window" "$1" "$2" >"$work/w" & winpid=$!; pids="$pids $winpid"
    wait_for "a test window" '[ -s "$work/w" ]' || exit 1
    win=$(cat "$work/w"); rm "$work/w"
}
shows() {  # whether window $win shows one of the files $1*.rgb
    import -window "$win" -depth 8 rgb:"$work/got" 2>/dev/null || return 1
    for file in "$1"*.rgb; do cmp -s "$work/got" "$file" && return 0; done
    return 1
}
rendered() {  # name, size, images, settings: zorv-render's presented images of seed 7 as raw RGB
    "$render" --seed 7 --size "$2" --images "$3" --settings "$work/$4.ini" --out "$work/$1" >/dev/null || fail "zorv-render"
    for bmp in "$work/$1"/*.bmp; do convert "$bmp" -depth 8 rgb:"${bmp%.bmp}.rgb"; done
}

# The settings file under $XDG_CONFIG_HOME (random settings on), the spread and the toggle given on the command line.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/zorv"
printf '[ZorvSaver]\r\nIters=20\r\nSpread=40\r\nRandomSettings=1\r\n' >"$XDG_CONFIG_HOME/zorv/zorvsave.ini"
printf '[ZorvSaver]\r\nIters=20\r\nSpread=0\r\n' >"$work/same.ini"
printf '[ZorvSaver]\r\nIters=20\r\nSpread=0\r\nRandomSettings=1\r\n' >"$work/random.ini"
rendered first 96x64 1 same
rendered resized 120x80 12 random

for shm in without with; do
    if [ $shm = with ]; then start_display; else start_display -extension MIT-SHM; fi
    new_window 96 64
    # A slow tick keeps the first image up while it is read.
    "$zorv" -window-id "$win" -seed 7 -spread 0 -no-random -delay 2000000 & pid=$!; pids="$pids $pid"
    wait_for "the first image, $shm MIT-SHM" 'shows "$work/first/"'
    # (One segment of its own, for its owner alone: the mode's last digits 600.)
    [ $shm = without ] || [ "$(awk -v p="$pid" '$5 == p && $3 ~ /600$/' /proc/sysvipc/shm | wc -l)" = 1 ] || fail "no MIT-SHM"
    "$window" 30 20 10 20 >/dev/null & cover=$!  # a window over a part of it, gone again
    sleep 0.3
    kill "$cover"; wait "$cover" 2>/dev/null
    wait_for "the part exposed again, $shm MIT-SHM" 'shows "$work/first/"'
    kill "$pid"; wait "$pid"
done

# After a resize the window keeps its last image in the old corner until the
# first one at the new size, which must be zorv-render's: a new image, not the
# one under way. SIGTERM then ends the run promptly.
new_window 60 40
"$zorv" -window-id "$win" -seed 7 -spread 0 -random 2>"$work/err" & pid=$!; pids="$pids $pid"
sleep 1
xdotool windowsize --sync "$win" 120 80
n=0
until shows "$work/resized/zorv-"; do
    lower=$(convert -size 120x80 -depth 8 rgb:"$work/got" -crop 120x40+0+40 -format %k info:)
    [ "$lower" = 1 ] || { fail "after the resize, an image that is not zorv-render's"; break; }
    n=$((n + 1)); [ $n -gt 150 ] && { fail "no image at the new size"; break; }
    sleep 0.2
done
# The image before the resize gave back its shared segment (absent /proc, nothing to count).
[ "$(awk -v p="$pid" '$5 == p' /proc/sysvipc/shm 2>/dev/null | wc -l)" -le 1 ] || fail "a shared segment kept after the resize"
kill -TERM "$pid"
n=0
while kill -0 "$pid" 2>/dev/null && [ $n -lt 10 ]; do sleep 0.1; n=$((n + 1)); done
kill -0 "$pid" 2>/dev/null && fail "still running 1 s after SIGTERM"
wait "$pid"; rc=$?
[ $rc -eq 0 ] && [ ! -s "$work/err" ] || fail "SIGTERM: status $rc, stderr: $(head -c 600 "$work/err")"

# By hand (-window), a window of its own: it asks the window manager for the
# close request only, and that request ends the run with 0.
timeout 20 "$zorv" -window -seed 7 2>"$work/err" & pid=$!; pids="$pids $pid"
wait_for "a window of its own" 'own=$(xdotool search --onlyvisible --name "^Zorv\$" 2>/dev/null | head -n 1); [ -n "$own" ]'
[ "$(xprop -id "$own" WM_PROTOCOLS)" = "WM_PROTOCOLS(ATOM): protocols  WM_DELETE_WINDOW" ] ||
    fail "-window: its protocols are $(xprop -id "$own" WM_PROTOCOLS)"
xwininfo -id "$own" | grep -q 'Border width: 0$' || fail "-window: a border around its picture"
"$window" "$own"
wait "$pid"; rc=$?
[ $rc -eq 0 ] && [ ! -s "$work/err" ] || fail "-window closed: status $rc, stderr: $(head -c 600 "$work/err")"

refused() {  # how the line starts, then the command
    what=$1; shift
    "$@" >/dev/null 2>"$work/err"; rc=$?
    [ $rc -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q -- "^zorv: $what" "$work/err" ||
        fail "$what: status $rc, stderr: $(cat "$work/err")"
}
refused "-spread:" "$zorv" -spread 51
"$zorv" -help >"$work/out" && grep -q -- -window-id "$work/out" || fail "-help: not the usage with status 0"
kill "$winpid"; wait "$winpid" 2>/dev/null; sleep 0.2  # the window goes; its id stays bad
refused "no window" timeout 20 "$zorv" -window-id "$win"
refused "cannot open display" env -u DISPLAY "$zorv"
# A display that goes away ends the run with 1 and one line on stderr.
timeout 20 "$zorv" -window >"$work/out" 2>"$work/err" & pid=$!
sleep 1; kill "$xvfb"; wait "$pid"; rc=$?
[ $rc -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && [ ! -s "$work/out" ] || fail "the display gone: status $rc, stderr: $(cat "$work/err")"

cmake --install "$build" --prefix "$work/usr" >/dev/null &&
    [ -x "$work/usr/libexec/xscreensaver/zorv" ] && [ -s "$work/usr/share/xscreensaver/config/zorv.xml" ] ||
    fail "cmake --install: zorv and zorv.xml not where XScreenSaver looks"
[ $failures -eq 0 ] && echo "x11: all checks passed"
exit $failures
