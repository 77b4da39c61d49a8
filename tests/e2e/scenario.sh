#!/bin/sh
# End-to-end scenarios of the real zorv.scr under Wine and Xvfb, one per mode,
# driven with real input: fullscreen, preview, config, saved_picture,
# password_check (Windows 95/98) and password_change; and installer, the
# silent install and uninstall of zorv-setup.exe in both modes.
E2E_NAME=$1
case "$1" in
password_*) E2E_DLLOVERRIDES="mscoree,mshtml=;mpr=n,b" ;;
config) E2E_SCREEN=640x480x24 ;;
monitors) E2E_SCREEN=1440x600x24 E2E_MONITORS="800x600 640x480" ;;
esac
. "$(dirname "$0")/lib.sh"
e2e_setup

# Windows 95/98 mode: test doubles of PASSWORD.CPL and MPR.DLL beside a copy of
# the saver, Wine reporting win98 for it; the doubles log each call.
win98() {
    mkdir -p "$work/bin"
    cp "$ZORV_SCR" "$ZORV_PASSWORD_DOUBLE" "$ZORV_MPR_DOUBLE" "$work/bin/"
    SCR="$work/bin/$(basename "$ZORV_SCR")"
    log="$work/password.log" answer="$work/answer"
    echo refuse >"$answer"
    ZORV_PASSWORD_LOG=$(winepath -w "$log") ZORV_PASSWORD_ANSWER=$(winepath -w "$answer")
    export ZORV_PASSWORD_LOG ZORV_PASSWORD_ANSWER
    appdefaults='HKCU\Software\Wine\AppDefaults\zorv.scr'
    E2E_EXTRA_CLEANUP="wine reg delete '$appdefaults' /f >/dev/null 2>&1; wine reg delete 'HKCU\\Control Panel\\Desktop' /v ScreenSaveUsePassword /f >/dev/null 2>&1"
    wine reg add "$appdefaults" /v Version /d win98 /f >/dev/null 2>&1
}
calls() { cat "$log" 2>/dev/null | grep -c "$1"; }

# Runs the test host ($1 = preview|password) with the saver; its log in $hostlog.
test_host() {
    hostlog="$work/host.log"
    wine "$ZORV_HELPERS/zorv_test_host.exe" "$1" "$(winepath -w "${SCR:-$ZORV_SCR}")" "$(winepath -w "$hostlog")" 8 \
        >"$work/host.out" 2>&1 </dev/null &
    host=$!
}

case "$1" in
fullscreen)
    # A second /s exits 0 at once and leaves the first running, and a move of the
    # pointer ends the saver (the 4-pixel boundary is a host unit test; the
    # picture on the whole screen is the saved_picture scenario's).
    pointer_to 100 100
    start_saver /s
    first=$saver_pid
    wait_window
    start_saver /s
    ends_with 0 "a second /s"
    saver_pid=$first
    still_running "$first" || fail "a second /s ended the first"
    xdotool mousemove 105 100
    ends_with 0 "a move of 5 pixels"
    ;;
monitors)
    # Two monitors, 800x600 at (0,0) and 640x480 at (800,0): both show fractals,
    # and a move over the second ends the saver with 0; with AllMonitors=0 the
    # second stays black while the first draws.
    second=640x480+800+0
    for all in 1 0; do
        printf '[ZorvSaver]\r\nAllMonitors=%s\r\n' $all >"$ini"
        pointer_to 100 100
        start_saver /s
        wait_window
        deadline=$(($(date +%s) + 30)) drawn=""
        while [ "$(date +%s)" -le $deadline ] && [ -z "$drawn" ]; do
            shot "$work/both.png"
            [ "$(colors_of "$work/both.png" 800x600+0+0)" -ge 16 ] &&
                { [ $all = 0 ] || [ "$(colors_of "$work/both.png" $second)" -ge 16 ]; } && drawn=1
            sleep 0.5
        done
        [ -n "$drawn" ] || fail "AllMonitors=$all: no fractal on $([ $all = 1 ] && echo both monitors || echo the first)"
        [ $all = 1 ] || [ "$(convert "$work/both.png" -crop $second +repage -format '%k %[fx:mean]' info:)" = "1 0" ] ||
            fail "AllMonitors=0: the second monitor is not black"
        xdotool mousemove 1000 200
        ends_with 0 "AllMonitors=$all: a move over the second monitor"
    done
    ;;
