#!/usr/bin/env bash
# Drives pluvette.exe under Wine on the current X display as a user would, from the launcher:
# the first run, choosing a picture and music through the file dialog, launching shows and
# coming back, the default buttons, More Apps, the About panel, Enter and Escape, the Picture
# and Rain lists, closing with the close box and Alt+F4, and hand-edited settings files. Window texts are read with a
# probe program. PLUVETTE_E2E_SHOTS names a folder to keep the screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2")  # prints a window's controls and their texts
browser=$(readlink -f "$3")    # records the addresses it is given
player=$(readlink -f "$4")     # a stand-in music player
host=$(readlink -f "$5")       # another program's window
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; end_own_session; rm -rf "$work"' EXIT

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session

use_test_browser "$browser"
register_music_type plvsong PluvetteTestSong "\"$(winpath "$player")\" \"%1\""
convert -size 400x300 gradient:'#ff8000-#0040ff' -fill white -draw 'circle 200,150 200,200' \
    PNG24:"$work/picture.png"
echo "la la la" > "$work/song.plvsong"

expect_fields() {
    probe || fail "no launcher window called '$launcher_caption'"
    expect_text "$IDC_IMAGE_FIELD" "$1" "the image field"
    expect_text "$IDC_MUSIC_FIELD" "$2" "the music field"
}
start() { start_in_new_folder "$@"; }
# Starts the program in a fresh folder whose config.txt holds exactly these bytes.
start_with_bytes() {
    folder=$work/run$RANDOM
    mkdir -p "$folder"
    printf '%b' "$1" > "$folder/config.txt"
    start_in_folder
}
expect_exit() {
    wait_for eval '! kill -0 $pid 2> /dev/null' || fail "the program did not end after $1"
    local code=0
    wait "$pid" || code=$?
    pid=
    [ "$code" = 0 ] || fail "exit code $code after $1"
    wait_for eval "! own_pgrep -x pluvette.exe > /dev/null" || fail "pluvette.exe still runs after $1"
}
open_dialog() { xdotool search --onlyvisible --name '^Open$' > /dev/null 2>&1; }
# A file dialog shown and holding the keyboard focus, ready for a path to be typed. Under Wine
# the focus can stay elsewhere for a while after the dialog shows (Windows gives it to the
# dialog at once), so a dialog without it is given it.
focus_on_dialog() { [ "$(xdotool getwindowfocus getwindowname 2> /dev/null)" = Open ]; }
dialog_ready() {
    local dialog
    dialog=$(xdotool search --onlyvisible --name '^Open$' 2> /dev/null | head -n 1)
    [ -n "$dialog" ] || return 1
    focus_on_dialog || xdotool windowfocus --sync "$dialog" 2> /dev/null || true
    focus_on_dialog
}
# Presses the key in the file dialog; Return as the Open button's Alt+O, since Wine's list of
# names that complete what was typed can take a Return for itself.
press_in_dialog() {
    if [ "$1" = Return ]; then
        xdotool key alt+o
    else
        xdotool key "$1"
    fi
}
# Clicks a browse button, types the path into the file dialog and presses the key.
browse() {
    wait_for eval '! open_dialog' || fail "a file dialog was still open"
    probe
    click "$1"
    wait_for dialog_ready || fail "no file dialog with the focus (the focus is on '$(xdotool getwindowfocus getwindowname 2> /dev/null)')"
    sleep 0.3
    xdotool key alt+n # the file name field, wherever the dialog put the focus
    [ -z "$2" ] || xdotool type --delay 5 "$2"
    press_in_dialog "$3"
    wait_for eval '! open_dialog' || { shot dialog-stayed; fail "the file dialog stayed open"; }
    sleep 0.2
}
# Clicks the launcher's close box, at the right end of its title bar.
click_close_box() {
    local wx wy ww
    read -r wx wy < <(xdotool search --name "^$launcher_caption\$" getwindowgeometry | awk -F'[ ,]+' '/Position/ { print $3, $4 }')
    read -r ww _ < <(xdotool search --name "^$launcher_caption\$" getwindowgeometry | awk -F'[ x]+' '/Geometry/ { print $3, $4 }')
    xdotool mousemove $((wx + ww - 12)) $((wy + 10)) click 1
}
config_line() { tr -d '\r' < "$folder/config.txt" | grep "^$1=" || true; }
# Alt+F4 to the launcher with the keyboard focus put on it first, up to three times. After a
# killed start's windows, or another program's window, go away, Wine may leave the focus on
# no window or on the one going away, and the key is lost (Windows gives the focus to the
# next window at once).
alt_f4_to_launcher() {
    local window
    for _ in 1 2 3; do
        window=$(xdotool search --name "^$launcher_caption\$" 2> /dev/null | head -n 1 || true)
        if [ -z "$window" ] || ! xdotool windowfocus --sync "$window" key alt+F4 2> /dev/null; then
            xdotool key alt+F4
        fi
        wait_for ended && return 0
    done
    return 1
}

