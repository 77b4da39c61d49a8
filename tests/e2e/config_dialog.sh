#!/bin/sh
# The settings dialog of the real zorv.scr: every way the command line opens
# it, its 21 controls, what it shows for stored settings, the exact settings
# file after OK, the file untouched after Cancel, Escape and the close box, and
# the exit codes. Leaves a screenshot of the dialog in the work folder.
E2E_SCREEN=640x480x24
. "$(dirname "$0")/lib.sh"
e2e_setup
ini="$windir/zorvsave.ini"

drive() {
    wine "$ZORV_HELPERS/zorv_dialog_driver.exe" "$@" 2>/dev/null </dev/null | tr -d '\r' >"$work/driver.out"
    cat "$work/driver.out" >>"$work/driver.log"
    grep -q '^dialog ' "$work/driver.out" || { fail "no dialog to drive ($*)"; return 1; }
}
state_is() {
    got=$(sed -n 's/^state //p' "$work/driver.out" | tail -n 1)
    [ "$got" = "$1" ] || fail "$2: state '$got', expected '$1'"
}
ends_with() {
    wait_exit "$saver_pid" 20
    [ "$rc" = "$1" ] || fail "$2: exit code $rc, expected $1"
}
file_is() {
    printf "$1" >"$work/expected.ini"
    cmp -s "$work/expected.ini" "$ini" || { fail "$2: settings file differs"; od -c "$ini" | head -20 >&2; }
}

note "/c without a settings file: the controls, the defaults, OK writes all eight keys"
start_saver /c
drive controls state || exit 1
[ "$(grep -c '^control ' "$work/driver.out")" = 21 ] || fail "expected 21 controls"
grep -q '^control 21 id=1010 class=Button text=\[Save Last Image to   C:\\Windows\\ZORV.BMP \]$' "$work/driver.out" ||
    fail "control 21 and its text"
grep -q '^control 20 id=1008 class=Button text=\[Use Random Settings\]$' "$work/driver.out" || fail "control 20"
grep -q '^control 4 id=1002 class=msctls_trackbar32 ' "$work/driver.out" || fail "control 4 is the first track bar"
state_is "pos=37,30,20,16,30,10 enabled=111111 random=0 save=0" "defaults"
# A picture of the dialog as it opened, for a person to look at.
geometry=$(xdotool search --name '^ZorvSaver$' getwindowgeometry --shell 2>/dev/null | head -n 5)
eval "$geometry"
shot_area "$work/dialog.png" "${WIDTH:-640}x${HEIGHT:-480}+${X:-0}+${Y:-0}"
[ "$(colors_of "$work/dialog.png")" -ge 4 ] || fail "the dialog's screenshot is nearly blank"
drive pos 1003 77 click 1008 state
state_is "pos=37,77,20,16,30,10 enabled=000000 random=1 save=0" "after moving Iterations and clicking Use Random"
shot_area "$work/dialog-random.png" "${WIDTH:-640}x${HEIGHT:-480}+${X:-0}+${Y:-0}"
drive click 1010 click 1
ends_with 1 "OK"
file_is '[ZorvSaver]\r\nCycles=37\r\nIters=77\r\nConstant=20\r\nScale=16\r\nView=30\r\nSpread=10\r\nRandomSettings=1\r\nSaveImage=1\r\n' "after OK"

note "no arguments: stored values out of range are clamped; Escape leaves the file as it was"
printf '[ZorvSaver]\r\nIters=500\r\nSpread=80\r\nRandomSettings=1\r\n' >"$ini"
cp "$ini" "$work/before.ini"
start_saver
drive state click 1001 state || exit 1
state_is "pos=37,30,20,16,30,10 enabled=111111 random=0 save=0" "after Set Defaults"
grep -q '^state pos=37,100,20,16,30,50 enabled=000000 random=1 save=0$' "$work/driver.out" ||
    fail "stored Iters 500 and Spread 80 should show 100 and 50, disabled"
cmp -s "$work/before.ini" "$ini" || fail "Set Defaults wrote the file"
drive key escape
ends_with 2 "Escape"
cmp -s "$work/before.ini" "$ini" || fail "Escape changed the file"

note "/c:1234 and the close box; /c 1234 and Cancel; only separators and Enter"
for args in "/c:1234" "/c 1234" "- /" "-C"; do
    # shellcheck disable=SC2086
    start_saver $args
    case "$args" in
        "/c:1234") drive pos 1002 5 close; want=2 ;;
        "/c 1234") drive click 1010 click 2; want=2 ;;
        "- /") drive pos 1006 66 key enter; want=1 ;;
        *) drive click 1008 click 1008 click 1; want=1 ;;
    esac
    ends_with $want "arguments '$args'"
done
# The last two ended with OK: View 66 from the separators run, the rest clamped values written back.
file_is '[ZorvSaver]\r\nIters=100\r\nSpread=50\r\nRandomSettings=1\r\nCycles=37\r\nConstant=20\r\nScale=16\r\nView=66\r\nSaveImage=0\r\n' "after the runs ending with OK"
e2e_finish
