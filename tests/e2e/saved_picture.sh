#!/bin/sh
# The last-image file C:\Windows\ZORV.BMP. $1 names the case:
#   save     file present, SaveImage 1: shown at the start, replaced at the close
#   keep     file present, SaveImage 0: shown at the start, left untouched
#   absent   no file, SaveImage 1: nothing shown, nothing written
E2E_NAME="saved_picture_$1"
. "$(dirname "$0")/lib.sh"
e2e_setup

case "$1" in
    save) save=1 present=1 ;;
    keep) save=0 present=1 ;;
    absent) save=1 present=0 ;;
    *) echo "unknown case $1" >&2; exit 2 ;;
esac
printf '[ZorvSaver]\r\nSaveImage=%s\r\n' "$save" >"$windir/zorvsave.ini"
if [ $present = 1 ]; then
    # A picture no fractal looks like: four flat quarters.
    convert -size 160x120 xc:'#ff00ff' -size 160x120 xc:'#ffff00' +append \
        \( -size 160x120 xc:'#00ffff' -size 160x120 xc:'#ffffff' +append \) -append \
        -type TrueColor BMP3:"$windir/ZORV.BMP"
    cp "$windir/ZORV.BMP" "$work/original.bmp"
    touch -d '2001-01-01' "$windir/ZORV.BMP"
fi

pointer_to 100 100
start_saver /s
wait_saver_window

if [ $present = 1 ]; then
    shown=0
    k=0
    while [ $k -lt 20 ]; do
        k=$((k + 1))
        shot "$work/start$k.png"
        if [ "$(compare -metric AE "$work/start$k.png" "$work/original.bmp" null: 2>&1)" = 0 ]; then
            shown=1
            break
        fi
        sleep 0.1
    done
    [ $shown = 1 ] || fail "the saved picture was not shown at the start"
else
    shot "$work/start.png"
    is_black "$work/start.png" || fail "something other than black at the start without a file"
fi

if drawn=$(wait_for_fractal 30); then
    note "fractal on screen: $drawn"
else
    fail "no fractal within 30 s"
fi
xdotool key space
wait_exit "$saver_pid" 10
[ "$rc" = 0 ] || fail "a key should end the saver with 0, got $rc"

case "$1" in
    save)
        if cmp -s "$windir/ZORV.BMP" "$work/original.bmp"; then
            fail "the file was not replaced"
        else
            size=$(identify -format '%wx%h' "$windir/ZORV.BMP" 2>/dev/null)
            [ "$size" = 320x240 ] || fail "the saved picture is '$size', not the 320x240 screen"
            c=$(colors_of "$windir/ZORV.BMP")
            [ "${c:-0}" -ge 16 ] || fail "the saved picture has $c colours: not the fractal on screen"
        fi
        ;;
    keep)
        cmp -s "$windir/ZORV.BMP" "$work/original.bmp" || fail "the file changed with SaveImage 0"
        [ "$(date -r "$windir/ZORV.BMP" +%Y)" = 2001 ] || fail "the file was rewritten with SaveImage 0"
        ;;
    absent)
        [ ! -e "$windir/ZORV.BMP" ] || fail "a file was written although none was there"
        ;;
esac
e2e_finish
