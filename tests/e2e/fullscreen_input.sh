#!/bin/sh
# Input that ends a full-screen run, and input that does not. $1 names the case:
# button, move (2 and 4 pixels do nothing, 5 from the same spot end it). A key
# ending it is checked by the other full-screen tests.
E2E_NAME="fullscreen_input_$1"
. "$(dirname "$0")/lib.sh"
e2e_setup

pointer_to 100 100
start_saver /s
wait_saver_window
sleep 1
still_running "$saver_pid" || fail "the saver ended by itself"

case "$1" in
    button)
        xdotool click 1
        ;;
    move)
        xdotool mousemove 102 100
        sleep 1.5
        still_running "$saver_pid" || fail "a 2-pixel move ended the saver"
        xdotool mousemove 102 102
        sleep 1.5
        still_running "$saver_pid" || fail "a (2, 2) move ended the saver"
        xdotool mousemove 104 100
        sleep 1.5
        still_running "$saver_pid" || fail "a (4, 0) move ended the saver"
        xdotool mousemove 105 100
        ;;
    *)
        echo "unknown case $1" >&2
        exit 2
        ;;
esac
wait_exit "$saver_pid" 10
[ "$rc" = 0 ] || fail "$1 should end the saver with 0, got $rc"
e2e_finish
