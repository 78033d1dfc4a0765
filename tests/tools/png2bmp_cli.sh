#!/bin/sh
# png2bmp end to end: pictures of every kind become .bmp files, failures write nothing and
# name the decoder's error.
set -eu
tool=$1
suite=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

for name in basn0g01 basn0g02 basi0g04 basn0g16 basn2c08 basi2c16 basn3p01 basi3p02 basn3p04 \
            basn3p08 basn4a08 basi4a16 basn6a08 basn6a16; do
    "$tool" "$suite/$name.png" "$dir/$name.bmp"
    [ "$(head -c 2 "$dir/$name.bmp")" = BM ] || { echo "$name: not a BMP file"; exit 1; }
done
"$tool" "$suite/basn6a08.png" "$dir/bgr.bmp" --format 0x0608010D
# 32 x 32 pixels at 24 bits: 96-byte rows after 54 bytes of headers.
[ "$(stat -c %s "$dir/bgr.bmp")" = $((54 + 96 * 32)) ] || { echo "BGR file size"; exit 1; }

if "$tool" "$suite/xs1n0g01.png" "$dir/broken.bmp" 2> "$dir/err"; then
    echo "a broken PNG was accepted"; exit 1
fi
grep -q '0x2000 PNG_ERR_FORMAT' "$dir/err" || { echo "no error code: $(cat "$dir/err")"; exit 1; }
[ ! -e "$dir/broken.bmp" ] || { echo "a file was written for a broken PNG"; exit 1; }
if "$tool" "$suite/basn0g08.png" "$dir/x.bmp" --format 0x0608010D 2> "$dir/err"; then
    echo "an unsuitable format was accepted"; exit 1
fi
grep -q '0x2002 PNG_ERR_OUTPUT_FORMAT' "$dir/err" || { echo "wrong error: $(cat "$dir/err")"; exit 1; }
# 65 bytes that claim 30000 x 30000 RGBA pixels (CRCs are not checked): refused at once.
printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\0u0\0\0u0\010\006\0\0\0\0\0\0\0\0\0\0\010IDATx\234\003\0\0\0\0\001\0\0\0\0\0\0\0\0IEND\0\0\0\0' \
    > "$dir/claims.png"
if "$tool" "$dir/claims.png" "$dir/claims.bmp" 2> "$dir/err"; then
    echo "a picture its stream cannot fill was accepted"; exit 1
fi
grep -q '0x2000 PNG_ERR_FORMAT' "$dir/err" || { echo "wrong error: $(cat "$dir/err")"; exit 1; }
if "$tool" only-one-argument 2> /dev/null; then echo "usage not checked"; exit 1; fi
echo "png2bmp end to end: ok"
