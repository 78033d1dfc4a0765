#!/usr/bin/env bash
# Runs the show and the screen saver over two monitors: an X server with the dummy video
# driver of its own, one 1920x1080 monitor and a 1280x1024 one beside it, first right of the
# primary and then left of it (where Windows gives it negative coordinates). Each monitor
# shows water over its own part of the screen, or the picture centred on it; rain falls on
# both; clicks ripple the monitor they are on and input on either ends a screen saver.
# PLUVETTE_E2E_SHOTS names a folder to keep the screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2")
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

start_monitors "$work" 1920x1080 1280x1024 || fail "no X server with two monitors"
use_own_prefix

mkdir -p "$work/saver" "$work/elsewhere"
cp "$exe" "$work/saver/pluvette.scr"
convert -size 3200x1080 plasma:fractal -blur 0x4 "$work/desktop.png"
convert -size 400x300 gradient:'#ff8000-#0040ff' PNG24:"$work/picture.png"
saver=$work/saver/pluvette.scr
# Crops a screenshot to a monitor: crop NAME WxH+X+Y SUFFIX.
crop() { convert "$work/$1.png" -crop "$2" +repage "$work/$1-$3.png"; }

# Both layouts: the second monitor's area in the screenshots, and a point on it.
for layout in right-of left-of; do
    xrandr --output DUMMY1 "--$layout" DUMMY0
    xrandr > /dev/null # a full query, which Wine's cheaper one then agrees with
    # Wine reads the monitors when its server starts: the old one must be gone first, and
    # the new one up before the program asks.
    wineserver -k 2> /dev/null || true
    wineserver -w
    sleep 1
    wine cmd /c exit > /dev/null 2>&1
    # shellcheck disable=SC2034 # first and second are read as ${!monitor}
    if [ "$layout" = right-of ]; then
        first=1920x1080+0+0 second=1280x1024+1920+0 on_second=(2500 500) screen_left=0
    else
        first=1920x1080+1280+0 second=1280x1024+0+0 on_second=(600 500) screen_left=1280
    fi
    echo "== second monitor $layout the primary"
    display -immutable -borderwidth 0 -geometry +0+0 "$work/desktop.png" > /dev/null 2>&1 &
    desktop=$!
    sleep 2
    shot "desktop-$layout"

    # 1. /s: each monitor shows its own part of the screen under water, and rain on both.
    start_saver /s
    shot "saver-$layout"
    sleep 1.5
    shot "saver-later-$layout"
    for monitor in first second; do
        area=${!monitor}
        for name in "desktop-$layout" "saver-$layout" "saver-later-$layout"; do
            crop "$name" "$area" "$monitor"
        done
        pixels=$(echo "$area" | awk -F'[x+]' '{ print $1 * $2 }')
        changed=$(differing "$work/desktop-$layout-$monitor.png" "$work/saver-$layout-$monitor.png" 3%)
        echo "/s, $monitor monitor: $changed of $pixels pixels differ from the screen before"
        [ "$changed" -lt $((pixels / 5)) ] || fail "the $monitor monitor does not show its screen"
        rain=$(differing "$work/saver-$layout-$monitor.png" "$work/saver-later-$layout-$monitor.png")
        [ "$rain" -gt 50 ] || fail "no rain on the $monitor monitor"
    done
    # The pointer moving away on the second monitor ends it; so does a click there.
    xdotool mousemove "${on_second[@]}"
    sleep 0.3
    xdotool mousemove $((on_second[0] + 40)) $((on_second[1] + 40))
    expect_end "the pointer moving on the second monitor"
    start_saver /s
    xdotool mousemove "${on_second[@]}" click 1
    expect_end "a click on the second monitor"
    kill "$desktop"

    # 2. Launch with a picture centred on each monitor; a click ripples the second monitor;
    # a right click there ends the show, Escape the next one.
    start_in_new_folder "bg=$(winpath "$work/picture.png")" "sound=null" "fitscreen=no"
    launch || fail "Launch did not start the show"
    sleep 2
    shot "show-$layout"
    for monitor in first second; do
        area=${!monitor}
        crop "show-$layout" "$area" "$monitor"
        read -r w h < <(echo "$area" | awk -F'[x+]' '{ print $1, $2 }')
        convert -size "${w}x${h}" xc:black "$work/picture.png" -gravity center -composite \
            "$work/centred-$monitor.png"
        changed=$(differing "$work/centred-$monitor.png" "$work/show-$layout-$monitor.png" 8%)
        echo "Launch, $monitor monitor: $changed pixels differ from the picture centred"
        [ "$changed" -lt 20000 ] || fail "the picture is not centred on the $monitor monitor"
    done
    read -r x0 y0 < <(echo "$second" | awk -F'[x+]' '{ print $3, $4 }')
    xdotool mousemove $((x0 + 640)) $((y0 + 512)) click 1
    sleep 0.4
    shot "click-$layout"
    crop "click-$layout" 200x200+$((x0 + 540))+$((y0 + 412)) near
    crop "show-$layout" 200x200+$((x0 + 540))+$((y0 + 412)) near
    [ "$(differing "$work/show-$layout-near.png" "$work/click-$layout-near.png" 2%)" -gt 500 ] ||
        fail "a click on the second monitor made no ripple there"
    xdotool click 3
    wait_for launcher_visible || fail "a right click on the second monitor did not end the show"
    launch || fail "Launch did not start the show again"
    sleep 1
    xdotool key Escape
    wait_for launcher_visible || fail "Escape did not end the show"
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
    pid=
done
echo "monitors_e2e: all steps passed"
