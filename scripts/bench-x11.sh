#!/bin/bash
# Whole-process CPU of a running saver on a 1920x1080 Xvfb screen with the
# default settings, at the default pace of 26 columns every 200 ms: the display
# mode zorv (from the Windows saver benchmark's seed) and, when the Windows build
# is there, zorv.scr /s under Wine. Each figure is the process's user + system
# CPU from 10 s after its start (its first picture is up) to SECONDS later, per
# 200-ms tick; and zorv's CPU for the whole run, start to end. Medians of RUNS.
# Prints figures only; sets no target.
# Usage: scripts/bench-x11.sh [SECONDS] [RUNS]   (default 60 and 3)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$("$root/scripts/host-arch.sh")  # win64 where no 32-bit program runs
seconds=${1:-60}
runs=${2:-3}
zorv=$root/build/native/bin/zorv
scr=$root/build/$arch/bin/zorv.scr
[ -x "$zorv" ] || "$root/scripts/build.sh" native >/dev/null

work=$(mktemp -d)
xvfb=""
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 5 -screen 0 1920x1080x24 -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
xvfb=$!
until [ -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME="$work/config"  # no settings file: the defaults

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # user + system CPU of the whole process
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
per_tick() {  # CPU clock ticks over the measured span -> milliseconds per 200-ms tick
    awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.3f\n", t / hz * 1000 / (s * 5) }'
}
steady() {  # pid: CPU ms per tick from 10 s after the start to SECONDS later
    sleep 10
    local start
    start=$(ticks "$1")
    sleep "$seconds"
    per_tick $(($(ticks "$1") - start))
}

for run in $(seq "$runs"); do
    TIMEFORMAT='%3U %3S'
    { time { "$zorv" -root -seed 20261206 & pid=$!
             steady "$pid" >>"$work/zorv"
             kill -TERM "$pid"; wait "$pid"; }; } 2>>"$work/zorv-whole"
done
echo "1920x1080, default settings, 26 columns every 200 ms; $seconds s measured from 10 s after the start; $runs runs"
echo "zorv (X11), CPU per tick, whole process (median): $(median <"$work/zorv") ms"
awk -v s="$seconds" '{ printf "%.3f\n", ($1 + $2) * 1000 / ((s + 10) * 5) }' "$work/zorv-whole" >"$work/zorv-all"
echo "zorv (X11), CPU per tick over the whole run, start-up and first picture included (median): $(median <"$work/zorv-all") ms"

if [ -f "$scr" ] && command -v wine >/dev/null 2>&1; then
    export WINEPREFIX=$root/build/$arch/bench-wineprefix WINEDEBUG=-all WINEARCH=$arch WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1 </dev/null; wineserver -w; }
    for run in $(seq "$runs"); do
        wine "$scr" /s >/dev/null 2>&1 </dev/null &
        pid=$!
        steady "$pid" >>"$work/wine"
        kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
        wineserver -k >/dev/null 2>&1 || true
    done
    echo "zorv.scr /s under Wine, CPU per tick, whole Windows process (median): $(median <"$work/wine") ms"
fi
