#!/usr/bin/env bash
# Runs pluvette.exe under Wine on the current X display over a known picture and checks what
# the screen shows: the picture under the water, rain that changes it, a click that makes a
# ripple, and Escape and a right click that end the program.
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${pid:-}" ] && kill "$pid" 2> /dev/null || true' EXIT

read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
convert -size "${width}x${height}" gradient:'#1a3a6a-#8ac0e0' -fill '#f0d060' \
    -draw "circle $((width * 2 / 3)),$((height / 4)) $((width * 2 / 3 + 60)),$((height / 4))" \
    BMP3:"$work/picture.bmp"

differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
shot() { import -window root "$work/$1.png"; }
start() {
    wine "$exe" "$(winepath -w "$work/picture.bmp")" &
    pid=$!
    sleep 2
}
expect_exit() {
    for _ in $(seq 50); do
        kill -0 "$pid" 2> /dev/null || { wait "$pid"; pid=; return 0; }
        sleep 0.1
    done
    echo "FAIL: the program did not end after $1"
    exit 1
}
total=$((width * height))

start
convert "$work/picture.bmp" "$work/picture.png"
shot first
changed=$(differing "$work/picture.png" "$work/first.png")
echo "pixels unlike the picture at start: $changed of $total"
[ "$changed" -lt $((total / 4)) ] || { echo "FAIL: the screen does not show the picture"; exit 1; }

sleep 1
shot later
rained=$(differing "$work/first.png" "$work/later.png")
echo "pixels changed by a second of rain: $rained"
[ "$rained" -gt 100 ] || { echo "FAIL: no rain"; exit 1; }

xdotool mousemove $((width / 3)) $((height / 2)) click 1
sleep 0.3
shot clicked
region="200x200+$((width / 3 - 100))+$((height / 2 - 100))"
convert "$work/picture.png" -crop "$region" "$work/picture-part.png"
convert "$work/clicked.png" -crop "$region" "$work/clicked-part.png"
rippled=$(differing "$work/picture-part.png" "$work/clicked-part.png")
echo "pixels changed around the click: $rippled"
[ "$rippled" -gt 2000 ] || { echo "FAIL: no ripple where the pointer clicked"; exit 1; }

xdotool key Escape
expect_exit "Escape"

start
xdotool mousemove 50 50 click 3
expect_exit "a right click"
echo "preview end to end: ok"
