#!/usr/bin/env bash
# The launcher, the About panel and the show at 100, 125, 150 and 200 % scaling (96, 120, 144
# and 192 pixels per inch, which Wine reads from LogPixels as each process starts): the
# launcher grows with its text and nothing in it is clipped, overlaps or leaves it; the panel
# shows the artwork drawn for its scale, pixel for pixel, with the ticker's text on its strip;
# told it moved to a monitor of another scale, it takes that scale; the show covers the
# screen at full resolution. PLUVETTE_E2E_SHOTS names a folder for screenshots.
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2")
runner=$(readlink -f "$3") # opens the About panel from the program's resources
fit_probe=$(readlink -f "$4") # reports the launcher's layout at its scale
art=$(cd "$(dirname "$0")/../../src/resources/about" && pwd)
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f > /dev/null 2>&1
}
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; end_own_session; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session

# Opens the panel centred on (640, 400), telling it of a new scale after 1.5 s when one is
# given, and reads where its controls are once they are there.
open_panel() {
    rm -f "$work/layout.txt"
    xdotool mousemove 640 400
    (cd "$work" && exec wine "$runner" "$(winpath "$work/layout.txt")" "$@") &
    pid=$!
    wait_for_file_of "$work/layout.txt" "$pid" "the panel did not open"
    sleep 0.8 # the fade-in
    read_layout
}
read_layout() {
    declare -gA at=()
    while read -r id x y w h; do at[$id]="$x $y $w $h"; done < <(tr -d "\r" < "$work/layout.txt")
}
close_panel() {
    kill "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
    pid=
}
# Every picture of the panel is the one drawn for the scale, where the layout says.
shows_scale() {
    local folder=$art x y w h control
    [ "$2" = 100 ] || folder=$art/$2
    read -r _ _ w h <<< "${at[panel]}"
    [ "${w}x$h" = "$(identify -format %wx%h "$folder/background.${3:-png}")" ] ||
        fail "the panel is ${w}x$h at $2 %"
    for control in $IDC_ABOUT_CLOSE:close $IDC_SOCIAL1:social1 $IDC_SOCIAL2:social2 $IDC_GP:gp \
        $IDC_DONATE:donate $IDC_VISIT:visit $IDC_TICKER:ticker; do
        read -r x y w h <<< "${at[${control%%:*}]}"
        convert "$work/$1.png" -crop "${w}x$h+$x+$y" +repage "$work/part.png"
        [ "$(identify -format %wx%h "$folder/${control#*:}.png")" = "${w}x$h" ] ||
            fail "${control#*:} is ${w}x$h at $2 %"
        # The ticker's strip carries its text: only the part left of the text is compared.
        [ "${control#*:}" != ticker ] || w=$((w * 4 / 100))
        convert "$work/part.png" -crop "${w}x$h+0+0" +repage "$work/part.png"
        convert "$folder/${control#*:}.png" -crop "${w}x$h+0+0" +repage "$work/drawn.png"
        [ "$(differing "$work/drawn.png" "$work/part.png" 2%)" -lt $((w * h / 50)) ] ||
            fail "${control#*:} does not show its $2 % picture"
    done
    # The ticker's white text lies on its strip, inside its edges.
    read -r x y w h <<< "${at[$IDC_TICKER]}"
    convert "$work/$1.png" -crop "${w}x$h+$x+$y" +repage -fill black +opaque white -trim \
        -format '%X %Y %w %h\n' info: | tr -d + > "$work/text.txt"
    read -r tx ty tw th < "$work/text.txt"
    echo "$2 %: ticker text ${tw}x$th at ($tx, $ty) on a ${w}x$h strip"
    [ "$tx" -gt 0 ] && [ "$ty" -gt 0 ] && [ $((tx + tw)) -lt "$w" ] && [ $((ty + th)) -lt "$h" ] &&
        [ "$th" -ge $((h / 4)) ] || fail "the ticker's text is clipped or out of scale at $2 %"
}

mkdir -p "$work/launcher"
for dpi_scale in 96:100 120:125 144:150 192:200; do
    dpi=${dpi_scale%%:*} scale=${dpi_scale#*:}
    set_dpi "$dpi"
    # The launcher in every language: its size follows the scale, and every text fits its
    # control (the probe names each one that does not).
    wine "$fit_probe" 2> /dev/null | tr -d '\r' > "$work/fit.txt"
    read -r _ lw lh < "$work/fit.txt"
    echo "$scale %: launcher ${lw}x$lh in English;" \
        "$(sort -k2 -n "$work/fit.txt" | tail -n 1 | cut -d' ' -f1-3 | tr ' ' ' ')" widest
    if grep -v -E '^[a-zA-Z-]+ [0-9]+ [0-9]+$' "$work/fit.txt"; then
        fail "the launcher at $scale % cuts or overlaps the texts above"
    fi
    [ "$scale" != 100 ] || base_width=$lw
    [ $((lw * 100 / base_width)) -ge $((scale * 9 / 10)) ] ||
        fail "the launcher does not grow to $scale %"
    if [ -n "$shots" ]; then
        (cd "$work/launcher" && exec wine "$exe") &
        pid=$!
        wait_for launcher_visible || fail "the launcher did not open at $scale %"
        sleep 0.5
        shot "launcher-$scale"
        xdotool key alt+F4
        wait_for ended || fail "the launcher did not close"
        pid=
    fi
    # The About panel at the scale's artwork.
    open_panel
    shot "about-$scale"
    if [ "$scale" = 100 ]; then
        shows_scale "about-$scale" "$scale" bmp
    else
        shows_scale "about-$scale" "$scale"
    fi
    close_panel
done

# Moved from a 100 % monitor to a 200 % one, the panel takes the larger artwork.
set_dpi 96
open_panel 192
sleep 1.5
read_layout
shot about-moved
shows_scale about-moved 200
close_panel

# The show at 150 % covers the whole screen, pixel for pixel: the water over the captured
# screen, whose picture matches the screen before.
set_dpi 144
install_saver
convert -size "${width}x$height" plasma:fractal -blur 0x4 "$work/desktop.png"
display -immutable -borderwidth 0 -geometry +0+0 "$work/desktop.png" > /dev/null 2>&1 &
desktop=$!
sleep 1.5
start_saver /s
shot show-150
changed=$(differing "$work/desktop.png" "$work/show-150.png" 3%)
echo "150 %: the show differs from the screen in $changed of $((width * height)) pixels"
[ "$changed" -lt $((width * height / 5)) ] || fail "the show at 150 % is not the screen's pixels"
xdotool key a
expect_end "a key"
kill "$desktop"
echo "scaling end to end: ok"
