#!/usr/bin/env bash
# Photos as people have them, shown by the screen saver under Wine and checked by pixels:
# phone JPEGs stored sideways and upside down with an EXIF orientation, shown upright; a
# panorama with fitscreen=fit (whole, black bars) and fill (covering, cut), keeping its
# shape; a TIFF picture, which only the Windows Imaging Component reads.
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
echo "photos end to end: ok"