preview)
    # Inside a test host's window: the child fills the client area, input does
    # nothing, help goes to the parent, and it ends with 0 with its parent. (Wine
    # shows no child window of another process: its drawing is checked in-process.)
    pointer_to 300 200
    test_host preview
    poll 400 'grep -q "^ready" "$hostlog" 2>/dev/null || ! still_running $host' && grep -q '^ready' "$hostlog" ||
        { fail "no preview came up: $(cat "$hostlog")"; exit 1; }
    pointer_to 60 50
    xdotool mousemove 10 10 key space click 1
    wait_exit $host 30
    [ "$rc" = 0 ] && grep -q '^pass' "$hostlog" || fail "the host's checks failed: $(cat "$hostlog")"
    handle=$(sed -n 's/^host //p' "$hostlog" | tr -d '\r')
    grep -q "parent got WM_CONTEXTMENU wParam=$handle" "$hostlog" || fail "help request not passed to the parent"
    for args in "/p 1" "/x"; do
        start_saver $args
        ends_with 255 "'$args'"
    done
    ;;
config)
    # The settings dialog: Enter is OK and writes every key; stored values beyond
    # the track bars come back clamped; Escape writes nothing; the check box of
    # every monitor (the last tab stop; Set Defaults is three back from the first
    # track bar, four while the saved picture's button is checked, a stop then)
    # is on by default, off when unchecked, on after Set Defaults, which Cancel
    # forgets.
    start_saver /c
    wait_window '^ZorvSaver$'
    xdotool key Return
    ends_with 1 "Enter"
    keys='Cycles=37\r\nIters=30\r\nConstant=20\r\nScale=16\r\nView=30\r\nSpread=10\r\nRandomSettings=0\r\nSaveImage=0\r\nAllMonitors=1'
    printf "[ZorvSaver]\r\n$keys\r\n" >"$work/defaults.ini"
    cmp -s "$work/defaults.ini" "$ini" || fail "OK on defaults: $(od -c "$ini" | head -5)"
    printf '[ZorvSaver]\r\nIters=500\r\nSpread=-5\r\nScale=7\r\nRandomSettings=1\r\n' >"$ini"
    start_saver
    wait_window '^ZorvSaver$'
    xdotool key shift+Tab space Return
    ends_with 1 "Enter with stored values"
    printf '[ZorvSaver]\r\nIters=100\r\nSpread=50\r\nScale=7\r\nRandomSettings=1\r\nCycles=37\r\nConstant=20\r\nView=30\r\nSaveImage=0\r\nAllMonitors=0\r\n' >"$work/clamped.ini"
    cmp -s "$work/clamped.ini" "$ini" || fail "stored values after OK: $(od -c "$ini" | head -8)"
    printf '[ZorvSaver]\r\nIters=55\r\nSaveImage=1\r\nAllMonitors=0\r\n' >"$ini"
    cp "$ini" "$work/before.ini"
    for close in Escape Return; do
        start_saver /c
        wait_window '^ZorvSaver$'
        if [ $close = Escape ]; then
            # What the running dialog's controls hold; the thumb that Set Defaults
            # moves is drawn again at once.
            test_host dialog
            wait_exit $host 20
            tr -d '\r' <"$hostlog" >"$work/dialog"
            printf 'dialog owner=[]\nbar 1002 0-100 at 37 enabled=1\nbar 1003 0-100 at 55 enabled=1\nbar 1004 0-100 at 20 enabled=1\nbar 1005 0-100 at 16 enabled=1\nbar 1006 0-100 at 30 enabled=1\nbar 1007 0-50 at 10 enabled=1\ncheck 1008 0\ncheck 1010 1\ncheck 1011 0\n' >"$work/controls"
            sed 's/ rect=.*//' "$work/dialog" | cmp -s - "$work/controls" || fail "the dialog's controls: $(cat "$work/dialog")"
            thumb=$(sed -n 's/^bar 1003 .* rect=//p' "$work/dialog")
            shot "$work/before.png"
        fi
        xdotool key shift+Tab shift+Tab shift+Tab shift+Tab space  # Set Defaults
        if [ $close = Escape ]; then
            poll 30 'shot "$work/after.png"; [ "$(compare -metric AE "$work/before.png[$thumb]" "$work/after.png[$thumb]" null: 2>&1)" != 0 ]' ||
                fail "Set Defaults left the Iterations thumb where it was drawn"
        fi
        xdotool key Tab $close  # off the button
        if [ $close = Escape ]; then
            ends_with 2 "Set Defaults and Escape"
            cmp -s "$work/before.ini" "$ini" || fail "Set Defaults and Escape changed the file"
        else
            ends_with 1 "Set Defaults and Enter"
            printf "[ZorvSaver]\r\nIters=30\r\nSaveImage=0\r\nAllMonitors=1\r\nCycles=37\r\nConstant=20\r\nScale=16\r\nView=30\r\nSpread=10\r\nRandomSettings=0\r\n" >"$work/reset.ini"
            cmp -s "$work/reset.ini" "$ini" || fail "Set Defaults and OK: $(od -c "$ini" | head -8)"
        fi
    done
    ;;
