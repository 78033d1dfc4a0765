#!/usr/bin/env bash
# Photos as people have them, shown by the screen saver under Wine and checked by pixels:
# phone JPEGs stored sideways and upside down with an EXIF orientation, shown upright, a
# large one too; CMYK and progressive JPEGs; a
# panorama with fitscreen=fit (whole, black bars) and fill (covering, cut), keeping its
# shape; a TIFF picture, which only the Windows Imaging Component reads; transparent parts of
# PNG (alpha and tRNS), GIF and 32-bit BMP pictures shown over black, never as the colour
# hidden under them.
# PLUVETTE_E2E_SHOTS names a folder for screenshots.
set -euo pipefail
exe=$(readlink -f "$1")
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; end_own_session; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session
install_saver

# A JPEG whose stored rows are the upright picture turned, with the EXIF orientation that
# turns them back, as a phone writes it.
phone_jpeg() { # upright orientation turn out
    convert "$1" -rotate "$3" -quality 95 "$work/stored.jpg"
    python3 - "$work/stored.jpg" "$2" "$4" << 'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
tiff = b'MM' + struct.pack('>HIH', 42, 8, 1) + struct.pack('>HHIHH', 0x0112, 3, 1, int(sys.argv[2]), 0) + struct.pack('>I', 0)
app1 = b'\xff\xe1' + struct.pack('>H', len(tiff) + 8) + b'Exif\0\0' + tiff
open(sys.argv[3], 'wb').write(data[:2] + app1 + data[2:])
PY
}
# The screen saver shows the picture with the fitscreen value; the screen then matches the
# expected picture but for the rain.
shows() { # picture fitscreen expected name
    printf '%s\r\n' "bg=$(winpath "$1")" "sound=null" "fitscreen=$2" > "$work/saver/config.txt"
    start_saver /s
    shot "$4"
    local changed
    changed=$(differing "$3" "$work/$4.png" 10%)
    echo "$4: $changed of $((width * height)) pixels differ from the expected screen"
    [ "$changed" -lt $((width * height / 10)) ] || fail "$4 is not shown as expected"
    xdotool key a
    expect_end "a key"
}

# 1. Phone photos: stored sideways (orientation 6) and upside down (3), shown upright.
convert -size 300x200 gradient:'#ff0000-#0000ff' \( -size 300x200 gradient:'#00ff00-#000000' -rotate 90 -resize 300x200! \) \
    -compose blend -define compose:args=50 -composite PNG24:"$work/upright.png"
convert "$work/upright.png" -sample "${width}x${height}!" "$work/upright-screen.png"
phone_jpeg "$work/upright.png" 6 -90 "$work/sideways.jpg"
phone_jpeg "$work/upright.png" 3 180 "$work/upside-down.jpg"
shows "$work/sideways.jpg" yes "$work/upright-screen.png" photo-orientation-6
shows "$work/upside-down.jpg" yes "$work/upright-screen.png" photo-orientation-3
# A photo many times the screen's size, stored sideways: decoded at a fraction of its size
# (chosen for its upright shape), it stands upright.
convert "$work/upright.png" -resize 4500x3000! PNG24:"$work/large.png"
phone_jpeg "$work/large.png" 6 -90 "$work/large-sideways.jpg"
shows "$work/large-sideways.jpg" yes "$work/upright-screen.png" large-photo-orientation-6
# A CMYK JPEG (inverted, as Photoshop and ImageMagick write them) in its real colours, and a
# progressive one.
convert "$work/large.png" -colorspace CMYK -quality 95 "$work/cmyk.jpg"
shows "$work/cmyk.jpg" yes "$work/upright-screen.png" cmyk-jpeg
convert "$work/large.png" -interlace Plane -quality 90 "$work/progressive.jpg"
shows "$work/progressive.jpg" yes "$work/upright-screen.png" progressive-jpeg

# Padding between two markers (four zero bytes before the quantisation tables, as some
# cameras and editors write) is no damage: shown alone, and as a folder's first picture.
python3 - "$work/progressive.jpg" "$work/padded.jpg" << 'PY'
import sys
data = open(sys.argv[1], 'rb').read()
at = data.index(b'\xff\xdb')
open(sys.argv[2], 'wb').write(data[:at] + b'\0\0\0\0' + data[at:])
PY
shows "$work/padded.jpg" yes "$work/upright-screen.png" padded-jpeg
mkdir -p "$work/padded"
cp "$work/padded.jpg" "$work/padded/"
shows "$work/padded" yes "$work/upright-screen.png" padded-jpeg-in-folder

