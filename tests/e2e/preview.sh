#!/bin/sh
# Preview inside a test host's window: the child fills the client area, keys,
# clicks and moves do nothing, help requests go to the parent, and it ends with
# 0 when the host destroys its window. /p with something that is no window
# exits -1. (Wine does not put a child window of another process on screen, so
# the preview's drawing is checked in-process by the Windows unit tests.)
. "$(dirname "$0")/lib.sh"
e2e_setup

pointer_to 300 200
log="$work/host.log"
wine "$ZORV_HELPERS/zorv_test_host.exe" preview "$(winepath -w "$ZORV_SCR")" "$(winepath -w "$log")" 8 \
    >"$work/host.out" 2>&1 </dev/null &
host=$!
n=0
until grep -q '^ready' "$log" 2>/dev/null; do
    n=$((n + 1))
    if [ $n -gt 400 ] || ! still_running $host; then
        fail "the preview did not come up"
        cat "$log" >&2
        exit 1
    fi
    sleep 0.1
done
pointer_to 60 50
sleep 0.3
xdotool mousemove 10 10 key space click 1
wait_exit $host 30
tr -d '\r' <"$log" >"$work/host.txt"
log="$work/host.txt"
cat "$log"
[ "$rc" = 0 ] || fail "the test host reported failure ($rc)"
grep -q '^pass' "$log" || fail "the host's checks did not pass"
hosthandle=$(sed -n 's/^host //p' "$log")
grep -q "parent got WM_CONTEXTMENU wParam=$hosthandle" "$log" || fail "help request not passed to the parent"

for args in "/p 1" "/p" "/p abc" "/p:$hosthandle" "/x"; do
    # shellcheck disable=SC2086
    start_saver $args
    wait_exit "$saver_pid" 20
    [ "$rc" = 255 ] || fail "'$args' should exit -1, got $rc"
done
e2e_finish