saved_picture)
    # With SaveImage 1 the close writes the screen to C:\Windows\ZORV.BMP, also
    # when there was none; the next run shows it and, with SaveImage 0, leaves it
    # alone. A damaged picture gives one message box above the saver, no pile.
    for save in 1 0; do
        printf '[ZorvSaver]\r\nSaveImage=%s\r\n' $save >"$ini"
        pointer_to 100 100
        start_saver /s
        wait_window
        if [ $save = 1 ]; then
            wait_for_fractal 30
        else
            # Shown at the start, and a second later still: the first fractal
            # comes at the usual pace (13 ticks here), not hurried.
            for pause in 0 1; do
                sleep $pause
                poll 20 'shot "$work/start.png"; [ "$(compare -metric AE "$work/start.png" "$work/saved.bmp" null: 2>&1)" = 0 ]' ||
                    fail "the saved picture was not shown $pause s after the start"
            done
        fi
        xdotool key space
        ends_with 0 "a key with SaveImage $save"
        [ $save = 0 ] || cp "$windir/ZORV.BMP" "$work/saved.bmp" 2>/dev/null || fail "nothing saved"
    done
    cmp -s "$windir/ZORV.BMP" "$work/saved.bmp" || fail "SaveImage 0 changed the file"
    [ "$(identify -format '%wx%h' "$work/saved.bmp")" = 320x240 ] && [ "$(colors_of "$work/saved.bmp")" -ge 16 ] ||
        fail "the screen's fractal was not saved"
    printf 'XX damaged' >"$windir/ZORV.BMP"
    start_saver /s
    wait_window
    sleep 3
    test_host boxes
    wait_exit $host 20
    tr -d '\r' <"$hostlog" >"$work/boxes"
    [ "$(grep -c '^box ' "$work/boxes")" = 1 ] || fail "not one message box after 3 s: $(cat "$work/boxes")"
    grep -q 'owner=\[Screen Saver\] topmost=1' "$work/boxes" || fail "the box is not owned by the saver and topmost: $(cat "$work/boxes")"
    grep -q 'text=\[ERROR: FILE MAY NOT BE DIB (BMP) FORMAT\]' "$work/boxes" || fail "the box's text: $(cat "$work/boxes")"
    xdotool search --name '^Zorv Screen Saver$' windowfocus --sync key Return 2>/dev/null
    sleep 1
    test_host boxes
    wait_exit $host 20
    ! grep -q '^box ' "$hostlog" && still_running "$saver_pid" || fail "Enter did not leave the saver running without its box"
    xdotool key --window "$window" space
    ends_with 0 "a key after the box"
    ;;
password_check)
    # A refused check keeps the saver (the system told a saver runs, so the
    # task-switch keys stop), an accepted one ends it with 0. (The
    # 200 ms guard after a refusal is a host unit test.)
    win98
    wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
    pointer_to 100 100
    start_saver /s
    wait_window
    sleep 1
    xdotool key a
    sleep 1.5
    still_running "$saver_pid" || fail "a refused password ended the saver"
    [ "$(calls 'answer=0 running=1')" = 1 ] || fail "one check, the system told a saver runs: $(cat "$log")"
    echo accept >"$answer"
    xdotool key d
    ends_with 0 "an accepted password"
    ;;
password_change)
    # /a <window> calls PwdChangePasswordA("SCRSAVE", window, 0, 0) and exits 0.
    win98
    test_host password
    wait_exit $host 60
    [ "$(sed -n 's/^exit //p' "$hostlog" | tr -d '\r')" = 0 ] || fail "/a should exit 0: $(cat "$hostlog")"
    handle=$(sed -n 's/^host //p' "$hostlog" | tr -d '\r')
    [ "$(calls "^change provider=SCRSAVE parent=$handle reserved=0,0")" = 1 ] || fail "the change call: $(cat "$log")"
    ;;
