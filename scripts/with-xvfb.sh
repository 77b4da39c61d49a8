#!/bin/sh
# Runs a command with DISPLAY set to a private Xvfb display, then ends the Wine
# server of $WINEPREFIX_ZORV and the display: for the Windows tests that need
# windows, the saver benchmark and the soak run.
# ZORV_XVFB_SCREEN sets the screen (default 320x240x24).
Xvfb -displayfd 5 -screen 0 "${ZORV_XVFB_SCREEN:-320x240x24}" -nolisten tcp -noreset 5>"${TMPDIR:-/tmp}/zorv-xvfb.$$" >/dev/null 2>&1 &
xvfb=$!
i=0
while [ ! -s "${TMPDIR:-/tmp}/zorv-xvfb.$$" ]; do
    i=$((i + 1))
    [ $i -gt 100 ] && { echo "Xvfb did not start" >&2; kill $xvfb 2>/dev/null; exit 1; }
    sleep 0.1
done
DISPLAY=":$(head -n 1 "${TMPDIR:-/tmp}/zorv-xvfb.$$")"
export DISPLAY
rm -f "${TMPDIR:-/tmp}/zorv-xvfb.$$"
"$@"
status=$?
WINEPREFIX="${WINEPREFIX_ZORV:-$WINEPREFIX}" wineserver -k >/dev/null 2>&1
kill $xvfb 2>/dev/null
exit $status