# 1. The first run writes the defaults and shows them; the caption names the site.
start
[ "$(od -An -c "$folder/config.txt" | tr -d ' \n')" = 'bg=null\r\nsound=null\r\nfitscreen=yes\r\n' ] ||
    fail "the first run wrote: $(od -c "$folder/config.txt")"
expect_fields "Capture Screen" "No Music"
shot launcher

# 2. Choosing a picture and music shows their names; a cancelled dialog changes nothing.
browse "$IDC_BROWSE_IMAGE" "$(winpath "$work/picture.png")" Return
browse "$IDC_BROWSE_MUSIC" "$(winpath "$work/song.plvsong")" Return
expect_fields picture.png song.plvsong
browse "$IDC_BROWSE_IMAGE" "" Escape
expect_fields picture.png song.plvsong

# 3. Launch saves the choices, hides the launcher and shows the picture over the screen with
# the music playing; Escape brings the launcher back with the same choices.
launch || fail "Launch did not start the show"
wait_for show_or_box || fail "no show after Launch"
wait_for test -s "$work/song.plvsong.player" || fail "the music did not start"
sleep 1 # the water runs a little
shot show
[ "$(config_line bg)" = "bg=$(winpath "$work/picture.png")" ] || fail "Launch saved $(config_line bg)"
[ "$(config_line sound)" = "sound=$(winpath "$work/song.plvsong")" ] || fail "Launch saved $(config_line sound)"
! launcher_visible || fail "the launcher stayed visible during the show"
convert "$work/picture.png" -sample "${width}x${height}!" "$work/stretched.png"
changed=$(differing "$work/stretched.png" "$work/show.png" 8%)
echo "show: $changed of $((width * height)) pixels differ from the chosen picture"
[ "$changed" -lt $((width * height / 5)) ] || fail "the show does not show the chosen picture"
[ -s "$work/song.plvsong.player" ] || fail "the music did not start"
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back"
expect_fields picture.png song.plvsong
own_pgrep -f 'song.plvsong' > /dev/null && fail "the music still plays"

# 4. Enter in a field resets the music; Escape does nothing; the default buttons put back
# the screen capture, and a second show shows the screen.
click "$IDC_IMAGE_FIELD"
xdotool key Return
sleep 0.3
expect_fields picture.png "No Music"
xdotool key Escape
sleep 0.3
launcher_visible || fail "Escape closed the launcher"
click "$IDC_IMAGE_DEFAULT"
expect_fields "Capture Screen" "No Music"
shot before
launch || fail "Launch did not start the show"
wait_for show_or_box || fail "no second show"
sleep 1 # the water runs a little
[ "$(config_line bg)" = "bg=null" ] && [ "$(config_line sound)" = "sound=null" ] ||
    fail "the default buttons did not reset the settings"
shot captured
sleep 1
shot now
! launcher_visible || fail "the second show did not start"
rained=$(differing "$work/captured.png" "$work/now.png")
echo "second show: $rained pixels changed by rain in a second"
[ "$rained" -gt 50 ] || fail "the second show shows no water"
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back after the second show"

# 5. More Apps opens the home page; About opens the panel, which Alt+F4 ends.
probe
click "$IDC_MORE_APPS"
wait_for test -s "$work/browser.log" || fail "More Apps opened nothing"
[ "$(tr -d '\r' < "$work/browser.log")" = "https://www.pluvette.org/" ] ||
    fail "More Apps opened $(cat "$work/browser.log")"
