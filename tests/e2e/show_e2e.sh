#!/usr/bin/env bash
# Runs pluvette.exe under Wine on the current X display in working folders of its own, with
# config.txt naming a picture or the screen, launches the show from the launcher and checks
# what the screen shows: the picture centred or stretched, the screen captured, rain (none,
# as designed, heavy) and clicks that ripple it, the keys and the right click that end it,
# and the error boxes of a missing picture and of music that no program plays.
# PLUVETTE_E2E_SHOTS names a folder to keep the screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
player=$(readlink -f "$2") # a stand-in music player
probe_exe=$(readlink -f "$3") # reads the launcher's controls
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
desktop=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; [ -n "$desktop" ] && kill "$desktop" 2> /dev/null; end_own_session; rm -rf "$work"' EXIT

convert -size 400x300 gradient:'#ff8000-#0040ff' -fill white -draw 'circle 200,150 200,200' \
    PNG24:"$work/picture.png"

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session
total=$((width * height))
# Starts the program in a fresh folder whose config.txt holds the given lines, and launches
# the show.
start() {
    start_in_new_folder "$@"
    launch || fail "Launch did not start the show"
    # The show's window appears once its picture is in place, or an error box instead.
    wait_for show_or_box || true
    sleep 1.5
}
expect_exit() {
    local code
    for _ in $(seq 80); do
        if ! kill -0 "$pid" 2> /dev/null; then
            code=0
            wait "$pid" || code=$?
            pid=
            [ "$code" = "$1" ] || fail "exit code $code after $2, not $1"
            return 0
        fi
        sleep 0.1
    done
    fail "the show did not end after $2"
}
# The show ended and gave the launcher back, which Alt+F4 closes.
back_to_launcher() {
    wait_for launcher_visible || fail "the launcher did not come back after $1"
    xdotool key alt+F4
    expect_exit 0 "closing the launcher after $1"
}
# Presses Return on every box called "Error" until the program has ended; the screenshots
# of the boxes are named after the label.
dismiss_error_boxes() {
    local label=$1
    local seen=0 box
    for _ in $(seq 60); do
        box=$(xdotool search --name '^Error$' 2> /dev/null | head -n 1) || true
        if [ -n "$box" ]; then
            shot "$label-box-$seen"
            xdotool windowfocus --sync "$box" key Return 2> /dev/null || xdotool key Return
            seen=$((seen + 1))
            sleep 0.5
        elif [ $seen -gt 0 ] && ! kill -0 "$pid" 2> /dev/null; then
            break
        else
            sleep 0.2
        fi
    done
    [ $seen -gt 0 ] || fail "no error box appeared"
}

# 1. A picture smaller than the screen is centred at its own size, the rest is black.
start "bg=$(winpath "$work/picture.png")" "sound=null" "fitscreen=no"
shot centred
x=$((width / 2 - 200)) y=$((height / 2 - 150))
convert "$work/centred.png" -crop "400x300+$x+$y" +repage "$work/centred-part.png"
changed=$(differing "$work/picture.png" "$work/centred-part.png" 10%)
echo "centred: $changed of 120000 picture pixels differ"
[ "$changed" -lt 30000 ] || fail "the picture is not at ($x, $y)"
convert "$work/centred.png" -crop "${x}x${height}+0+0" +repage "$work/left.png"
[ "$(convert "$work/left.png" -format '%[fx:maxima.r+maxima.g+maxima.b]' info:)" = 0 ] ||
    fail "left of the picture is not black"

# 2. Rain changes the picture over time; a click makes a large ripple where it lands.
sleep 1
shot later
rained=$(differing "$work/centred.png" "$work/later.png")
echo "rain: $rained pixels changed in a second"
[ "$rained" -gt 50 ] || fail "no rain"
cx=$((x + 100)) cy=$((y + 150))
xdotool mousemove "$cx" "$cy" click 1
sleep 0.3
shot clicked
convert "$work/later.png" -crop "120x120+$((cx - 60))+$((cy - 60))" +repage "$work/before-click.png"
convert "$work/clicked.png" -crop "120x120+$((cx - 60))+$((cy - 60))" +repage "$work/after-click.png"
rippled=$(differing "$work/before-click.png" "$work/after-click.png")
echo "click: $rippled pixels changed around it"
[ "$rippled" -gt 1000 ] || fail "no ripple where the pointer clicked"
xdotool key Escape
back_to_launcher "Escape"

# 2b. Without rain the water far from the pointer stays still; heavy rain changes more of the
# picture in a second than the rain as designed did.
start "bg=$(winpath "$work/picture.png")" "sound=null" "fitscreen=yes" "rain=none"
shot dry
sleep 2
shot dry-later
convert "$work/dry.png" -crop 150x150+0+0 +repage "$work/dry-corner.png"
convert "$work/dry-later.png" -crop 150x150+0+0 +repage "$work/dry-later-corner.png"
still=$(differing "$work/dry-corner.png" "$work/dry-later-corner.png")
echo "no rain: $still pixels of a far corner changed in two seconds"
[ "$still" = 0 ] || fail "the water moved without rain"
xdotool key Escape
back_to_launcher "Escape"
start "bg=$(winpath "$work/picture.png")" "sound=null" "fitscreen=no" "rain=heavy"
shot heavy
sleep 1
shot heavy-later
poured=$(differing "$work/heavy.png" "$work/heavy-later.png")
echo "heavy rain: $poured pixels changed in a second"
[ "$poured" -gt "$rained" ] || fail "heavy rain changed no more than the rain as designed ($rained)"
xdotool key Escape
back_to_launcher "Escape"

