#!/usr/bin/env bash
# Runs pluvette.exe as a screen saver under Wine on the current X display, as Windows would:
# "/s" shows the water over the screen or the chosen picture and ends on a key, a click or a
# pointer moving away, but not on a one-pixel jitter; "/p HWND" puts the preview in a window
# of another program until that window goes away; "/c", no argument and any other argument
# open the launcher. PLUVETTE_E2E_SHOTS names a folder to keep the screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2")
host=$(readlink -f "$3") # a window to preview in
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; end_own_session; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session

install_saver
convert -size 400x300 gradient:'#ff8000-#0040ff' PNG24:"$work/picture.png"
no_error_box() { ! xdotool search --name '^Error$' > /dev/null 2>&1; }

# 1. Without settings beside it, the water over the captured screen; nothing is written.
# The one-pixel jitter leaves it; a key ends it.
convert -size "${width}x${height}" plasma:fractal -blur 0x4 "$work/desktop.png"
display -immutable -borderwidth 0 -geometry +0+0 "$work/desktop.png" > /dev/null 2>&1 &
desktop=$!
sleep 1.5
shot desktop
start_saver /s
shot saver
changed=$(differing "$work/desktop.png" "$work/saver.png" 3%)
echo "/s: $changed of $((width * height)) pixels differ from the screen before"
[ "$changed" -lt $((width * height / 5)) ] || fail "the screen saver does not show the screen"
sleep 1
shot saver-later
[ "$(differing "$work/saver.png" "$work/saver-later.png")" -gt 50 ] || fail "no rain"
# A second screen saver while this one runs ends at once; this one goes on.
code=0
(cd "$work/elsewhere" && exec timeout 20 wine "$saver" /s) > /dev/null 2>&1 || code=$?
[ "$code" = 0 ] || fail "a second screen saver ended with $code"
kill -0 "$pid" 2> /dev/null || fail "the first screen saver ended with the second"
xdotool mousemove 601 400
sleep 0.3
xdotool mousemove 600 401
sleep 0.5
ended && fail "a one-pixel jitter ended the screen saver"
xdotool key a
expect_end "a key"
! find "$work/elsewhere" "$work/saver" -iname '*config*' | grep -q . || fail "a settings file was written"
kill "$desktop"

# 2. Settings beside the program: the chosen picture, named relative to the settings file's
# folder (the screen saver starts in another), stretched. A click ends it.
mkdir -p "$work/saver/my pictures"
cp "$work/picture.png" "$work/saver/my pictures/picture.png"
printf '%s\r\n' 'bg=my pictures\picture.png' "sound=null" "fitscreen=yes" > "$work/saver/config.txt"
start_saver /S
shot saver-picture
convert "$work/picture.png" -sample "${width}x${height}!" "$work/stretched.png"
changed=$(differing "$work/stretched.png" "$work/saver-picture.png" 8%)
echo "/S with a picture: $changed pixels differ from the stretched picture"
[ "$changed" -lt $((width * height / 5)) ] || fail "the screen saver does not show the picture"
xdotool click 1
expect_end "a click"

# 3. A picture and music that cannot be used: the screen and silence, no box. Moving the
# pointer away ends it.
printf '%s\r\n' "bg=$(winpath "$work/missing.png")" "sound=$(winpath "$work/song.plvnone")" \
    "fitscreen=yes" > "$work/saver/config.txt"
echo "not music" > "$work/song.plvnone"
start_saver -s
no_error_box || fail "the screen saver showed an error box"
xdotool mousemove 610 400 sleep 0.1 mousemove 640 420
expect_end "the pointer moving away"

# 4. The preview lives in another program's window, without taking the focus, and ends
# with it. (Wine shows no drawing of a child window of another process; the preview's
# pixels are checked by the preview test inside one process.)
(cd "$work" && exec wine "$host" "$(winpath "$work/host.txt")" 4000) &
host_pid=$!
wait_for test -s "$work/host.txt" || fail "no preview window"
parent=$(tr -d '\r' < "$work/host.txt")
(cd "$work/elsewhere" && exec wine "$saver" /p "$parent") &
pid=$!
sleep 2
wine "$probe_exe" "Preview host" 2> /dev/null | tr -d '\r' > "$work/host-children.txt" ||
    fail "the preview window went away"
grep -q '^0 100 100 240 180 ' "$work/host-children.txt" ||
    fail "no preview filling the window: $(cat "$work/host-children.txt")"
[ "$(xdotool getwindowfocus getwindowname)" = "Preview host" ] || fail "the preview took the focus"
kill -0 "$pid" 2> /dev/null || fail "the preview ended before its window"
wait_for ended || wait_for ended || fail "the preview outlived its window"
wait "$pid" || fail "the preview ended with $?"
pid=
wait "$host_pid" || true

# 5. A new scale (WM_DPICHANGED) with the monitors where they were leaves the water as it
# is; a change of the monitors' layout (WM_DISPLAYCHANGE) ends the screen saver cleanly.
start_saver /s
wine "$probe_exe" Pluvette post 0x02E0 2> /dev/null || fail "no show to tell"
sleep 1
ended && fail "a new scale alone ended the screen saver"
wine "$probe_exe" Pluvette post 0x007E 2> /dev/null || fail "no show to tell"
expect_end "a change of the monitors' layout"

# 6. A preview without a window to go in ends by itself at once, whatever the number's form:
# no launcher (which would wait for the user) and nothing written.
for arguments in "/p 0" "/p garbage" "/p 99999999999" "/p"; do
    code=0
    # shellcheck disable=SC2086 # the arguments are split as Windows would
    (cd "$work/elsewhere" && exec timeout 20 wine "$saver" $arguments) > /dev/null 2>&1 ||
        code=$?
    [ "$code" != 124 ] || fail "'$arguments' did not end by itself"
    ! find "$work/elsewhere" -iname '*config*' | grep -q . ||
        fail "'$arguments' wrote a settings file"
done

# 7. "/c", no argument and anything else open the launcher, as the program always did; the
# screen saver's Settings ("/c") says in its caption that it sets the screen saver.
for arguments in "/c" "/c:1234" "" "--unknown"; do
    case $arguments in
    /c*) launcher_caption="Pluvette screen saver settings" ;;
    *) launcher_caption="Pluvette : www.pluvette.org" ;;
    esac
    (cd "$work/elsewhere" && exec wine "$exe" $arguments) &
    pid=$!
    wait_for launcher_visible || fail "'$arguments' did not open the launcher"
    xdotool key alt+F4
    wait_for ended || fail "the launcher opened by '$arguments' did not close"
    wait "$pid" || true
    pid=
done
echo "screen saver end to end: ok"