panel() { xdotool search --class pluvette | while read -r w; do
    xdotool getwindowgeometry "$w" | grep -q 'Geometry: 257x344' && echo "$w"; done | grep -q .; }
click "$IDC_ABOUT"
wait_for panel || fail "About opened no panel"
sleep 1
shot about
xdotool key alt+F4
wait_for eval '! panel' || fail "the About panel stayed open"
launcher_visible || fail "the launcher went away with the About panel"

# 6. The close box fades the launcher out, saves and ends the program with exit code 0.
click_close_box
sleep 0.15
kill -0 "$pid" 2> /dev/null || fail "the launcher ended without fading out"
expect_exit "the close box"

# 7. A hand-edited file without "sound" gets it: the music chosen plays and is saved.
start "bg=null" "fitscreen=yes"
browse "$IDC_BROWSE_MUSIC" "$(winpath "$work/song.plvsong")" Return
expect_fields "Capture Screen" song.plvsong
rm -f "$work/song.plvsong.player"
launch || fail "Launch did not start the show"
wait_for test -s "$work/song.plvsong.player" || fail "the music chosen in a file without sound did not play"
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back"
xdotool key alt+F4
expect_exit "Alt+F4"
[ "$(cat "$folder/config.txt")" = "$(printf 'bg=null\r\nfitscreen=yes\r\nsound=%s\r' "$(winpath "$work/song.plvsong")")" ] ||
    fail "the file without sound became: $(od -c "$folder/config.txt")"

# 8. "NULL" in capitals is a file name to the launcher, and the screen to the show.
start "bg=NULL" "sound=null" "fitscreen=yes"
expect_fields NULL "No Music"
launch || fail "Launch did not start the show"
wait_for show_or_box || fail "no show with bg=NULL"
xdotool search --name '^Error$' > /dev/null 2>&1 && fail "bg=NULL gave an error"
! launcher_visible || fail "the show with bg=NULL did not start"
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back after bg=NULL"
xdotool key alt+F4
expect_exit "Alt+F4"

# 8b. A tooltip on the screen at Launch is gone before the screen is captured: the pointer
# resting on "D" with its tooltip up, Launch pressed from the keyboard (the fourth control in
# the tab order of a new launcher), and no tooltip in the water's picture.
start "bg=null" "sound=null" "fitscreen=yes"
expect_fields "Capture Screen" "No Music"
read -r x y w h < <(awk -v id="$IDC_IMAGE_DEFAULT" '$1 == id { print $2, $3, $4, $5 }' "$work/probe.txt")
xdotool mousemove $((x + w / 2 + ${screen_left:-0})) $((y + h / 2 + ${screen_top:-0}))
sleep 0.2
xdotool mousemove_relative 1 1 # a move within the button, which the tooltip watches for
tooltip_box= # where the tooltip shows, as the probe tells it
tooltip_up() {
    probe && read -r x y w h < <(awk '$1 == "tip" { print $2, $3, $4, $5 }' "$work/probe.txt") &&
        tooltip_box=${w}x$h+$((x + ${screen_left:-0}))+$((y + ${screen_top:-0}))
}
wait_for tooltip_up || fail "the tooltip of the default button did not show"
xdotool key Tab Tab Tab Tab space
wait_for show_or_box || fail "no show after Launch with a tooltip up"
sleep 1
shot tooltip-show
# Behind the launcher the captured screen is the display's black: the tooltip's light box
# and text would stand out there.
light=$(convert "$work/tooltip-show.png" -crop "$tooltip_box" -threshold 50% \
    -format '%[fx:round(mean*w*h)]' info:)
echo "tooltip's place in the show: $light light pixels"
[ "$light" -lt 20 ] || fail "the tooltip is in the show's picture ($light light pixels)"
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back after the tooltip's show"
xdotool key alt+F4
expect_exit "Alt+F4"

