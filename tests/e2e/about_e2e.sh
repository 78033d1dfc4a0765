#!/usr/bin/env bash
# Opens the About panel under Wine on the current X display and checks what it shows and
# does: the background and the thirteen pictures in their places, centred on the pointer;
# the ticker cycling through its five texts every 700 ms; hover pictures and their reset;
# dragging; each link opening its address in a stand-in browser; Escape and Enter ignored;
# the close button and Alt+F4 ending it. PLUVETTE_E2E_SHOTS names a folder for screenshots.
set -euo pipefail
runner=$(readlink -f "$1")  # opens the panel from the program's resources
browser=$(readlink -f "$2") # records the addresses it is given
art=$(cd "$(dirname "$0")/../../src/resources/about" && pwd)
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
trap 'end_own_session; [ -n "$pid" ] && kill "$pid" 2> /dev/null; rm -rf "$work"' EXIT

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session
crop() { convert "$work/$1.png" -crop "$2" +repage "$work/$3.png"; }

use_test_browser "$browser"

# Opens the panel with the pointer at (640, 400) and reads where its controls are.
open_panel() {
    rm -f "$work/layout.txt"
    xdotool mousemove 640 400
    (cd "$work" && exec wine "$runner" "$(winpath "$work/layout.txt")") &
    pid=$!
    wait_for_file_of "$work/layout.txt" "$pid" "the panel did not open"
    sleep 0.8 # the fade-in ends about 660 ms after opening
    declare -gA at=()
    while read -r id x y w h; do at[$id]="$x $y $w $h"; done < <(tr -d "\r" < "$work/layout.txt")
}
geometry() { read -r "$2" "$3" "$4" "$5" <<< "${at[$1]}"; }
centre() {
    local x y w h
    geometry "$1" x y w h
    echo "$((x + w / 2)) $((y + h / 2))"
}
# The control's part of a screenshot equals the picture file.
shows() {
    local x y w h
    geometry "$2" x y w h
    crop "$1" "${w}x${h}+$x+$y" "part"
    [ "$(differing "$art/$3.png" "$work/part.png" 2%)" -lt $((w * h / 50)) ]
}
ended() {
    for _ in $(seq 30); do
        kill -0 "$pid" 2> /dev/null || {
            wait "$pid" || fail "the panel ended with $?"
            pid=
            return 0
        }
        sleep 0.1
    done
    return 1
}

# 1. The panel is the background's size, centred on the pointer, with every picture in place.
open_panel
shot panel
px="" py="" pw="" ph=""
geometry panel px py pw ph
echo "panel: ${pw}x$ph at ($px, $py)"
[ "$pw" = 257 ] && [ "$ph" = 344 ] || fail "the panel is ${pw}x$ph, not the background's size"
[ $((px + 128 - 640)) -le 1 ] && [ $((py + 172 - 400)) -le 1 ] || fail "not centred on the pointer"
convert "$art/background.bmp" -crop 257x150+0+45 +repage "$work/background-part.png"
crop panel "257x150+$px+$((py + 45))" panel-part
[ "$(differing "$work/background-part.png" "$work/panel-part.png" 2%)" -lt 200 ] ||
    fail "the background picture is not shown"
for control in $IDC_ABOUT_CLOSE:close $IDC_SOCIAL1:social1 $IDC_SOCIAL2:social2 $IDC_GP:gp \
    $IDC_DONATE:donate $IDC_VISIT:visit; do
    shows panel "${control%%:*}" "${control#*:}" || fail "control ${control%%:*} does not show ${control#*:}"
done
read -r tx ty _ <<< "${at[$IDC_TICKER]}"

# 2. The ticker: white text 10 pixels from the strip's corner, a new text every 700 ms,
# cycling through five. The first one counts from the panel's opening.
ticker_text() {
    import -window root -crop "236x30+$tx+$ty" +repage "$work/tick.png"
    convert "$work/tick.png" -fill black +opaque white -trim -format '%X %Y %w' info: | tr -d +
    md5sum < "$work/tick.png" | cut -c1-12
}
texts=()
started=$(date +%s%N)
for i in $(seq 12); do
    read -r left top _ < <(ticker_text | head -n 1)
    [ "$left" -ge 10 ] && [ "$top" -ge 10 ] || fail "the ticker text starts at ($left, $top)"
    texts+=("$(ticker_text | tail -n 1)")
    sleep 0.35