# The same photo from a folder, changing to itself every three seconds: the next picture,
# decoded in the worker another way, stands upright too.
mkdir -p "$work/phone"
cp "$work/sideways.jpg" "$work/phone/"
printf '%s\r\n' "bg=$(winpath "$work/phone")" "sound=null" "fitscreen=yes" "change=0.05" \
    > "$work/saver/config.txt"
start_saver /s
sleep 4
shot photo-from-worker
changed=$(differing "$work/upright-screen.png" "$work/photo-from-worker.png" 10%)
echo "photo-from-worker: $changed of $((width * height)) pixels differ from the expected screen"
[ "$changed" -lt $((width * height / 10)) ] || fail "the photo from the worker is not upright"
xdotool key a
expect_end "a key"

# 2. A panorama keeps its shape: whole with bars (fit), covering the screen (fill).
convert -size 1600x400 gradient:'#ffe000-#0030ff' -fill white -draw 'circle 800,200 800,380' \
    PNG24:"$work/panorama.png"
convert "$work/panorama.png" -resize "${width}x${height}" -background black -gravity center \
    -extent "${width}x${height}" "$work/fit.png"
convert "$work/panorama.png" -resize "${width}x${height}^" -gravity center \
    -extent "${width}x${height}" "$work/fill.png"
shows "$work/panorama.png" fit "$work/fit.png" panorama-fit
shows "$work/panorama.png" FILL "$work/fill.png" panorama-fill

# 3. A TIFF picture, through the imaging component.
convert "$work/upright.png" "$work/picture.tif"
shows "$work/picture.tif" yes "$work/upright-screen.png" tiff

# 4. Transparency over black: lime under alpha 0 (left), 64 (middle) and 255 (right) shows
# black, dark green and lime, in each format that can say so; a GIF is only see-through or
# not, so its middle is see-through too.
python3 - "$work" << 'PY'
import struct, sys, zlib
work = sys.argv[1]
width, height = 150, 100
alphas = [0] * 50 + [64] * 50 + [255] * 50
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
def png(name, colour_type, pixel, extra=b''):
    rows = b''.join(b'\0' + b''.join(pixel(x) for x in range(width)) for _ in range(height))
    header = struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0)
    with open(f'{work}/{name}', 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + extra +
                chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
png('alpha.png', 6, lambda x: bytes([0, 255, 0, alphas[x]]))
levels = [0, 64, 255]
png('palette.png', 3, lambda x: bytes([levels.index(alphas[x])]),
    chunk(b'PLTE', bytes([0, 255, 0] * 3)) + chunk(b'tRNS', bytes(levels)))
png('two-levels.png', 6, lambda x: bytes([0, 255, 0, 255 if alphas[x] == 255 else 0]))
# A bitmap with the version 5 header: 32-bit fields, alpha in the top byte, rows top first.
pixels = b''.join(bytes([0, 255, 0, alphas[x]]) for _ in range(height) for x in range(width))
info = struct.pack('<IiiHHIIiiII', 124, width, -height, 1, 32, 3, len(pixels), 2835, 2835, 0, 0)
info += struct.pack('<IIII', 0xFF0000, 0xFF00, 0xFF, 0xFF000000) + b'BGRs' + bytes(124 - 60)
with open(f'{work}/alpha.bmp', 'wb') as f:
    f.write(b'BM' + struct.pack('<IHHI', 14 + 124 + len(pixels), 0, 0, 14 + 124) + info + pixels)
PY
convert "$work/two-levels.png" "$work/transparent.gif"
convert -size 50x100 xc:black xc:'#004000' xc:lime +append -sample "${width}x${height}!" \
    "$work/over-black.png"
convert -size 100x100 xc:black -size 50x100 xc:lime +append -sample "${width}x${height}!" \
    "$work/gif-over-black.png"
shows "$work/alpha.png" yes "$work/over-black.png" transparent-png-alpha
shows "$work/palette.png" yes "$work/over-black.png" transparent-png-trns
shows "$work/alpha.bmp" yes "$work/over-black.png" transparent-bmp
shows "$work/transparent.gif" yes "$work/gif-over-black.png" transparent-gif
echo "photos end to end: ok"
