#!/bin/sh
# zorv-render as a program: exit codes, one-line errors naming the option, the
# files it writes and the settings file it reads.
render=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_refusal() {  # option, then the arguments
    option=$1; shift
    "$render" "$@" >"$work/out" 2>"$work/err"
    code=$?
    [ "$code" -eq 2 ] || fail "$* exited $code, not 2"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$* printed more than one error line"
    grep -q -- "$option" "$work/err" || fail "$* did not name $option: $(cat "$work/err")"
}

expect_refusal --bogus --seed 1 --size 8x8 --bogus
expect_refusal --settings --seed 1 --size 8x8 --settings "$work/missing.ini"

# A settings file is read with the saver's rules: Iters 0 makes every limit 4.
printf '[ZorvSaver]\r\nIters=0\r\nSpread=0\r\n' >"$work/s.ini"
"$render" --seed 9 --size 40x30 --settings "$work/s.ini" --params --out "$work/g" >"$work/params" 2>"$work/err" \
    || fail "run with settings failed: $(cat "$work/err")"
grep -q '"maxIter":4,' "$work/params" || fail "Iters=0 did not give maxIter 4"
grep -q '"maxIter":[^4]' "$work/params" && fail "a limit other than 4 with Iters=0"

"$render" --seed 3 --size 50x40 --images 2 --out "$work/g2" >/dev/null 2>"$work/err" || fail "gallery run failed"
[ -s "$work/g2/zorv-0001.bmp" ] && [ -s "$work/g2/zorv-0002.bmp" ] || fail "gallery files missing"
[ "$(head -c 2 "$work/g2/zorv-0001.bmp")" = "BM" ] || fail "not a BMP file"
[ "$(wc -c <"$work/g2/zorv-0001.bmp")" -eq $((54 + 152 * 40)) ] || fail "wrong BMP size"

"$render" --size 30x20 --julia -0.75 0.1 --width-plane 2.4 --max-iter 60 --out "$work/f" >/dev/null \
    || fail "fixed image failed"
[ -s "$work/f/zorv-0001.bmp" ] || fail "fixed image missing"

"$render" --help | grep -q usage || fail "--help shows no usage"

if [ "$failures" -eq 0 ]; then echo "render cli: all checks passed"; fi
exit "$failures"
