#!/bin/sh
# Runs the ripple-render program end to end: a small picture, a drop, steps, and the files
# it writes; then the failures it must report.
set -eu
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# A 4x4 picture whose pixels are all (16, 32, 48).
{ printf 'P6\n4 4\n255\n'; i=0; while [ $i -lt 16 ]; do printf '\020\040\060'; i=$((i + 1)); done; } > "$dir/in.ppm"

printf 'drop 1 1 1 5\nheights %s\nstep\nwrite %s\nheights %s\n' \
    "$dir/h0" "$dir/out.ppm" "$dir/h1" | "$tool" "$dir/in.ppm"

# The drop lands in field 1 at cell 5 (row 1, column 1).
[ "$(od -An -v -t d4 -j 84 -N 4 "$dir/h0" | tr -d ' ')" = 5 ] || { echo "drop not in field 1"; exit 1; }
[ "$(stat -c %s "$dir/h0")" = 128 ] || { echo "heights file size"; exit 1; }
# After one step on a flat field, pixel 5 is the source pixel and pixel 0 stays black.
[ "$(od -An -v -t x1 -j 26 -N 3 "$dir/out.ppm" | tr -d ' ')" = 102030 ] || { echo "rendered pixel"; exit 1; }
[ "$(od -An -v -t x1 -j 11 -N 3 "$dir/out.ppm" | tr -d ' ')" = 000000 ] || { echo "border pixel"; exit 1; }
# Field 0 (the older one, rendered and overwritten) now holds the spread of the drop.
[ "$(od -An -v -t d4 -j 24 -N 4 "$dir/h1" | tr -d ' ')" = 1 ] || { echo "propagation"; exit 1; }

fails() {
    if "$@" > /dev/null 2> "$dir/err"; then echo "expected failure: $*"; exit 1; fi
    [ -s "$dir/err" ] || { echo "no message for: $*"; exit 1; }
}
fails "$tool"
fails "$tool" "$dir/missing.ppm" < /dev/null
printf 'P5\n1 1\n255\n\0' > "$dir/gray.pgm"
fails "$tool" "$dir/gray.pgm" < /dev/null
echo 'fly 1 2' > "$dir/cmd"
fails "$tool" "$dir/in.ppm" < "$dir/cmd"
echo "write $dir/no/such/dir/out.ppm" > "$dir/cmd"
fails "$tool" "$dir/in.ppm" < "$dir/cmd"
# A PNG picture gives the same surface as the same pixels in a PPM.
printf '\211PNG\r\n\032\n' > "$dir/broken.png"
fails "$tool" "$dir/broken.png" < /dev/null
# 65 bytes that claim a 30000 x 30000 picture: refused before anything is decoded.
printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\0u0\0\0u0\010\006\0\0\0\0\0\0\0\0\0\0\010IDATx\234\003\0\0\0\0\001\0\0\0\0\0\0\0\0IEND\0\0\0\0' \
    > "$dir/claims.png"
fails "$tool" "$dir/claims.png" < /dev/null
grep -q 'size out of range' "$dir/err" || { echo "wrong error: $(cat "$dir/err")"; exit 1; }
if [ -n "${2:-}" ]; then
    printf 'step\nwrite %s\n' "$dir/from-png.ppm" | "$tool" "$2"
    [ "$(head -c 11 "$dir/from-png.ppm")" = "$(printf 'P6\n2 2\n255')" ] || { echo "PNG size"; exit 1; }
fi
echo "ripple-render end to end: ok"