# 9. Files picked through "All Files" that cannot be what they are picked for are refused
# when picked, each with a notice of its own, and the choice before stays: a program as
# music; a text file, a PNG one pixel over the budget and a JPEG of 1,000 scans as the
# picture. A JPEG named .png, padded between its markers, is a picture, taken and shown.
# Picks a file through the dialog of a browse button and dismisses the notice it must give.
refused_pick() { # button path notice screenshot
    local notice="xdotool search --name '^$3\$' > /dev/null 2>&1"
    wait_for eval '! open_dialog' || fail "a file dialog was still open"
    probe
    click "$1"
    wait_for dialog_ready || fail "no file dialog with the focus (the focus is on '$(xdotool getwindowfocus getwindowname 2> /dev/null)')"
    sleep 0.3
    xdotool key alt+n
    xdotool type --delay 5 "$2"
    press_in_dialog Return
    local picked
    picked=$(date +%s%N)
    wait_for eval "$notice" || fail "picking $2 gave no notice"
    notice_ms=$((($(date +%s%N) - picked) / 1000000))
    shot "$4"
    # The notice may still be taking the focus (or the search may meet a window just gone), so
    # Return is pressed again while it stays.
    for _ in 1 2 3; do
        xdotool search --name "^$3\$" windowfocus --sync key Return 2> /dev/null || xdotool key Return
        wait_for eval "! $notice" && return 0
    done
    fail "the notice stayed open"
}
start "bg=$(winpath "$work/picture.png")" "sound=$(winpath "$work/song.plvsong")" "fitscreen=yes"
cp "$player" "$work/song.mp3.exe"
refused_pick "$IDC_BROWSE_MUSIC" "$(winpath "$work/song.mp3.exe")" "Background Music" refused-music
echo "not a picture" > "$work/notes.txt"
refused_pick "$IDC_BROWSE_IMAGE" "$(winpath "$work/notes.txt")" "Background Image" refused-text
python3 -c "import struct, sys, zlib
header = b'IHDR' + struct.pack('>IIBBBBB', (1 << 26) + 1, 1, 8, 2, 0, 0, 0)
sys.stdout.buffer.write(b'\x89PNG\r\n\x1a\n' + struct.pack('>I', 13) + header + struct.pack('>I', zlib.crc32(header)))" \
    > "$work/too-large.png"
refused_pick "$IDC_BROWSE_IMAGE" "$(winpath "$work/too-large.png")" "Background Image" refused-too-large
# 8192 x 8192 and 1,000 scans that each go over every block of a component: judged at once.
python3 "$(dirname "$0")/../tools/refining_jpeg.py" "$work/many-scans.jpg" 8192 8192 1000
refused_pick "$IDC_BROWSE_IMAGE" "$(winpath "$work/many-scans.jpg")" "Background Image" refused-many-scans
echo "1,000 scans: refused $notice_ms ms after being picked"
[ "$notice_ms" -lt 3000 ] || fail "1,000 scans took $notice_ms ms to be refused when picked"
expect_fields picture.png song.plvsong
convert -size 400x300 gradient:'#00c060-#ff00ff' JPEG:"$work/unpadded.jpg"
# Padded between two markers, as some cameras and editors write: no damage.
python3 -c "import sys; d = open(sys.argv[1], 'rb').read(); at = d.index(b'\xff\xdb')
open(sys.argv[2], 'wb').write(d[:at] + b'\0\0\0\0' + d[at:])" "$work/unpadded.jpg" "$work/photo.png"
browse "$IDC_BROWSE_IMAGE" "$(winpath "$work/photo.png")" Return
expect_fields photo.png song.plvsong
launch || fail "Launch did not start the show"
wait_for show_or_box || fail "no show of the JPEG named .png"
sleep 1
shot jpeg-named-png
convert "$work/unpadded.jpg" -sample "${width}x${height}!" "$work/photo-stretched.png"
changed=$(differing "$work/photo-stretched.png" "$work/jpeg-named-png.png" 8%)
[ "$changed" -lt $((width * height / 5)) ] || fail "the JPEG named .png is not shown ($changed pixels differ)"
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back"
xdotool key alt+F4
expect_exit "Alt+F4"
[ "$(config_line sound)" = "sound=$(winpath "$work/song.plvsong")" ] || fail "the refused music was saved"
[ "$(config_line bg)" = "bg=$(winpath "$work/photo.png")" ] || fail "the picture saved is $(config_line bg)"
[ ! -e "$work/song.mp3.exe.ran" ] || fail "the picked program ran"

