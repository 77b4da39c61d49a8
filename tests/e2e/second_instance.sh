#!/bin/sh
# A second /s while one runs exits 0 at once and the first keeps running.
. "$(dirname "$0")/lib.sh"
e2e_setup

pointer_to 100 100
start_saver /s
first=$saver_pid
wait_saver_window
sleep 1

start_saver /s
second=$saver_pid
wait_exit "$second" 15
[ "$rc" = 0 ] || fail "the second saver should exit 0 at once, got $rc"
sleep 1
still_running "$first" || fail "the first saver ended"
n=$(xdotool search --name '^Screen Saver$' 2>/dev/null | wc -l)
[ "$n" = 1 ] || fail "expected one saver window, found $n"

saver_pid=$first
xdotool key space
wait_exit "$first" 10
[ "$rc" = 0 ] || fail "the first saver should end with 0 on a key, got $rc"
e2e_finish
