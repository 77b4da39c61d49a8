#!/bin/sh
# Full-screen run: black at first, then a fractal within the ticks an image
# takes (320 / 26 -> 13 ticks of 200 ms) plus a margin; a key ends it with 0.
. "$(dirname "$0")/lib.sh"
e2e_setup

pointer_to 100 100
start_saver /s
wait_saver_window
shot "$work/first.png"
is_black "$work/first.png" || fail "the screen is not black at the start (colours $(colors_of "$work/first.png"))"

# Every image may be abandoned or uniform; several images' time is the margin.
if drawn=$(wait_for_fractal 30); then
    note "fractal on screen: $drawn ($(colors_of "$drawn") colours)"
else
    fail "no fractal within 30 s"
fi

xdotool key x
wait_exit "$saver_pid" 10
[ "$rc" = 0 ] || fail "a key should end the saver with 0, got $rc"
e2e_finish