# 9b. The Picture and Rain lists show what the file says (a hand-written value as what the
# show does with it, written back only when another entry is picked) and save the entry
# picked; rain, which older files lack, is added then.
expect_list() { # list entry
    [ "$(text_of "$1")" = "$2" ] || fail "the list $1 shows '$(text_of "$1")', not '$2'"
}
# Opens a list by a click and clicks the entry at index in the list that drops below it.
pick_entry() { # list index
    local x y w h
    probe
    read -r x y w h < <(awk -v id="$1" '$1 == id { print $2, $3, $4, $5 }' "$work/probe.txt")
    x=$((x + w / 2 + ${screen_left:-0})) y=$((y + ${screen_top:-0}))
    xdotool mousemove "$x" $((y + h / 2)) click 1
    sleep 0.5
    xdotool mousemove "$x" $((y + h + 7 + $2 * 13)) click 1
    sleep 0.3
}
# Closes the launcher with its close box: Wine's drop-down list keeps Alt+F4 to itself while
# it has the keyboard focus, where Windows closes the window.
close_with_box() {
    click_close_box
    expect_exit "the close box"
}
start "bg=null" "sound=null" "fitscreen=Yes please"
probe
expect_list "$IDC_PLACEMENT" "Stretch to screen"
expect_list "$IDC_RAIN" Normal
pick_entry "$IDC_RAIN" 3
probe
expect_list "$IDC_RAIN" Heavy
expect_fields "Capture Screen" "No Music"
close_with_box
[ "$(config_line fitscreen)" = "fitscreen=Yes please" ] || fail "an unpicked list wrote $(config_line fitscreen)"
[ "$(config_line rain)" = "rain=heavy" ] || fail "the rain list saved '$(config_line rain)'"
start "bg=null" "sound=null" "fitscreen=yes" "rain=none"
probe
expect_list "$IDC_RAIN" None
pick_entry "$IDC_PLACEMENT" 3
probe
expect_list "$IDC_PLACEMENT" "Fit in the screen"
close_with_box
[ "$(config_line fitscreen)" = "fitscreen=fit" ] || fail "the picture list saved '$(config_line fitscreen)'"
[ "$(config_line rain)" = "rain=none" ] || fail "rain became '$(config_line rain)'"
# By the keyboard: the lists close the tab order, after the music row, so Shift+Tab from the
# first button reaches Rain, then Picture; Down picks the next entry.
start "bg=null" "sound=null" "fitscreen=yes" "rain=normal"
xdotool key shift+Tab Down shift+Tab Down
probe
expect_list "$IDC_RAIN" Heavy
expect_list "$IDC_PLACEMENT" "Centre (stretch if larger)"
close_with_box
[ "$(config_line fitscreen)" = "fitscreen=no" ] || fail "the keyboard saved '$(config_line fitscreen)'"
[ "$(config_line rain)" = "rain=heavy" ] || fail "the keyboard saved '$(config_line rain)'"

