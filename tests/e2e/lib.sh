# Shared steps of the end-to-end tests: a private Xvfb display, the build tree's
# end-to-end Wine prefix, starting and ending the real saver, and screenshots.
# Sourced by the test scripts; needs ZORV_BUILD, ZORV_SCR and ZORV_HELPERS.

: "${ZORV_BUILD:?}" "${ZORV_SCR:?}" "${ZORV_HELPERS:?}"
E2E_NAME=${E2E_NAME:-$(basename "$0" .sh)}
work="$ZORV_BUILD/e2e-work/$E2E_NAME"
export WINEPREFIX="$ZORV_BUILD/e2e-wineprefix"
export WINEDEBUG=-all
export WINEARCH=win32
export WINEDLLOVERRIDES="${E2E_DLLOVERRIDES:-mscoree,mshtml=}"
windir="$WINEPREFIX/drive_c/windows"
xvfb_pid=""
saver_pid=""
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

note() { echo "--- $*"; }

e2e_cleanup() {
    [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null
    [ -n "${E2E_EXTRA_CLEANUP:-}" ] && eval "$E2E_EXTRA_CLEANUP"
    wineserver -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -f "$windir/zorvsave.ini" "$windir/ZORV.BMP"
    return 0
}

e2e_setup() {
    rm -rf "$work"
    mkdir -p "$work"
    trap e2e_cleanup EXIT
    trap 'exit 1' INT TERM
    Xvfb -displayfd 5 -screen 0 ${E2E_SCREEN:-320x240x24} -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    i=0
    while [ ! -s "$work/display" ]; do
        i=$((i + 1))
        [ $i -gt 100 ] && { echo "Xvfb did not start" >&2; exit 1; }
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$work/display")"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w
    fi
    rm -f "$windir/zorvsave.ini" "$windir/ZORV.BMP"
}

# Puts the pointer at ($1, $2) and makes sure it is there. (Xvfb runs with
# -noreset: otherwise each xdotool that leaves the server without clients resets
# it, and the pointer jumps back to the centre.)
pointer_to() {
    i=0
    while [ $i -lt 20 ]; do
        xdotool mousemove "$1" "$2" 2>/dev/null
        case "$(xdotool getmouselocation 2>/dev/null)" in
            "x:$1 y:$2 "*) return 0 ;;
        esac
        i=$((i + 1))
        sleep 0.1
    done
    fail "cannot place the pointer at $1,$2"
    exit 1
}

# Starts the saver in the background with the given arguments.
start_saver() {
    wine "${SCR:-$ZORV_SCR}" "$@" >>"$work/saver.out" 2>&1 </dev/null &
    saver_pid=$!
}

# Waits for a visible full-screen saver window; fails the test after 40 s.
# With no window manager on the display, nobody gives the new window the
# keyboard focus as a desktop would: the test does.
wait_saver_window() {
    if ! saver_window=$(timeout 40 xdotool search --sync --onlyvisible --name '^Screen Saver$' 2>/dev/null); then
        fail "no saver window appeared"
        exit 1
    fi
    saver_window=$(echo "$saver_window" | head -n 1)
    xdotool windowfocus --sync "$saver_window" 2>/dev/null
}

# Sets rc to the exit status of background process $1 once it ends within $2
# seconds, or to "running". (Not in a subshell: only this shell can wait for it.)
wait_exit() {
    n=0
    while kill -0 "$1" 2>/dev/null; do
        n=$((n + 1))
        if [ $n -gt $(($2 * 10)) ]; then
            rc=running
            return 0
        fi
        sleep 0.1
    done
    wait "$1"
    rc=$?
}

still_running() { kill -0 "$1" 2>/dev/null; }

shot() { import -window root "$1" 2>/dev/null; }
# Screenshot of a rectangle: shot_area FILE WIDTHxHEIGHT+X+Y
shot_area() { import -window root -crop "$2" +repage "$1" 2>/dev/null; }
mean_of() { convert "$1" -format '%[fx:mean]' info:; }
colors_of() { convert "$1" -format '%k' info:; }
is_black() { [ "$(colors_of "$1")" = 1 ] && [ "$(mean_of "$1")" = 0 ]; }

# A screenshot counts as a fractal when it holds many colours.
wait_for_fractal() {
    # $1 = seconds, $2 = crop (optional)
    deadline=$(($(date +%s) + $1))
    k=0
    while [ "$(date +%s)" -le $deadline ]; do
        k=$((k + 1))
        if [ -n "${2:-}" ]; then shot_area "$work/drawn$k.png" "$2"; else shot "$work/drawn$k.png"; fi
        c=$(colors_of "$work/drawn$k.png")
        if [ "${c:-0}" -ge 16 ]; then
            echo "$work/drawn$k.png"
            return 0
        fi
        sleep 0.5
    done
    return 1
}

e2e_finish() {
    if [ $failures -ne 0 ]; then
        echo "$E2E_NAME: $failures failure(s); files in $work" >&2
        exit 1
    fi
    echo "$E2E_NAME: pass"
    exit 0
}