# 3. Fit to screen stretches the picture over the whole screen; a right click ends the show.
start "bg=$(winpath "$work/picture.png")" "sound=null" "fitscreen=Yes"
shot stretched
convert "$work/picture.png" -sample "${width}x${height}!" "$work/picture-stretched.png"
changed=$(differing "$work/picture-stretched.png" "$work/stretched.png" 8%)
echo "stretched: $changed of $total pixels differ"
[ "$changed" -lt $((total / 5)) ] || fail "the picture is not stretched over the screen"
xdotool mousemove 20 20 click 3
back_to_launcher "a right click"

# 4. With bg=null the show captures what the screen shows; Space ends it.
convert -size "${width}x${height}" plasma:fractal -blur 0x4 "$work/desktop-picture.png"
display -immutable -borderwidth 0 -geometry +0+0 "$work/desktop-picture.png" > /dev/null 2>&1 &
desktop=$!
sleep 1.5
shot desktop
start "bg=null" "sound=null" "fitscreen=no"
shot captured
changed=$(differing "$work/desktop.png" "$work/captured.png" 2%)
echo "captured: $changed of $total pixels differ from the screen before"
[ "$changed" -lt $((total / 5)) ] || fail "the show does not show the captured screen"
xdotool key space
back_to_launcher "Space"
kill "$desktop"
desktop=

# 5. A picture that cannot be loaded ends the program with error 104, and so does a folder
# that holds no picture.
start "bg=$(winpath "$work/missing.png")" "sound=null" "fitscreen=no"
dismiss_error_boxes error104
expect_exit 104 "error 104"
mkdir -p "$work/no pictures"
echo "not a picture" > "$work/no pictures/notes.txt"
start "bg=$(winpath "$work/no pictures")" "sound=null" "fitscreen=no"
dismiss_error_boxes error104-folder
expect_exit 104 "error 104 for a folder of no picture"

# 6. Music that no program plays ends the program with error 105.
echo "not music" > "$work/song.plvnone"
start "bg=$(winpath "$work/picture.png")" "sound=$(winpath "$work/song.plvnone")" "fitscreen=no"
dismiss_error_boxes error105
expect_exit 105 "error 105"
# 7. Paths longer than any file system holds are a picture or music that cannot be used: the
# same boxes and exit codes, never a crash.
long=$(printf 'Z:\\tmp\\%01000d' 0 | tr 0 x)
start "bg=$(winpath "$work/picture.png")" "sound=$long.mp3" "fitscreen=no"
dismiss_error_boxes long-music
expect_exit 105 "a 1000-character music path"
start "bg=$long.png" "sound=null" "fitscreen=no"
dismiss_error_boxes long-picture
expect_exit 104 "a 1000-character picture path"

# 8. Music plays in its program while the show runs and ends with it; a copy of the same
# player that was running before the show keeps running.
register_music_type plvsong PluvetteTestSong "\"$(winpath "$player")\" \"%1\""
echo "earlier" > "$work/earlier.plvsong"
wine "$player" "$(winpath "$work/earlier.plvsong")" &
earlier=$!
echo "la la la" > "$work/song.plvsong"
start "bg=$(winpath "$work/picture.png")" "sound=$(winpath "$work/song.plvsong")" "fitscreen=no"
[ -s "$work/song.plvsong.player" ] || fail "the music did not start"
read -r show_command _ < "$work/song.plvsong.player"
[ "$show_command" = 7 ] || fail "the player was shown with $show_command, not minimised (7)"
running() { own_pgrep -f "$(basename "$work")\\\\$1" > /dev/null; }
running song.plvsong || fail "no player for the show's music"
xdotool key End
back_to_launcher "End"
sleep 0.5
! running song.plvsong || fail "the show's player was not ended"
running earlier.plvsong || fail "the player started before the show was ended too"
kill "$earlier"
wine reg delete 'HKCR\.plvsong' /f > /dev/null 2>&1 || true

# 9. A player with a window of its own (Wine's notepad) takes the keyboard focus; every close
# key still ends the show while the player's window is there.
register_music_type plvtext PluvetteTestText 'notepad.exe "%1"'
echo "la la la" > "$work/song.plvtext"
notepad_focused() { xdotool getwindowfocus getwindowname 2> /dev/null | grep -q Notepad; }
start "bg=$(winpath "$work/picture.png")" "sound=$(winpath "$work/song.plvtext")" "fitscreen=no"
for key in Escape space End BackSpace Return; do
    wait_for notepad_focused || fail "the player's window did not take the focus"
    xdotool key "$key"
    wait_for launcher_visible || fail "$key did not end the show while the player had the focus"
    wait_for eval '! own_pgrep -f song.plvtext > /dev/null' || fail "the player outlived the show"
    launch || fail "Launch did not start the show"
    sleep 2.5
done
xdotool key Escape
back_to_launcher "the windowed player's last show"
wine reg delete 'HKCR\.plvtext' /f > /dev/null 2>&1 || true
echo "show end to end: ok"