# 9c. A folder of pictures, picked with the folder button: its name shows, the Change list
# comes alive and saves the entry picked; a folder without a picture is refused with a notice.
folder_dialog() { [ "$(xdotool getwindowfocus getwindowname 2> /dev/null)" = "Choose a Folder of Pictures" ]; }
pick_folder() { # path
    probe
    click "$IDC_BROWSE_FOLDER"
    wait_for eval 'xdotool search --onlyvisible --name "^Choose a Folder of Pictures\$" windowfocus --sync > /dev/null 2>&1 && folder_dialog' ||
        fail "no folder dialog"
    sleep 0.3
    xdotool type --delay 5 "$1"
    xdotool key Return
    sleep 0.5
    # A folder typed is opened first; Return on it then picks it.
    ! folder_dialog || xdotool key Return
}
change_disabled() { probe && grep -q "^disabled $IDC_CHANGE\$" "$work/probe.txt"; }
mkdir -p "$work/holiday/2026" "$work/no pictures"
cp "$work/picture.png" "$work/holiday/2026/beach.png"
echo "notes" > "$work/no pictures/notes.txt"
start "bg=null" "sound=null" "fitscreen=yes"
change_disabled || fail "the Change list is active while the picture is the screen"
pick_folder "$(winpath "$work/no pictures")"
wait_for eval "xdotool search --name '^Background Image\$' > /dev/null 2>&1" || fail "a folder without a picture gave no notice"
shot refused-folder
xdotool search --name '^Background Image$' windowfocus --sync key Return 2> /dev/null || xdotool key Return
expect_fields "Capture Screen" "No Music"
pick_folder "$(winpath "$work/holiday")"
wait_for eval '! change_disabled' || fail "the Change list stayed inactive for a folder"
expect_fields holiday "No Music"
shot folder-picked
pick_entry "$IDC_CHANGE" 0
probe
expect_list "$IDC_CHANGE" "Every minute"
close_with_box
[ "$(config_line bg)" = "bg=$(winpath "$work/holiday")" ] || fail "the folder saved is $(config_line bg)"
[ "$(config_line change)" = "change=1" ] || fail "the Change list saved '$(config_line change)'"
# A hand-written change shows as written; the default button makes the list inactive again.
start "bg=$(winpath "$work/holiday")" "sound=null" "fitscreen=yes" "change=0.5"
probe
expect_list "$IDC_CHANGE" "Every 0.5 minutes"
change_disabled && fail "the Change list is inactive for a folder"
click "$IDC_IMAGE_DEFAULT"
wait_for change_disabled || fail "the Change list stayed active for the screen"
close_with_box
[ "$(config_line change)" = "change=0.5" ] || fail "an unpicked Change list wrote '$(config_line change)'"

# 10. Files that hold no setting (empty, or not a settings file) are replaced by the defaults;
# a note written by hand in a settings file survives a save byte for byte.
for content in "" 'junk\r\n' 'x=1\r\n[section]'; do
    start_with_bytes "$content"
    expect_fields "Capture Screen" "No Music"
    [ "$(od -An -c "$folder/config.txt" | tr -d ' \n')" = 'bg=null\r\nsound=null\r\nfitscreen=yes\r\n' ] ||
        fail "a file holding '$content' became: $(od -c "$folder/config.txt")"
    xdotool key alt+F4
    expect_exit "Alt+F4"
done
# A hand-written change value of any length shows as a short number, with the launcher inside
# the screen and closable; the value stays as written, and lines another program appends
# while the launcher is open are kept by its save.
for zeros in 300 20000; do
    start_with_bytes "bg=null\\r\\nsound=null\\r\\nfitscreen=yes\\r\\nchange=0.5$(printf "%0${zeros}d" 0)\\r\\n"
    probe
    [ "$(text_of "$IDC_CHANGE")" = "Every 0.5 minutes" ] ||
        fail "the change value of $zeros zeros shows as '$(text_of "$IDC_CHANGE" | cut -c 1-40)'"
    for control in "$IDC_LAUNCH" "$IDC_CHANGE"; do
        read -r x _ w _ < <(awk -v id="$control" '$1 == id { print $2, $3, $4, $5 }' "$work/probe.txt")
        [ "$x" -ge 0 ] && [ $((x + w)) -le "$width" ] ||
            fail "with $zeros zeros control $control lies at $x, $w wide, on a screen $width wide"
    done
    for n in $(seq 50); do printf '; note %d\r\n' "$n" >> "$folder/config.txt"; done
    alt_f4_to_launcher || fail "the launcher with $zeros zeros did not close"
    expect_exit "Alt+F4"
    [ "$(grep -c '^; note' "$folder/config.txt")" = 50 ] || fail "the save lost notes appended meanwhile"
    [ "$(config_line change | wc -c)" = $((zeros + 11)) ] || fail "the change value was rewritten"
