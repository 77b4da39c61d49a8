#!/bin/sh
# Remakes docs/contact-sheet.png: the first image zorv-render shows from each of
# six fixed generator seeds, 3 x 2 on black. Needs scripts/build.sh native and
# ImageMagick. Usage: scripts/contact-sheet.sh [OUT.png]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
render="$root/build/native/bin/zorv-render"
out=${1:-$root/docs/contact-sheet.png}
[ -x "$render" ] || { echo "contact-sheet.sh: build the renderer first (scripts/build.sh native)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
set --
for seed in 12 7 19 42 1996 31337; do
    "$render" --seed $seed --size 400x300 --images 1 --out "$tmp/$seed" >/dev/null
    set -- "$@" "$tmp/$seed/zorv-0001.bmp"
done
mkdir -p "$(dirname "$out")"
# 256 colours, no dithering: each image has a 256-colour palette of its own, and
# the sheet has to stay small enough for the README.
montage "$@" -tile 3x2 -geometry +6+6 -background black miff:- |
    convert - -dither None -colors 256 -strip PNG8:"$out"
echo "$out: $(wc -c <"$out") bytes"
