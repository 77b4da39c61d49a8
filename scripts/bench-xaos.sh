#!/bin/bash
# Whole-process CPU time of zorv-render and of XaoS (Debian package xaos) on the
# same image: Julia set, 1920×1080, c = −0.75 + 0.1i, plane width 2.4 centred
# on 0, 60 iterations, |z| > 2, one thread each, both writing their file. The two
# run in turn; prints the median CPU seconds of each and the median of the
# per-pair ratios zorv-render / xaos. Prints figures only; sets no target.
# Usage: scripts/bench-xaos.sh [RUNS]   (default 9; installs xaos when missing)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}

if ! command -v xaos >/dev/null 2>&1; then
    if [ "$(id -u)" = 0 ]; then
        apt-get install -y xaos >/dev/null
    else
        echo "bench-xaos: xaos is missing; install the package xaos (as root: apt-get install -y xaos)" >&2
        exit 2
    fi
fi
render=$root/build/native/bin/zorv-render
[ -x "$render" ] || "$root/scripts/build.sh" native >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# XaoS's bailout bounds |z|², so 4 is |z| > 2; its view is centre and size.
cat >"$work/julia.xaf" <<'XAF'
(initstate)
(formula 'mandel)
(julia #t)
(juliaseed -0.75 0.1)
(maxiter 60)
(bailout 4)
(view 0 0 2.4 1.35)
(usleep 100000)
XAF

zorv() {
    "$render" --threads 1 --size 1920x1080 --julia -0.75 0.1 --width-plane 2.4 --max-iter 60 \
        --escape modulus --threshold 2 --out "$work/zorv"
}
xaos_render() {
    QT_QPA_PLATFORM=offscreen xaos -threads 1 -render "$work/julia.xaf" -size 1920x1080 \
        -renderframerate 10 -basename "$work/xaos"
}
# User plus system seconds of one whole process (and its children).
cpu() {
    local TIMEFORMAT='%3U %3S'
    { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f\n", $1 + $2 }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cpu zorv >/dev/null
cpu xaos_render >/dev/null
: >"$work/a"
: >"$work/b"
: >"$work/ratio"
for _ in $(seq "$runs"); do
    a=$(cpu zorv)
    b=$(cpu xaos_render)
    echo "$a" >>"$work/a"
    echo "$b" >>"$work/b"
    awk -v a="$a" -v b="$b" 'BEGIN { if (b > 0) printf "%.4f\n", a / b }' >>"$work/ratio"
done
echo "Julia 1920x1080, c = -0.75+0.1i, width 2.4, 60 iterations, |z| > 2, one thread, $runs runs each"
echo "zorv-render CPU s (median): $(median <"$work/a")"
echo "xaos        CPU s (median): $(median <"$work/b")"
echo "CPU ratio zorv-render / xaos (median of pairs): $(median <"$work/ratio")"
