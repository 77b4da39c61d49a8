#!/bin/sh
# The Windows 95/98 password paths, with test doubles of PASSWORD.CPL and
# MPR.DLL beside a copy of the saver and Wine reporting win98 for it. $1:
#   verify       a refused check keeps the saver, no second check within 200 ms,
#                an accepted one ends it with 0
#   nopassword   win98 without ScreenSaveUsePassword: a key ends it, no check
#   change       /a <window> calls PwdChangePasswordA("SCRSAVE", window, 0, 0), exit 0
#   change-nt    /a outside win98: exit -1, nothing called
E2E_NAME="password_$1"
E2E_DLLOVERRIDES="mscoree,mshtml=;mpr=n,b"
. "$(dirname "$0")/lib.sh"
e2e_setup

: "${ZORV_PASSWORD_DOUBLE:?}" "${ZORV_MPR_DOUBLE:?}"
mkdir -p "$work/bin"
cp "$ZORV_SCR" "$work/bin/zorv.scr"
cp "$ZORV_PASSWORD_DOUBLE" "$ZORV_MPR_DOUBLE" "$work/bin/"
SCR="$work/bin/zorv.scr"
log="$work/password.log"
answer="$work/answer"
echo refuse >"$answer"
ZORV_PASSWORD_LOG=$(winepath -w "$log" 2>/dev/null)
ZORV_PASSWORD_ANSWER=$(winepath -w "$answer" 2>/dev/null)
export ZORV_PASSWORD_LOG ZORV_PASSWORD_ANSWER

appdefaults='HKCU\Software\Wine\AppDefaults\zorv.scr'
desktop='HKCU\Control Panel\Desktop'
E2E_EXTRA_CLEANUP="wine reg delete '$appdefaults' /f >/dev/null 2>&1; wine reg delete '$desktop' /v ScreenSaveUsePassword /f >/dev/null 2>&1"
[ "$1" != change-nt ] && wine reg add "$appdefaults" /v Version /d win98 /f >/dev/null 2>&1
[ "$1" = verify ] && wine reg add "$desktop" /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1

calls() { if [ -f "$log" ]; then grep -c "$1" "$log"; else echo 0; fi; }

case "$1" in
    verify)
        pointer_to 100 100
        start_saver /s
        wait_saver_window
        sleep 1
        # Two keys at once: the second close request comes within 200 ms of the
        # refused check and must not ask again.
        xdotool key a key b
        sleep 1.5
        still_running "$saver_pid" || fail "a refused password ended the saver"
        [ "$(calls '^verify')" = 1 ] || fail "expected one check after two quick keys, log: $(cat "$log" 2>/dev/null)"
        grep -q 'window=yes' "$log" 2>/dev/null || fail "the check was not given the saver window"
        xdotool key c
        sleep 1.5
        still_running "$saver_pid" || fail "a second refused password ended the saver"
        [ "$(calls '^verify')" = 2 ] || fail "a key 1.5 s later should ask again, log: $(cat "$log" 2>/dev/null)"
        echo accept >"$answer"
        xdotool key d
        wait_exit "$saver_pid" 10
        [ "$rc" = 0 ] || fail "an accepted password should end the saver with 0, got $rc"
        [ "$(calls 'answer=1')" = 1 ] || fail "the accepting check was not logged once"
        ;;
    nopassword)
        pointer_to 100 100
        start_saver /s
        wait_saver_window
        sleep 1
        xdotool key a
        wait_exit "$saver_pid" 10
        [ "$rc" = 0 ] || fail "without a password a key should end the saver with 0, got $rc"
        [ "$(calls '^verify')" = 0 ] || fail "a check ran although no password is set"
        ;;
    change|change-nt)
        hostlog="$work/host.log"
        wine "$ZORV_HELPERS/zorv_test_host.exe" password "$(winepath -w "$SCR")" "$(winepath -w "$hostlog")" \
            >"$work/host.out" 2>&1 </dev/null &
        host=$!
        wait_exit $host 60
        hosthandle=$(sed -n 's/^host //p' "$hostlog" | tr -d '\r')
        code=$(sed -n 's/^exit //p' "$hostlog" | tr -d '\r')
        if [ "$1" = change ]; then
            [ "$code" = 0 ] || fail "/a should exit 0, got '$code'"
            grep -q "^change provider=SCRSAVE parent=$hosthandle reserved=0,0" "$log" 2>/dev/null ||
                fail "PwdChangePasswordA not called with (SCRSAVE, $hosthandle, 0, 0): $(cat "$log" 2>/dev/null)"
            # A handle that is no window: the foreground window is the parent; still 0.
            rm -f "$log"
            start_saver /a 1
            wait_exit "$saver_pid" 30
            [ "$rc" = 0 ] || fail "/a 1 should exit 0, got $rc"
            [ "$(calls '^change provider=SCRSAVE')" = 1 ] || fail "/a 1 did not call the change entry"
        else
            [ "$code" = -1 ] || fail "/a outside win98 should exit -1, got '$code'"
            [ ! -f "$log" ] || fail "the change entry was called outside win98"
        fi
        ;;
    *)
        echo "unknown case $1" >&2
        exit 2
        ;;
esac
e2e_finish