done
# Blank lines, a line without a key and what follows a Ctrl-Z survive a show and a close too.
start "# my rain" "bg=null" "sound=null" "fitscreen=yes" "[look] here"
cp "$folder/config.txt" "$work/noted.txt"
xdotool key alt+F4
expect_exit "Alt+F4"
cmp -s "$folder/config.txt" "$work/noted.txt" || fail "a save changed the notes: $(od -c "$folder/config.txt")"
start_with_bytes 'bg=null\r\n\r\n# note\r\n=orphan\r\nsound=null\r\nfitscreen=yes\r\n\x1a# after'
cp "$folder/config.txt" "$work/noted.txt"
launch || fail "Launch did not start the show"
sleep 1.5
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back"
xdotool key alt+F4
expect_exit "Alt+F4"
cmp -s "$folder/config.txt" "$work/noted.txt" || fail "a show and a close changed: $(od -c "$folder/config.txt")"

# 10b. A file another program appends to while the launcher starts is read, not replaced by
# the defaults: what it held before is all there after a Launch and the launcher's close.
folder=$work/run$RANDOM
mkdir -p "$folder"
{
    printf 'bg=null\r\nsound=null\r\nfitscreen=fill\r\nrain=heavy\r\n'
    for note in $(seq 1 2000); do printf '# note %d\r\n' "$note"; done
} > "$folder/config.txt"
cp "$folder/config.txt" "$work/appended.txt"
(while :; do printf '# more\r\n' >> "$folder/config.txt"; sleep 0.003; done) &
appender=$!
start_in_folder
kill "$appender"
wait "$appender" 2> /dev/null || true
probe
[ "$(text_of "$IDC_PLACEMENT")" = "Fill the screen" ] || fail "the launcher read '$(text_of "$IDC_PLACEMENT")' from a file being appended to"
launch || fail "Launch did not start the show of a file appended to"
wait_for show_or_box || fail "no show of a file appended to"
[ -z "$(xdotool search --name '^Error$' 2> /dev/null)" ] || fail "an error box at Launch"
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back"
xdotool key alt+F4
expect_exit "Alt+F4"
cmp -n "$(stat -c %s "$work/appended.txt")" "$work/appended.txt" "$folder/config.txt" ||
    fail "the appended file lost lines: $(head -c 200 "$folder/config.txt")"

# 11. A first start killed at any moment of writing the defaults never leaves a file that
# stops the next start.
for delay in 0 0.02 0.05 0.1; do
    folder=$work/killed$RANDOM
    mkdir -p "$folder"
    (cd "$folder" && exec wine "$exe") &
    pid=$!
    wait_for eval 'ls "$folder" | grep -q config' || fail "the first start wrote no file"
    sleep "$delay"
    for killed in $(own_pgrep -x pluvette.exe); do kill -9 "$killed"; done
    wait "$pid" 2> /dev/null || true
    pid=
    wait_for eval "! own_pgrep -x pluvette.exe > /dev/null" || fail "the killed program still runs"
    echo "killed after $delay s:" "$folder"/*
    start_in_folder
    expect_fields "Capture Screen" "No Music"
    alt_f4_to_launcher
    expect_exit "Alt+F4"
    [ "$(ls "$folder")" = config.txt ] || fail "files left after a kill: $(ls "$folder")"
done
# 12. One launcher for each program file: a second start brings the first to the front and
# ends, whatever folder it starts in; the first keeps its own settings.
start_in_new_folder
first=$pid
# Another program's window takes the front.
(cd "$work" && exec wine "$host" "$(winpath "$work/host.txt")" 15000) &
host_pid=$!
wait_for test -s "$work/host.txt" || fail "no other window"
xdotool mousemove 200 150 click 1
wait_for eval 'probe && grep -q "^foreground 0" "$work/probe.txt"' ||
    fail "the launcher kept the front after a click on another window"
mkdir -p "$work/second"
code=0
(cd "$work/second" && exec timeout 20 wine "$exe") > /dev/null 2>&1 || code=$?
[ "$code" = 0 ] || fail "a second start ended with $code"
[ -z "$(ls "$work/second")" ] || fail "a second start wrote $(ls "$work/second")"
wait_for eval 'probe && grep -q "^foreground 1" "$work/probe.txt"' ||
    fail "a second start did not bring the launcher to the front"
kill "$host_pid" 2> /dev/null || true
wait_for eval '! kill -0 $host_pid 2> /dev/null' || fail "the other window did not go away"
pid=$first
alt_f4_to_launcher
expect_exit "Alt+F4"
echo "launcher end to end: ok"
