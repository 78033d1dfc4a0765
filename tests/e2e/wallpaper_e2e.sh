#!/usr/bin/env bash
# The water on the desktop (pluvette.exe /w) over two monitors of different sizes (an X server
# with the dummy driver of its own) and a stand-in for the shell's desktop, in each of the
# three layouts the program meets: Progman holding the icons' view and a WorkerW, a WorkerW
# made behind the icons on request, and no answer (top-level windows at the bottom).
#
# Wine draws no window that one process puts inside another's, so in the first two layouts the
# water is found unseen on the screen and says so; the third is checked by its pixels: moving water over the desktop's own wallpaper on both monitors with no black
# frame, ripples where the pointer moves over the desktop and none over another window, a
# monitor a window hides stops, a locked session or the screen saver stops everything and the
# water starts again after, the desktop restarted brings the water back, the tray menu's
# "Start with Windows" comes and goes in the Run key, a second start opens the settings,
# closing repaints the desktop, and a killed wallpaper is repainted after by its watchdog,
# neither writing the wallpaper setting; settings in a folder named in other scripts.
# PLUVETTE_E2E_SHOTS names a folder to keep the screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
stand_in=$(readlink -f "$2")
probe_exe=$(readlink -f "$3")
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
# shellcheck source=../../scripts/lib/drive.sh
source "$(dirname "$0")/../../scripts/lib/drive.sh"
cleanup() {
    end_own_session
    [ -z "$monitors_server" ] || kill "$monitors_server" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_monitors "$work" 1024x768 800x600 || fail "no X server with two monitors"
use_own_prefix
mkdir -p "$work/app"
cp "$exe" "$work/app/pluvette.exe"
settings() { printf '%s\r\n' "bg=null" "sound=null" "$@" > "$work/app/config.txt"; }

desk() { wine "$stand_in" "$@" 2> /dev/null | tr -d '\r'; }
layout() { desk layout > "$work/layout.txt"; }
# The classes of the windows a line kind lists, in order: classes top | classes "child WorkerW".
classes() { awk -v kind="$1" 'index($0, kind " ") == 1 { print $(NF - 6) }' "$work/layout.txt" | tr '\n' ' '; }
ours() { layout && [ "$(grep -c RippleImage "$work/layout.txt")" = 2 ]; }
# Unix milliseconds, as the stand-in logs its repaints.
now_ms() { date +%s%3N; }

start_desktop() {
    rm -f "$work/desk.log"
    wine "$stand_in" run "$1" "$(winpath "$work/desk.log")" > /dev/null 2>&1 &
    wait_for_content "$work/desk.log" || fail "the stand-in desktop did not start"
}
wallpaper_pid() { own_pgrep -f 'pluvette\.exe /w( |$)' | head -n 1; }
start_wallpaper() {
    (cd "$work/app" && exec wine ./pluvette.exe /w) &
    pid=$!
    wait_for ours || { layout; cat "$work/layout.txt"; fail "no water on the desktop ($1)"; }
}
# The balloon by the notification icon: a window of Wine's notification area besides the
# area itself.
balloon_shown() {
    local window
    for window in $(xwininfo -root -tree |
        awk '/\("explorer.exe"/ && !/ 1x1\+/ && !/Wine System Tray/ { print $1 }'); do
        xwininfo -id "$window" | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}
# Starts the water where it cannot be seen, and waits (up to 30 s) for the balloon that says so.
start_unseen() {
    (cd "$work/app" && exec wine ./pluvette.exe /w) &
    pid=$!
    for _ in $(seq 150); do
        balloon_shown && return 0
        sleep 0.2
    done
    fail "no balloon said the water cannot be seen ($1)"
}
# Ends what runs: the wallpaper (its watchdog with it), the stand-in and the other windows.
end_all() {
    wineserver -k 2> /dev/null || true
    wineserver -w 2> /dev/null || true
    pid=
}

# The processor time (clock ticks) the wallpaper's process used over two seconds, or the
# seconds given.
# Said on stderr, as this runs in a command substitution.
cpu_over_2s() {
    local process before
    process=$(wallpaper_pid)
    before=$(awk '{ print $14 + $15 }' "/proc/${process:-none}/stat") ||
        { echo "FAIL: no wallpaper process to measure (${process:-none})" >&2; exit 1; }
    sleep "${1:-2}"
    awk -v b="$before" '{ print $14 + $15 - b }' "/proc/$process/stat"
}
# How many pixels of an area (WxH+X+Y) differ between two screenshots.
area_changes() {
    convert "$work/$1.png" -crop "$3" +repage "$work/crop1.png"
    convert "$work/$2.png" -crop "$3" +repage "$work/crop2.png"
    differing "$work/crop1.png" "$work/crop2.png" 3%
}
# The brightness (0-765) of one pixel of a screenshot.
brightness() {
    convert "$work/$1.png" -crop "1x1+$2+$3" +repage -format '%[fx:int(255*r)+int(255*g)+int(255*b)]' info:
}
first=850x700+150+40 second=700x500+1074+50 # each monitor's water, away from the icons

# The window that takes the input at the stand-in's second icon is the icons' own list (the
# first may lie under the notification icon's balloon).
icons_on_top() {
    desk at 36 180 | grep -q '^at SysListView32 ' ||
        fail "the input at an icon goes to $(desk at 36 180) ($1)"
}

# 1. Progman holding the icons' view and a WorkerW, and 2. a WorkerW made behind the icons on
#    request. Wine draws no window that one process puts inside another's: the water, looked
#    at on the screen, is found unseen in both, so nothing of it stays among the shell's
#    windows or over the icons, the notification icon says so in a balloon, and it costs
#    nothing. (Where and in which order the waters lie in each layout is for the Win32 test
#    desktop_layer_test, with the look's answer given.)
settings
for kind in beside worker; do
    start_desktop "$kind"
    start_unseen "$kind"
    layout
    ! grep -q RippleImage "$work/layout.txt" ||
        fail "an unseen water stayed on the desktop ($kind): $(grep RippleImage "$work/layout.txt")"
    icons_on_top "$kind"
    unseen_ticks=$(cpu_over_2s)
    [ "$unseen_ticks" -le 1 ] || fail "unseen ($kind), the water still takes $unseen_ticks ticks"
    end_all
done

# 3. No answer: top-level waters under every other window. (Wine keeps that order for input
#    but may show the X window of another process's above them: the icons' pixels are not
#    looked at.)
# "Capture Screen" shows the desktop's own wallpaper, stretched as Windows is told to.
convert -size 64x48 xc:'#e02020' BMP3:"$work/red.bmp"
wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d "$(winpath "$work/red.bmp")" /f > /dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v WallpaperStyle /d 2 /f > /dev/null 2>&1
settings rain=heavy
start_desktop none
start_wallpaper none
(desk window 300 300 200 150 > /dev/null &)
sleep 1.5
layout
[ "$(classes top | awk '{ print $(NF - 1), $NF }')" = "RippleImage RippleImage" ] ||
    fail "the waters are not at the bottom: $(classes top)"
icons_on_top none
shot none-1
sleep 0.5
shot none-2
[ "$(area_changes none-1 none-2 "$first")" -gt 500 ] || fail "the first monitor's water does not move"
[ "$(area_changes none-1 none-2 "$second")" -gt 500 ] || fail "the second monitor's water does not move"
# Both monitors show the desktop's red wallpaper under the water.
for area in "$first" "$second"; do
    colour=$(convert "$work/none-2.png" -crop "$area" +repage -scale 1x1! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
    # shellcheck disable=SC2086 # three numbers
    set -- $colour
    [ "$1" -gt 150 ] && [ "$2" -lt 90 ] && [ "$3" -lt 90 ] ||
        fail "the water does not show the desktop's wallpaper ($colour at $area)"
done
# No black frame: the outermost pixels and the line between the monitors show the picture.
for point in "0 400" "1023 700" "1024 300" "1823 300" "500 767" "1300 0"; do
    # shellcheck disable=SC2086 # two numbers
    [ "$(brightness none-2 $point)" -gt 60 ] || fail "the pixel at $point is black"
done

# The tray menu's "Start with Windows" writes the Run key's value and takes it away again; a
# second start opens the settings of the one that runs. (In this order, and before the water
# is made anew: Wine shows a window it maps or activates above those it showed before, the
# notification area's too.)
run_value() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Pluvette > /dev/null 2>&1; }
# Opens the tray icon's menu (Wine's notification area stands at the screen's corner; the menu
# opens with its left edge at the click) and clicks its third entry, Start with Windows: the
# menu holds four entries of one height and a separator of half of it. (Wine's menus take no
# keys on a display without a window manager.)
start_with_windows() {
    local menu x y w h window
    # Wine stacks the waters' X windows, shown once their pictures are ready, over its
    # notification area: raised in X, as Windows shows it.
    for window in $(xdotool search --name '^Wine System Tray$' 2> /dev/null); do
        xdotool windowraise "$window"
    done
    xdotool mousemove 12 30 click 3
    sleep 0.8
    menu=$(xwininfo -root -tree | grep '"pluvette.exe"' | grep -v ' 1x1+' |
        awk '{ split($(NF - 1), g, /[x+]/); if (g[3] == 12 && g[1] < 400) { print g[1], g[2], g[3], g[4]; exit } }')
    read -r w h x y <<< "$menu"
    [ -n "$h" ] || fail "the tray icon's menu did not open"
    xdotool mousemove $((x + w / 2)) $((y + 3 + (h - 6) * 5 / 9)) click 1
    sleep 0.5
}
run_value && fail "the Run key holds a value before the test"
start_with_windows
wait_for run_value || fail "Start with Windows wrote no Run value"
start_with_windows
wait_for eval '! run_value' || fail "Start with Windows did not take its Run value away"

(cd "$work/app" && exec wine ./pluvette.exe /w) &
wait_for launcher_visible || fail "a second start did not open the settings"
# Wine gives a window of another process the X input focus only when told (Windows lets the
# launcher come forward, as the water allows it).
focus_launcher() { xdotool search --onlyvisible --name "^$launcher_caption\$" windowfocus 2> /dev/null; }
focus_launcher
xdotool key alt+F4
wait_for eval '! launcher_visible' || fail "the settings opened by a second start did not close"
# The settings run in a process of their own: a show they launch that cannot start ends that
# process with its error box, and the water goes on.
convert -size 64x48 xc:'#2040e0' "$work/gone.png"
printf '%s\r\n' "bg=$(winpath "$work/gone.png")" sound=null rain=heavy > "$work/app/config.txt"
sleep 1.5
rm "$work/gone.png"
(cd "$work/app" && exec wine ./pluvette.exe /w) &
wait_for launcher_visible || fail "a second start did not open the settings again"
focus_launcher
launch || fail "Launch in the settings did not start the show"
error_box() { xdotool search --onlyvisible --name '^Error$' > /dev/null 2>&1; }
wait_for error_box || fail "a show of a picture that is gone gave no error box"
xdotool search --onlyvisible --name '^Error$' windowfocus 2> /dev/null
xdotool key Return
settings_gone() { [ -z "$(own_pgrep -f 'pluvette\.exe /settings')" ]; }
wait_for settings_gone || fail "the settings' process did not end after its error box"
[ -n "$(wallpaper_pid)" ] || fail "the water on the desktop ended with its settings' show"
wait_for ours || fail "the water left the desktop with its settings' show"
# Settings still open once the water has stopped: their Wallpaper button starts it again.
desk close
wait_for eval '[ -z "$(wallpaper_pid)" ]' || fail "the wallpaper did not close"
(cd "$work/app" && exec wine ./pluvette.exe /settings "$(winpath "$work/app/config.txt")") &
wait_for launcher_visible || fail "the settings did not open"
focus_launcher
probe
click "$IDC_WALLPAPER"
wait_for settings_gone || fail "the settings did not close with their Wallpaper button"
wait_for eval '[ -n "$(wallpaper_pid)" ]' || fail "the settings' Wallpaper button started no water"
wait_for ours || fail "the water started from the settings is not on the desktop"
settings rain=heavy
one_wallpaper() { [ "$(own_pgrep -f 'pluvette\.exe /w( |$)' | wc -l)" = 1 ]; }
wait_for one_wallpaper || fail "a second wallpaper runs"

# 4. A new rain decodes nothing: the desktop's picture, blue on the disk from now on, stays red
#    under the water. The pointer: ripples over the desktop, none over another program's
#    window; still, and without rain, the water costs nothing.
red_shown() {
    shot shown
    colour=$(convert "$work/shown.png" -crop "$first" +repage -scale 1x1! -format '%[fx:int(255*r)] %[fx:int(255*b)]' info:)
    [ "${colour%% *}" -gt 150 ] && [ "${colour##* }" -lt 90 ]
}
sleep 5 # the settings taken (Wine tells of a folder's changes within seconds)
wait_for red_shown || fail "the water does not show the desktop's picture again ($colour)"
convert -size 64x48 xc:'#2040e0' BMP3:"$work/red.bmp"
settings rain=none
sleep 5 # the settings taken, the rain settled
red_shown || fail "a new rain decoded the picture again (red and blue now $colour)"
own_pgrep -f 'desktop_stand_in.exe window' | xargs -r kill
(desk window 1300 250 300 200 > /dev/null &)
sleep 2
# Wine stacks another process's X window under the waters it showed before, whatever the
# windows' order, and then takes the pointer over it to be over them: raised in X, as
# Windows shows it.
for window in $(xdotool search --name '^Some program$' 2> /dev/null); do
    xdotool windowraise "$window"
done
sleep 0.3
shot calm-1
for x in $(seq 200 40 900); do xdotool mousemove "$x" 400; sleep 0.03; done
sleep 0.2
shot moved
[ "$(area_changes calm-1 moved 900x200+100+300)" -gt 500 ] || fail "the pointer made no ripples"
sleep 4
shot calm-2
# Over the window's client area (Wine leaves the frame it has a window manager draw out of the
# window's place for input); the water just above it stays calm.
for x in $(seq 1310 20 1590); do xdotool mousemove "$x" 290; sleep 0.03; done
sleep 0.2
shot over-window
[ "$(area_changes calm-2 over-window 300x40+1300+205)" -lt 50 ] ||
    fail "the pointer over another window made ripples under it"
sleep 12 # the ripples settle
still=$(cpu_over_2s 10)
echo "processor ticks over 10 s without rain, the pointer still: $still"
[ "$still" -le 1 ] || fail "calm water with the pointer still takes $still ticks in 10 s"

# 5. A window hiding 98 % of the second monitor stops its water (the pointer makes no ripple in
#    the strip left), while the first goes on; with both hidden or the session locked, the
#    process takes next to no time, unless "show desktop" raises the desktop over the windows;
#    windows the desktop shows through hide nothing.
own_pgrep -f 'desktop_stand_in.exe window' | xargs -r kill
(desk window 1036 0 788 600 > /dev/null &)
sleep 2.5
shot strip-1
for y in $(seq 100 30 500); do xdotool mousemove 1030 "$y"; sleep 0.03; done
sleep 0.2
shot strip-2
[ "$(area_changes strip-1 strip-2 12x600+1024+0)" -lt 10 ] || fail "the hidden monitor's water still moves"
for y in $(seq 100 30 500); do xdotool mousemove 500 "$y"; sleep 0.03; done
sleep 0.2
shot strip-3
[ "$(area_changes strip-2 strip-3 "$first")" -gt 500 ] || fail "the first monitor stopped too"
settings rain=heavy
sleep 2
running=$(cpu_over_2s)
(desk window 0 0 1024 768 > /dev/null &)
sleep 2.5
covered=$(cpu_over_2s)
echo "processor ticks over 2 s: running $running, both monitors hidden $covered"
[ "$covered" -le 1 ] && [ "$running" -gt "$covered" ] || fail "hidden, the water still takes $covered ticks"
# "Show desktop" raises the desktop over those windows: the water runs again within a second,
# and stops again once the windows are back in front.
desk show-desktop
sleep 1
shown=$(cpu_over_2s 0.6)
desk show-windows
sleep 2
behind=$(cpu_over_2s)
echo "processor ticks: 0.6 s from 1 s after \"show desktop\" $shown, then behind the windows again $behind over 2 s"
[ "$shown" -gt 1 ] || fail "the water did not run within a second of \"show desktop\""
[ "$behind" -le 1 ] || fail "with the windows in front again, the water still takes $behind ticks"
own_pgrep -f 'desktop_stand_in.exe window' | xargs -r kill
# Windows that let the desktop show through hide nothing: a click-through overlay and a
# translucent one over both monitors.
for kind in click-through translucent; do
    (desk window 0 0 1824 768 "$kind" > /dev/null &)
    sleep 2.5
    under=$(cpu_over_2s)
    own_pgrep -f 'desktop_stand_in.exe window' | xargs -r kill
    [ "$under" -gt 1 ] || fail "a $kind window over the monitors stopped the water"
done
sleep 2.5
[ "$(cpu_over_2s)" -gt 1 ] || fail "the water did not start again once the windows closed"
desk lock
sleep 0.5
locked=$(cpu_over_2s)
[ "$locked" -le 1 ] || fail "locked, the water still takes $locked ticks"
desk unlock
shot unlocked-1
sleep 0.5
shot unlocked-2
[ "$(area_changes unlocked-1 unlocked-2 "$first")" -gt 500 ] || fail "the water did not start again on unlock"

# The screen saver over every monitor pauses the water, which runs again once it ends.
cp "$exe" "$work/app/pluvette.scr"
(cd "$work/app" && exec wine ./pluvette.scr /s > /dev/null 2>&1 &)
sleep 3
under_saver=$(cpu_over_2s)
[ "$under_saver" -le 1 ] || fail "under the screen saver the water still takes $under_saver ticks"
xdotool mousemove 700 500 key space
sleep 2.5
[ "$(cpu_over_2s)" -gt 1 ] || fail "the water did not start again after the screen saver"

# 6. The desktop restarted: the water is back within 2 s.
desk restart
sleep 2.5
wait_for ours || fail "the water did not come back after the desktop restarted"

# 7. Closed as an installer closes it: the desktop repainted, no window of ours left; killed,
#    its watchdog repaints within 2 s. Neither writes the wallpaper setting: no broadcast of
#    it, and the profile's wallpaper values as they were.
last_repaint() { awk '/^repaint/ { t = $2; sub(/\r/, "", t) } END { print (t == "" ? 0 : t) }' "$work/desk.log"; }
wallpaper_values() { wine reg query 'HKCU\Control Panel\Desktop' 2> /dev/null | tr -d '\r' | grep -i wallpaper; }
#    (Beside the icons, where the stand-in's wallpaper is a window of its own that repaints.)
end_all
start_desktop beside
start_unseen closing
wallpaper_values > "$work/values-before.txt"
closed=$(now_ms)
desk close
wait_for eval '[ -z "$(wallpaper_pid)" ]' || fail "the wallpaper did not close"
wait_for eval '[ "$(last_repaint)" -ge "$closed" ]' || fail "closing did not repaint the desktop"
echo "repainted $(($(last_repaint) - closed)) ms after closing"
layout
! grep -q RippleImage "$work/layout.txt" || fail "a water window outlived the wallpaper"
start_unseen again
killed=$(now_ms)
kill -9 "$(wallpaper_pid)"
wait_for eval '[ "$(last_repaint)" -ge "$killed" ]' || true
last=$(last_repaint)
echo "repainted $((last - killed)) ms after the kill"
[ "$last" -ge "$killed" ] && [ $((last - killed)) -le 2000 ] ||
    fail "the desktop was not repainted within 2 s of the kill"
sleep 1
! grep -q '^wallpaper-set' "$work/desk.log" || fail "the wallpaper setting was written: $(grep '^wallpaper-set' "$work/desk.log")"
wallpaper_values | cmp -s - "$work/values-before.txt" ||
    fail "the wallpaper values changed: $(wallpaper_values | diff "$work/values-before.txt" - || true)"

# 8. A picture under the water and the icons over it (the read-me's picture): the icons stand
#    still while the water moves round them. Wine keeps another process's X window below the
#    ones it showed later, whatever the windows' order: the stand-in's are raised in X, as
#    Windows' compositor shows the desktop's icons above the water.
end_all
convert -size 1024x768 gradient:'#0b3d6b-#7fc4e8' \
    -fill '#2a6f4f' -draw 'rectangle 0,520 1024,768' -fill '#f0d070' -draw 'circle 760,220 760,170' \
    PNG24:"$work/evening.png"
# No rain: a drop may fall beside an icon, where the water shows between its picture and its
# label, and the icons are checked by pixels that stand still.
printf '%s\r\n' "bg=$(winpath "$work/evening.png")" sound=null fitscreen=fill rain=none \
    > "$work/app/config.txt"
start_desktop none
start_wallpaper picture
sleep 4
for window in $(xdotool search --class desktop_stand_in 2> /dev/null); do
    xdotool windowraise "$window"
done
for x in $(seq 300 30 700); do xdotool mousemove "$x" $((300 + x / 4)); sleep 0.03; done
xdotool mousemove 520 420 click 1
sleep 0.4
shot desktop-1
sleep 0.3
shot desktop-2
[ "$(area_changes desktop-1 desktop-2 600x400+200+200)" -gt 500 ] || fail "the water under the picture does not move"
icon_moved=$(area_changes desktop-1 desktop-2 40x40+20+85)
icon_drawn=$(area_changes none-2 desktop-2 40x40+20+85)
[ "$icon_moved" -lt 5 ] && [ "$icon_drawn" -gt 500 ] ||
    fail "the icons are not drawn over the water ($icon_moved pixels of the icon moved, $icon_drawn differ from the bare desktop)"
[ -z "$shots" ] || convert "$work/desktop-1.png" -crop 900x560+0+50 +repage "$shots/desktop.png"

# 9. A settings file in a folder named in other scripts: "/w PATH" shows its picture (named
#    relative to it), and the Run key holds the path whole.
end_all
zoe="$work/Zoé Ж"
mkdir -p "$zoe"
convert -size 64x48 xc:'#20c040' PNG24:"$zoe/green.png"
printf '%s\r\n' bg=green.png sound=null fitscreen=yes rain=none > "$zoe/config.txt"
start_desktop none
zoe_settings=$(LC_ALL=C.UTF-8 winpath "$zoe/config.txt")
(cd "$work/app" && LC_ALL=C.UTF-8 exec wine ./pluvette.exe /w "$zoe_settings") &
wait_for ours || fail "no water for the settings in $zoe_settings"
sleep 3
shot zoe
colour=$(convert "$work/zoe.png" -crop "$first" +repage -scale 1x1! -format '%[fx:int(255*r)] %[fx:int(255*g)]' info:)
[ "${colour%% *}" -lt 90 ] && [ "${colour##* }" -gt 150 ] ||
    fail "the water does not show the picture beside $zoe_settings (red and green $colour)"
start_with_windows
wait_for run_value || fail "Start with Windows wrote no Run value for $zoe_settings"
wine reg export 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' "$(winpath "$work/run.reg")" /y > /dev/null 2>&1
iconv -f UTF-16LE -t UTF-8 "$work/run.reg" | grep -qF '\\Zoé Ж\\config.txt' ||
    fail "the Run key holds $(iconv -f UTF-16LE -t UTF-8 "$work/run.reg" | grep -a Pluvette)"
start_with_windows

# 10. The desktop's own picture tiled from the primary monitor's corner, and spanned over both
#     monitors, each showing its part: a picture red in its left half and blue in its right.
end_all
convert -size 32x48 xc:'#e02020' -size 32x48 xc:'#2040e0' +append BMP3:"$work/halves.bmp"
wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d "$(winpath "$work/halves.bmp")" /f > /dev/null 2>&1
settings rain=none
colour_at() { # shot x y: r or b, whichever is stronger there
    [ "$(convert "$work/$1.png" -crop "1x1+$2+$3" +repage -format '%[fx:r > b]' info:)" = 1 ] &&
        echo r || echo b
}
for style in tile span; do
    if [ "$style" = tile ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v WallpaperStyle /d 0 /f > /dev/null 2>&1
        wine reg add 'HKCU\Control Panel\Desktop' /v TileWallpaper /d 1 /f > /dev/null 2>&1
        expected="10:r 40:b 1034:r 1066:b" # 64 pixels a tile, from x = 0
    else
        wine reg add 'HKCU\Control Panel\Desktop' /v WallpaperStyle /d 22 /f > /dev/null 2>&1
        wine reg add 'HKCU\Control Panel\Desktop' /v TileWallpaper /d 0 /f > /dev/null 2>&1
        expected="100:r 600:r 1100:b 1700:b" # one picture over 1824 pixels, halved at 912
    fi
    start_desktop none
    start_wallpaper "$style"
    sleep 3
    shot "$style"
    for point in $expected; do
        [ "$(colour_at "$style" "${point%:*}" 400)" = "${point#*:}" ] ||
            fail "the desktop's $style picture is not $expected at y 400 (x ${point%:*})"
    done
    end_all
done
echo "PASS"