done
distinct=$(printf '%s\n' "${texts[@]}" | sort -u | wc -l)
changes=0
for i in $(seq 1 11); do [ "${texts[$i]}" = "${texts[$((i - 1))]}" ] || changes=$((changes + 1)); done
elapsed=$((($(date +%s%N) - started) / 1000000))
echo "ticker: $distinct texts, $changes changes in 12 looks over $elapsed ms"
[ "$distinct" = 5 ] || fail "the ticker showed $distinct texts, not 5"
[ $((changes * 700)) -ge $((elapsed - 1400)) ] && [ $((changes * 700)) -le $((elapsed + 700)) ] ||
    fail "the ticker changed $changes times in $elapsed ms, not every 700 ms"

# 3. Hover: a button shows its hover picture; moving over the bare panel resets it.
read -r cx cy <<< "$(centre "$IDC_ABOUT_CLOSE")"
xdotool mousemove "$cx" "$cy" mousemove $((cx + 1)) "$cy"
sleep 0.3
shot hover
shows hover "$IDC_ABOUT_CLOSE" close-hover || fail "the close button shows no hover picture"
xdotool mousemove $((px + 128)) $((py + 100)) mousemove $((px + 129)) $((py + 100))
sleep 0.3
shot reset
shows reset "$IDC_ABOUT_CLOSE" close || fail "moving over the bare panel did not reset the close button"

# 4. Dragging by the background moves the panel with the pointer.
panel_window=$(xdotool search --class about_runner | while read -r w; do
    xdotool getwindowgeometry "$w" | grep -q 'Geometry: 257x344' && echo "$w"; done | head -n 1)
# The move starts at the first pointer move with the button held, from where the pointer is.
xdotool mousemove $((px + 128)) $((py + 100)) mousedown 1 mousemove $((px + 129)) $((py + 100))
sleep 0.1
for step in 1 2 3 4 5 6; do
    xdotool mousemove $((px + 129 + step * 10)) $((py + 100 + step * 5))
    sleep 0.05
done
xdotool mouseup 1
sleep 0.3
read -r nx ny < <(xdotool getwindowgeometry "$panel_window" | awk -F'[ ,]+' '/Position/ { print $3, $4 }')
echo "drag: the panel moved from ($px, $py) to ($nx, $ny)"
[ "$nx" = $((px + 60)) ] && [ "$ny" = $((py + 30)) ] || fail "the panel did not follow the drag"
for id in "${!at[@]}"; do
    read -r x y w h <<< "${at[$id]}"
    at[$id]="$((x + 60)) $((y + 30)) $w $h"
done

# 5. Escape and Enter leave the panel open; each link opens its address.
xdotool key Escape key Return
sleep 0.5
kill -0 "$pid" 2> /dev/null || fail "Escape or Enter ended the panel"
for id in "$IDC_TICKER" "$IDC_VISIT" "$IDC_DONATE" "$IDC_SOCIAL1" "$IDC_SOCIAL2" "$IDC_GP"; do
    read -r cx cy <<< "$(centre "$id")"
    xdotool mousemove "$cx" "$cy" click 1
    sleep 0.6
done
for _ in $(seq 20); do
    [ "$(wc -l < "$work/browser.log" 2> /dev/null || echo 0)" -ge 6 ] && break
    sleep 0.2
done
printf '%s\n' https://www.pluvette.org/ https://www.pluvette.org/ \
    https://www.pluvette.org/donate/ https://mastodon.social/@pluvette \
    https://www.youtube.com/@pluvette https://www.pluvette.org/gp/ > "$work/expected.log"
tr -d "\r" < "$work/browser.log" | diff "$work/expected.log" - || fail "the links opened other addresses"

# 6. The close button ends the panel after its fade-out; so does Alt+F4.
read -r cx cy <<< "$(centre "$IDC_ABOUT_CLOSE")"
xdotool mousemove "$cx" "$cy" click 1
sleep 0.2
kill -0 "$pid" 2> /dev/null || fail "the panel ended without fading out"
ended || fail "the close button did not end the panel"
open_panel
xdotool key alt+F4
ended || fail "Alt+F4 did not end the panel"
echo "about panel end to end: ok"
