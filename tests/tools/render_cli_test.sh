#!/bin/sh
# zorv-render as a program: refusals (exit 2, one line naming the option), the
# saver run's files and parameter lines, the start limit on any number of
# threads, the settings file, lost output, and fixed images whose checksums pin
# every option's effect.
render=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' HUP INT TERM
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
sum_of() { cksum <"$1" | cut -d' ' -f1; }

refused() {  # the option the error must name, then the arguments
    option=$1; shift
    "$render" "$@" >"$work/out" 2>"$work/err"
    code=$?
    [ "$code" -eq 2 ] || fail "$* exited $code, not 2"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$*: not one error line"
    grep -q -- "^zorv-render: $option:" "$work/err" || fail "$* did not name $option: $(cat "$work/err")"
}
refused --seed --size 10x10
refused --size  # no arguments at all
refused --seed --seed 4294967296 --size 10x10
refused --size --seed 1 --size 65537x1
for side in 10x0 0x10; do refused --size --seed 1 --size $side; done
refused --size --seed 1 --size 16385x16384
refused --images --seed 1 --size 10x10 --images 0
refused --threads --seed 1 --size 10x10 --threads 0
refused --limit --seed 1 --size 10x10 --limit -3
refused --limit --seed 1 --size 10x10 --limit 1000000001
refused '--a?b' --seed 1 --size 10x10 "--a
b"
refused "--$(printf %038d 0)\.\.\." --seed 1 --size 10x10 "--$(printf %039d 0)"  # named by its first 40 characters
for option in '--center-plane 0 0' '--width-plane 2' '--max-iter 60' '--escape sum' '--threshold 2' '--palette-seed 1'; do
    refused "${option%% *}" --seed 1 --size 10x10 $option  # only a fixed image takes it
done
refused --julia --size 10x10 --julia nan 0
refused --max-iter --size 10x10 --mandelbrot --max-iter 2147483648
refused --palette-seed --size 10x10 --mandelbrot --palette-seed 4294967296
refused --escape --size 10x10 --mandelbrot --escape circle
refused --threshold --size 10x10 --mandelbrot --threshold inf
refused --settings --seed 1 --size 8x8 --settings "$work/missing.ini"
: >"$work/file"
# The largest sizes (and limit) are accepted; the folder it cannot make then ends
# the run with 1, for the saver's images and a fixed one alike.
for kind in '--seed 1 --size 16384x16384' '--mandelbrot --max-iter 2147483647 --size 65536x1'; do
    # One image at most: a run that missed the refusal must not fill the disk.
    "$render" $kind --images 1 --out "$work/file" 2>"$work/err"
    [ $? -eq 1 ] && grep -q -- --out "$work/err" || fail "$kind: an unwritable --out should exit 1 naming it"
done

# Seed 1 at 96x64: the two presented images are the files; the first is the
# renderer's golden image (the same pixels the core tests pin).
"$render" --seed 1 --size 96x64 --images 2 --limit 1000000000 --params --out "$work/g" >"$work/params" 2>"$work/err" &&
    [ ! -s "$work/err" ] || fail "saver run failed, or spoke of a limit it did not reach: $(cat "$work/err")"
[ -s "$work/g/zorv-0002.bmp" ] && [ ! -e "$work/g/zorv-0003.bmp" ] || fail "--images 2 wrote other files"
[ "$(sum_of "$work/g/zorv-0001.bmp")" = 1849376233 ] || fail "the first image differs from the golden image"
[ "$(grep -c '"fate":"presented"' "$work/params")" = 2 ] || fail "not two presented parameter lines"
[ "$(tail -n 1 "$work/params" | grep -c '"fate":"unfinished"}$')" = 1 ] || fail "the last line is not the unfinished image"
# The first presented image's line whole (image 5, maxIter 45, the sum test, ...).
[ "$(grep '"fate":"presented"' "$work/params" | head -n 1 | cksum)" = "1481137591 2422" ] || fail "the first presented image's line"
grep -q '"modeSelect":0.61339152195806756,"mandelbrot":true,' "$work/params" || fail "mode and its flag"