installer)
    # Both modes, silently. Just for me: zorv.scr in the user's programs folder,
    # this user's screen saver, listed under HKCU. For everyone: zorv.scr in the
    # Windows directory, listed under HKLM, no user's setting written. Each
    # uninstaller, found through its own entry, removes its installation and
    # entry, puts the previous screen saver back only while Zorv is still the
    # one, and leaves the settings and the picture.
    desktop='HKCU\Control Panel\Desktop' entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorv'
    before='C:\windows\system32\before.scr' other='C:\windows\system32\other.scr'
    value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
    saver() { printf '%s %s' "$(value "$desktop" SCRNSAVE.EXE)" "$(value "$desktop" ScreenSaveActive)"; }
    set_saver() { wine reg add "$desktop" /v SCRNSAVE.EXE /d "$1" /f && wine reg add "$desktop" /v ScreenSaveActive /d "$2" /f; } >/dev/null 2>&1
    uninstall() {  # $1: the hive of its entry, $2: the screen saver expected after it
        [ "$(value "$1\\$entry" DisplayName)" = "Zorv Screen Saver" ] || { fail "no installed-programs entry in $1"; return; }
        u=$(value "$1\\$entry" UninstallString | tr -d '"') && dir=$(dirname "$(winepath -u "$u" 2>/dev/null)")
        # It finishes from a copy of itself.
        wine "$u" /S >>"$work/uninstall.out" 2>&1 </dev/null; for i in $(seq 100); do [ -d "$dir" ] || break; sleep 0.2; done
        [ ! -e "$dir" ] && ! wine reg query "$1\\$entry" >/dev/null 2>&1 || fail "files or the installed-programs entry left in $1: $(ls "$dir" 2>&1)"
        [ "$(saver)" = "$2" ] && ! wine reg query 'HKCU\Software\Zorv' >/dev/null 2>&1 || fail "after $1's uninstaller: $(saver), not $2, or still remembered"
    }
    E2E_EXTRA_CLEANUP='{ for k in "HKLM\\$entry" "HKCU\\$entry" "HKCU\\Software\\Zorv"; do wine reg delete "$k" /f; done
        for v in SCRNSAVE.EXE ScreenSaveActive; do wine reg delete "$desktop" /v $v /f; done
        rm -rf "$windir/zorv.scr" "$WINEPREFIX/drive_c/Program Files/Zorv" "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Zorv; } >/dev/null 2>&1'
    set_saver "$before" 0
    wine "${ZORV_SETUP:?}" /S /AllUsers >>"$work/setup.out" 2>&1 </dev/null || fail "the installer for everyone failed"
    cmp -s "$windir/zorv.scr" "$ZORV_SCR" && [ "$(saver)" = "$before 0" ] || fail "zorv.scr not in the Windows directory, or the user's saver changed: $(saver)"
    wine "$ZORV_SETUP" /S /CurrentUser >>"$work/setup.out" 2>&1 </dev/null || fail "the installer just for me failed"
    mine=$(wine cmd /c 'echo %LOCALAPPDATA%\Programs\Zorv' 2>/dev/null | tr -d '\r')
    cmp -s "$(winepath -u "$mine\\zorv.scr" 2>/dev/null)" "$ZORV_SCR" && [ "$(saver)" = "$mine\\zorv.scr 1" ] ||
        fail "zorv.scr not in $mine, or not the user's screen saver: $(saver)"
    printf '[ZorvSaver]\r\nCycles=50\r\n' >"$ini" && cp "$ZORV_SCR" "$windir/ZORV.BMP"  # any bytes: the uninstallers must not look at it
    uninstall HKCU "$before 0"
    # Again, and then the user chooses another screen saver: the uninstallers leave it.
    wine "$ZORV_SETUP" /S /CurrentUser >>"$work/setup.out" 2>&1 </dev/null && set_saver "$other" 1 || fail "the installer just for me failed again"
    uninstall HKCU "$other 1"
    uninstall HKLM "$other 1"
    [ ! -e "$windir/zorv.scr" ] && [ -f "$ini" ] && [ -f "$windir/ZORV.BMP" ] || fail "zorv.scr left, or the user's settings or picture gone"
    ;;
*) echo "unknown scenario $1" >&2; exit 2 ;;
esac
e2e_finish
