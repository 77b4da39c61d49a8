# Shared steps of the end-to-end tests: a private Xvfb display, the build tree's
# end-to-end Wine prefix, starting and ending the real saver, and screenshots.
# Sourced by scenario.sh; needs ZORV_BUILD, ZORV_SCR and ZORV_HELPERS.

: "${ZORV_BUILD:?}" "${ZORV_SCR:?}" "${ZORV_HELPERS:?}"
work="$ZORV_BUILD/e2e-work/$E2E_NAME"
export WINEPREFIX="$ZORV_BUILD/e2e-wineprefix" WINEDEBUG=-all WINEARCH="${ZORV_WINEARCH:-win32}"
export WINEDLLOVERRIDES="${E2E_DLLOVERRIDES:-mscoree,mshtml=}"
windir="$WINEPREFIX/drive_c/windows"
ini="$windir/zorvsave.ini"
xvfb_pid="" xephyr_pid="" saver_pid="" failures=0

fail() { printf "FAIL: %s\n" "$*" >&2; failures=$((failures + 1)); }

e2e_cleanup() {
    [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null
    [ -n "${E2E_EXTRA_CLEANUP:-}" ] && eval "$E2E_EXTRA_CLEANUP"
    wineserver -k >/dev/null 2>&1
    [ -n "$xephyr_pid" ] && kill "$xephyr_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -f "$ini" "$windir/ZORV.BMP"
    return 0
}

# Evaluates the shell test $2 until it holds, at most $1 times, $3 s apart (0.1).
poll() {
    _polls=0
    until eval "$2"; do
        _polls=$((_polls + 1)); [ $_polls -ge "$1" ] && return 1; sleep "${3:-0.1}"
    done
}

# Waits for server $1 to write its display number into file $2, and uses it.
use_display() {
    poll 100 "[ -s '$2' ]" || { echo "$1 did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n 1 "$2")"
}

e2e_setup() {
    rm -rf "$work"
    mkdir -p "$work"
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    # -noreset: otherwise each xdotool leaving the server without clients resets
    # it, and the pointer jumps back to the centre.
    Xvfb -displayfd 5 -screen 0 "${E2E_SCREEN:-320x240x24}" -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    use_display Xvfb "$work/display"
    if [ -n "${E2E_MONITORS:-}" ]; then
        # Several monitors as Wine sees them: Xinerama without RandR, from an
        # Xephyr server on the Xvfb display, its screens side by side.
        set --
        for size in $E2E_MONITORS; do set -- "$@" -screen "$size"; done
        Xephyr -displayfd 6 +xinerama -extension RANDR "$@" -nolisten tcp -noreset 6>"$work/xephyr" >/dev/null 2>&1 &
        xephyr_pid=$!
        use_display Xephyr "$work/xephyr"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w
    fi
    rm -f "$ini" "$windir/ZORV.BMP"
}

pointer_to() {
    poll 10 "xdotool mousemove $1 $2 2>/dev/null; xdotool getmouselocation 2>/dev/null | grep -q '^x:$1 y:$2 '" ||
        { fail "cannot place the pointer at $1,$2"; exit 1; }
}

start_saver() {
    wine "${SCR:-$ZORV_SCR}" "$@" >>"$work/saver.out" 2>&1 </dev/null &
    saver_pid=$!
}

# Waits for a visible window named $1 (default: the full-screen saver) and gives
# it the keyboard focus, as a desktop's window manager would.
wait_window() {
    window=$(timeout 40 xdotool search --sync --onlyvisible --name "${1:-^Screen Saver\$}" 2>/dev/null | head -n 1)
    [ -n "$window" ] || { fail "no window ${1:-Screen Saver} appeared"; exit 1; }
    xdotool windowfocus --sync "$window" 2>/dev/null
}

# Sets rc to the exit status of background process $1 once it ends within $2
# seconds, or to "running". (Not in a subshell: only this shell can wait for it.)
wait_exit() {
    poll $(($2 * 10)) "! kill -0 $1 2>/dev/null" || { rc=running; return 0; }
    wait "$1"
    rc=$?
}
# Fails unless the saver ($saver_pid) ends with $1 within 20 s.
ends_with() {
    wait_exit "$saver_pid" 20
    [ "$rc" = "$1" ] || fail "$2: exit code $rc, expected $1"
}

still_running() { kill -0 "$1" 2>/dev/null; }
shot() { import -window root "$1" 2>/dev/null; }
colors_of() { convert "$1" ${2:+-crop "$2" +repage} -format '%k' info:; }  # $2: a region WxH+X+Y

# A screenshot counts as a fractal when it holds many colours.
wait_for_fractal() {
    poll $(($1 * 2)) 'shot "$work/drawn.png"; [ "$(colors_of "$work/drawn.png")" -ge 16 ]' 0.5 || fail "no fractal within $1 s"
}

e2e_finish() {
    [ $failures -eq 0 ] || { echo "$E2E_NAME: $failures failure(s); files in $work" >&2; exit 1; }
    echo "$E2E_NAME: pass"
    exit 0
}