# Limits beyond the sliders: one thread ends paints mid-column, several do not;
# the start limit is exact and the output is the same, also when the system
# gives fewer threads than asked (16 MB stacks in 12 MB of address space: the
# first helper does not start).
printf '[ZorvSaver]\r\nIters=20000\r\nSpread=50\r\n' >"$work/big.ini"
big() {  # name, address space in KB, then the options
    name=$1; space=$2; shift 2
    (ulimit -s 16384 && ulimit -v "$space" && exec "$render" --seed 1 --size 16x12 --settings "$work/big.ini" \
        --images 9 --limit 6 --params --out "$work/$name" "$@") >"$work/$name.txt" 2>"$work/$name.err" ||
        fail "$*: $(cat "$work/$name.err")"
}
big t1 unlimited --threads 1
big t4 unlimited --threads 4
big few 12000 --threads 1024
[ "$(wc -l <"$work/t1.txt")" -eq 6 ] && grep -q 'stopped after 6 images' "$work/t1.err" || fail "--limit 6 not exact"
timeout 60 "$render" --seed 1 --size 1x1 --images 1000000000 --out "$work/one" 2>&1 >/dev/null |
    grep -q 'stopped after 10000 images' || fail "the start limit is not 10000 by default"
diff -r "$work/t1" "$work/t4" >/dev/null && cmp -s "$work/t1.txt" "$work/t4.txt" || fail "4 threads differ from 1"
grep -q 'thread 2 did not start (.*); going on with 1$' "$work/few.err" && diff -r "$work/t1" "$work/few" >/dev/null &&
    cmp -s "$work/t1.txt" "$work/few.txt" || fail "a thread that could not start changed the run"

# Lost output is an error: standard output on a full disk, a file beyond the
# file size limit (which must not be left behind cut short); so is no memory
# for the picture.
"$render" --seed 1 --size 8x8 --params --out "$work/full" >/dev/full 2>"$work/err"
[ $? -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "--params to a full disk should exit 1 with one line"
(trap '' XFSZ && ulimit -f 8 && "$render" --size 60x40 --mandelbrot --out "$work/cut" >/dev/null 2>"$work/err")
[ $? -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && [ -z "$(ls "$work/cut")" ] ||
    fail "a file cut short should exit 1 with one line and leave nothing"
(ulimit -v 300000 && exec "$render" --size 16384x16384 --mandelbrot --out "$work/nomem") >/dev/null 2>"$work/err"
[ $? -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] || fail "no memory for the picture should exit 1 with one line"

# The settings file is read with the saver's rules: Iters 0 makes every limit 4.
printf '[ZorvSaver]\r\nIters=0\r\nSpread=0\r\n' >"$work/s.ini"
"$render" --seed 9 --size 40x30 --limit 4 --settings "$work/s.ini" --params >"$work/p" 2>/dev/null
[ "$(grep -c '"maxIter":4,' "$work/p")" = 4 ] || fail "Iters=0 did not give maxIter 4 for every image"

fixed() {  # expected checksum, then the options
    want=$1; shift
    rm -rf "$work/f"
    "$render" --size 60x40 "$@" --out "$work/f" >/dev/null 2>"$work/err" || fail "$*: $(cat "$work/err")"
    [ "$(sum_of "$work/f/zorv-0001.bmp")" = "$want" ] || fail "fixed image $* changed"
}
fixed 3441915298 --julia -0.75 0.1 --center-plane 0.1 -0.05 --width-plane 2.4 --max-iter 60 --escape product \
    --threshold "3.$(printf %062d 0)" --palette-seed 9  # a number of 64 characters, the longest taken
fixed 3799293461 --mandelbrot  # the default limit, 100
"$render" --size 7x1 --mandelbrot --width-plane 0.5 --out "$work/row" >/dev/null && [ "$(wc -c <"$work/row/zorv-0001.bmp")" = 78 ] || fail "an image one row high, of a plane narrower than 1"

"$render" --help >"$work/help" && grep -q usage "$work/help" || fail "--help: not the usage with status 0"
"$render" --help >/dev/full 2>"$work/err"
[ $? -eq 1 ] && grep -q 'output: No space left' "$work/err" || fail "--help to a full disk: not status 1 and why"
[ "$failures" -eq 0 ] && echo "render cli: all checks passed"
exit "$failures"
