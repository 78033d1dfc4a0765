#!/usr/bin/env bash
# A folder of pictures as the screen saver shows it on two monitors (an X server with the
# dummy video driver of its own): three pictures of distinct colours among a text file and a
# broken PNG, one in a folder below; each monitor shows one of the three, the two differ, and
# with change=0.05 (three seconds) each monitor's picture changes while the rain goes on over
# every screenshot of the fade. A folder of nothing but junk shows the screen instead, dimmed
# at each change.
# PLUVETTE_E2E_SHOTS names a folder to keep the screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2> /dev/null || true
    end_own_session
    [ -z "$monitors_server" ] || kill "$monitors_server" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_monitors "$work" 1024x768 800x600 || fail "no X server with two monitors"
use_own_prefix
install_saver
monitors=(1024x768+0+0 800x600+1024+0)

mkdir -p "$work/pictures/more" "$work/junk"
convert -size 320x240 xc:'#e02020' PNG24:"$work/pictures/red.png"
convert -size 320x240 xc:'#20c020' -quality 95 "$work/pictures/green.jpg"
convert -size 320x240 xc:'#2040e0' BMP3:"$work/pictures/more/blue.bmp"
echo "not a picture" > "$work/pictures/notes.txt"
head -c 200 "$work/pictures/red.png" > "$work/pictures/broken.png"
cp "$work/pictures/notes.txt" "$work/pictures/broken.png" "$work/junk/"

# The colour a monitor of a screenshot shows most: red, green, blue or other.
colour_on() { # screenshot monitor-area
    convert "$work/$1.png" -crop "$2" +repage -scale 1x1! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info: |
        awk '{ if ($1 > 150 && $2 < 90 && $3 < 90) print "red";
               else if ($2 > 130 && $1 < 90 && $3 < 90) print "green";
               else if ($3 > 150 && $1 < 90 && $2 < 120) print "blue";
               else print "other" }'
}

# 1. Each monitor shows one of the pictures, the two differ; the junk is never shown.
printf '%s\r\n' "bg=$(winpath "$work/pictures")" "sound=null" "fitscreen=yes" "change=0.05" \
    > "$work/saver/config.txt"
start_saver /s
shot folder-start
first=$(colour_on folder-start "${monitors[0]}")
second=$(colour_on folder-start "${monitors[1]}")
echo "first monitor: $first, second monitor: $second"
[ "$first" != other ] && [ "$second" != other ] || fail "a monitor shows no picture of the folder"
[ "$first" != "$second" ] || fail "both monitors show the same picture"

# 2. Within five seconds each monitor's picture changes; the rain goes on through the fade.
changed_first='' changed_second='' previous=$work/folder-start.png
for shot_number in $(seq 1 16); do
    sleep 0.3
    shot "folder-$shot_number"
    rain=$(differing "$previous" "$work/folder-$shot_number.png")
    [ "$rain" -gt 50 ] || fail "the water stood still between two screenshots ($rain pixels)"
    [ "$(colour_on "folder-$shot_number" "${monitors[0]}")" = "$first" ] || changed_first=yes
    [ "$(colour_on "folder-$shot_number" "${monitors[1]}")" = "$second" ] || changed_second=yes
    previous=$work/folder-$shot_number.png
done
[ -n "$changed_first" ] && [ -n "$changed_second" ] ||
    fail "the pictures did not change (first: ${changed_first:-no}, second: ${changed_second:-no})"
xdotool key a
expect_end "a key"

# 3. A folder holding no picture: the screen saver shows the screen, and dims it by a quarter
# at each change.
printf '%s\r\n' "bg=$(winpath "$work/junk")" "sound=null" "fitscreen=yes" "change=0.05" \
    > "$work/saver/config.txt"
convert -size 1824x768 plasma:fractal -blur 0x4 "$work/desktop.png"
display -immutable -borderwidth 0 -geometry +0+0 "$work/desktop.png" > /dev/null 2>&1 &
desktop=$!
sleep 2
start_saver /s
shot junk-folder
changed=$(differing "$work/desktop.png" "$work/junk-folder.png" 3%)
echo "a folder of junk: $changed pixels differ from the screen"
[ "$changed" -lt $((1824 * 768 / 5)) ] || fail "a folder of junk does not show the screen"
sleep 4
shot dimmed
brightness() { convert "$work/$1.png" -colorspace Gray -format '%[fx:int(1000*mean)]' info:; }
echo "brightness: $(brightness junk-folder) at the start, $(brightness dimmed) after a change"
[ "$(brightness dimmed)" -lt $(($(brightness junk-folder) * 85 / 100)) ] || fail "the screen was not dimmed"
xdotool key a
expect_end "a key"
kill "$desktop"
echo "folders end to end: ok"
