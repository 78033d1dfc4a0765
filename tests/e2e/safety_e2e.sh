#!/usr/bin/env bash
# Tries pluvette.exe under Wine with settings a hostile or unlucky user could leave: music
# that is a program, a script, a folder or a web address (error 105, or silence for a screen
# saver, and nothing runs); small PNG files that declare pictures of billions of pixels and
# files of gigabytes (error 104 at once, little memory, no crash); and the About panel opened
# 200 times (GDI objects stay flat). PLUVETTE_E2E_SHOTS names a folder to keep screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
player=$(readlink -f "$2") # a copy of it stands for a program that must never run
probe_exe=$(readlink -f "$3")
about_runner=$(readlink -f "$4")
browser=$(readlink -f "$5") # a stand-in web browser
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
slow_disk_pid=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; [ -z "$slow_disk_pid" ] || fusermount3 -u -z "$work/slow"
    end_own_session; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session

# Starts the program in a fresh folder with these settings and clicks Launch.
start() {
    start_in_new_folder "$@"
    launch || fail "Launch did not start the show"
}
error_box() { xdotool search --name '^Error$' 2> /dev/null | head -n 1; }
crash_dialog() { xdotool search --name 'Program Error' > /dev/null 2>&1; }
# Waits for the error box, dismisses it and expects the program to end with the code.
expect_error() {
    local code=$1 what=$2 box
    wait_for eval '[ -n "$(error_box)" ]' || fail "no error box for $what"
    box=$(error_box)
    xdotool windowfocus --sync "$box" key Return 2> /dev/null || xdotool key Return
    wait_for eval '! kill -0 $pid 2> /dev/null' || fail "the program did not end after $what"
    local exit_code=0
    wait "$pid" || exit_code=$?
    pid=
    [ "$exit_code" = "$code" ] || fail "exit code $exit_code after $what, not $code"
    ! crash_dialog || fail "a crash dialog after $what"
}

# 1. Music that is not music: error 105, and whatever it names never runs: a program, a
# script, a folder, a web address; a program or a script named .mp3, a link x.mp3 to a
# program, and a device named like music.
mkdir -p "$work/music"
cp "$player" "$work/music/marker.exe"
cp "$player" "$work/music/evil.mp3"
ln -s "$work/music/marker.exe" "$work/music/x.mp3"
printf '#!/bin/sh\ntouch "%s"\n' "$work/music/unix-script.ran" > "$work/music/script.mp3"
chmod +x "$work/music/script.mp3"
printf 'echo ran > "%s"\r\n' "$(winpath "$work/music")\\script.ran" > "$work/music/song.bat"
use_test_browser "$browser"
for sound in "$(winpath "$work/music/marker.exe")" "$(winpath "$work/music/song.bat")" \
    "$(winpath "$work/music")" "https://www.pluvette.org/song.mp3" \
    "$(winpath "$work/music/evil.mp3")" "$(winpath "$work/music/x.mp3")" \
    "$(winpath "$work/music/script.mp3")" "$(winpath "$work/music")\\nul.mp3" \
    "$(winpath "$work/music")\\COM1.mp3"; do
    start "bg=null" "sound=$sound" "fitscreen=yes"
    expect_error 105 "music at $sound"
done
sleep 1
ran=("$work"/music/*.ran)
[ ! -e "${ran[0]}" ] || fail "a program ran as music: ${ran[*]}"
[ ! -e "$work/browser.log" ] || fail "a web address was opened as music"
! own_pgrep -f 'explorer.exe .*music' > /dev/null || fail "a folder was opened as music"

# 2. A screen saver with such music shows the water in silence; the program never runs.
mkdir -p "$work/saver"
cp "$exe" "$work/saver/pluvette.scr"
printf '%s\r\n' "bg=null" "sound=$(winpath "$work/music/marker.exe")" "fitscreen=yes" \
    > "$work/saver/config.txt"
xdotool mousemove 600 400
(cd "$work" && exec wine "$work/saver/pluvette.scr" /s) &
pid=$!
wait_for show_or_box || fail "the screen saver showed nothing"
sleep 1 # the music would have started by now
kill -0 "$pid" 2> /dev/null || fail "the screen saver did not stay up with a program as music"
[ -z "$(error_box)" ] || fail "the screen saver showed an error box"
[ ! -e "$work/music/marker.exe.ran" ] || fail "the screen saver ran the program"
xdotool key a
wait_for eval '! kill -0 $pid 2> /dev/null' || fail "the screen saver did not end on a key"
code=0
wait "$pid" || code=$?
pid=
[ "$code" = 0 ] || fail "the screen saver ended with $code"

# 3. Pictures too large to show: 1-bit PNG files of a few hundred kilobytes whose complete
# data declares 23200x23200 to 65535x65535 pixels, and files of 2 GB. Error 104 at once,
# with memory in proportion to the files' headers, not to what they declare.
python3 - "$work" <<'PY'
import struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
for side in (23200, 32768, 65535):
    row = b"\0" * (1 + (side + 7) // 8)
    packer = zlib.compressobj(9)
    data = b"".join(packer.compress(row) for _ in range(side)) + packer.flush()
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0))
           + chunk(b"IDAT", data) + chunk(b"IEND", b""))
    open(f"{sys.argv[1]}/huge-{side}.png", "wb").write(png)
PY
# Small files whose later images, or the pictures inside them, declare what no decoder may
# be given: a JPEG frame of 30000 x 30000, an icon holding a PNG of 16384 x 16384 behind a
# directory entry of 256 x 256, and a GIF whose first image is 16 x 16 and later ones
# 16000 x 16000.
python3 - "$work" <<'PY'
import struct, sys, zlib
out = sys.argv[1]
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
sof = b"\xff\xc0" + struct.pack(">HBHHB", 17, 8, 30000, 30000, 3) + b"\x01\x11\x00\x02\x11\x00\x03\x11\x00"
sos = b"\xff\xda" + struct.pack(">HB", 12, 3) + b"\x01\x00\x02\x00\x03\x00\x00\x3f\x00"
open(f"{out}/huge-frame.jpg", "wb").write(b"\xff\xd8" + sof + sos + b"\x00" * 200 + b"\xff\xd9")
side = 16384
rows = zlib.compress(b"\0" * (1 + side // 8) * side, 9)
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0))
       + chunk(b"IDAT", rows) + chunk(b"IEND", b""))
open(f"{out}/huge-inside.ico", "wb").write(struct.pack("<HHHBBBBHHII", 0, 1, 1, 0, 0, 0, 0, 1, 32, len(png), 22) + png)
image = lambda w, h: b"\x2c" + struct.pack("<HHHHB", 0, 0, w, h, 0) + b"\x02\x02\x4c\x01\x00"
gif = b"GIF89a" + struct.pack("<HHBBB", 16, 16, 0, 0, 0) + image(16, 16)
gif += b"".join(b"\x21\xf9\x04\x00\x0a\x00\x00\x00" + image(16000, 16000) for _ in range(50)) + b"\x3b"
open(f"{out}/huge-later-frames.gif", "wb").write(gif)
PY
printf '\x89PNG\r\n\x1a\n' > "$work/huge-file.png"
printf '\xff\xd8\xff\xe0' > "$work/huge-file.jpg"
printf 'II*\0' > "$work/huge-file.tif"
truncate -s 2G "$work/huge-file.png" "$work/huge-file.jpg"
truncate -s 300M "$work/huge-file.tif"
for picture in huge-23200.png huge-32768.png huge-65535.png huge-file.png huge-file.jpg \
    huge-file.tif huge-frame.jpg huge-inside.ico huge-later-frames.gif; do
    start "bg=$(winpath "$work/$picture")" "sound=null" "fitscreen=yes"
    started=$(date +%s%N)
    wait_for eval '[ -n "$(error_box)" ]' || fail "no error box for $picture"
    waited=$((($(date +%s%N) - started) / 1000000))
    peak=$(awk '/VmHWM/ { print int($2 / 1024) }' "/proc/$(own_pgrep -x pluvette.exe | head -n 1)/status")
    echo "$picture ($(du -h --apparent-size "$work/$picture" | cut -f1)): box 104 after $waited ms, peak $peak MB"
    [ "$peak" -lt 100 ] || fail "$picture took $peak MB"
    [ "$waited" -lt 3000 ] || fail "$picture took $waited ms to be refused"
    expect_error 104 "$picture"
done

# 4. Pictures of exactly the budget, 8192 x 8192, through each kind of decoder, are shown
# within the peak the README states (1.1 GB).
convert -size 8192x8192 gradient:'#ff8000-#0040ff' PNG32:"$work/budget.png"
convert -size 8192x8192 gradient:'#ff8000-#0040ff' -quality 90 "$work/budget.jpg"
convert -size 8192x8192 gradient:'#ff8000-#0040ff' BMP3:"$work/budget.bmp"
for picture in budget.png budget.jpg budget.bmp; do
    start "bg=$(winpath "$work/$picture")" "sound=null" "fitscreen=yes"
    wait_for show_or_box || fail "$picture was not shown"
    [ -z "$(error_box)" ] || fail "$picture was refused"
    sleep 1
    peak=$(awk '/VmHWM/ { print int($2 / 1024) }' "/proc/$(own_pgrep -x pluvette.exe | head -n 1)/status")
    echo "$picture: shown, peak $peak MB"
    [ "$peak" -lt 1100 ] || fail "$picture took $peak MB, more than the README states"
    xdotool key Escape
    wait_for launcher_visible || fail "Escape did not end the show of $picture"
    xdotool key alt+F4
    wait_for eval '! kill -0 $pid 2> /dev/null' || fail "the program did not end"
    pid=
done

# 4b. Shows of a folder ended as soon as they appear, fifteen times: each show's worker, busy
# with the next hand (an 8192 x 8192 16-bit interlaced PNG among the pictures), stops with
# its show, so that workers never pile up beyond the README's peak.
mkdir -p "$work/heavy"
convert -size 640x360 gradient:'#204080-#80c0ff' "$work/heavy/small.png"
convert -size 8192x8192 gradient:'#ff8000-#0040ff' -depth 16 -interlace PNG PNG48:"$work/heavy/large.png"
start_in_new_folder "bg=$(winpath "$work/heavy")" "sound=null" "fitscreen=yes" "change=5"
for show in $(seq 1 15); do
    launch || fail "Launch $show did not start the show"
    wait_for show_or_box || fail "show $show did not appear"
    xdotool key Escape
    wait_for launcher_visible || fail "Escape did not end show $show"
done
peak=$(awk '/VmHWM/ { print int($2 / 1024) }' "/proc/$(own_pgrep -x pluvette.exe | head -n 1)/status")
echo "fifteen shows of a folder ended at once: peak $peak MB"
[ "$peak" -lt 1100 ] || fail "fifteen shows ended at once took $peak MB, more than the README states"
xdotool key alt+F4
wait_for eval '! kill -0 $pid 2> /dev/null' || fail "the program did not end"
pid=

# 4c. A picture on a slow disk (1 MiB a second, served by a file system of the test's own):
# Escape while its first pieces are read brings the launcher back at once, and the process,
# closed then, ends within its bounded wait for the reader left behind; a screen saver ends on
# a key meanwhile just as soon.
slow_disk() {
    [ -e /dev/fuse ] || { echo "slow disk: skipped, this machine has no FUSE"; return; }
    gcc -O2 -D_FILE_OFFSET_BITS=64 -I/usr/include/fuse3 -o "$work/slow_file_system" \
        "$(dirname "$0")/../tools/slow_file_system.c" -lfuse3 -lpthread
    python3 - "$work/slow.png" <<'PY'
import os, struct, sys, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + os.urandom(2048 * 3) for _ in range(1024))  # 6 MiB that do not compress
open(sys.argv[1], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 2048, 1024, 8, 2, 0, 0, 0))
                              + chunk(b"IDAT", zlib.compress(rows, 0)) + chunk(b"IEND", b""))
PY
    mkdir -p "$work/slow"
    "$work/slow_file_system" "$work/slow.png" 1048576 "$work/slow" &
    slow_disk_pid=$!
    wait_for test -e "$work/slow/slow.png" || fail "the slow disk was not mounted"
    local launcher_window='^Pluvette : www\.pluvette\.org$' started waited ended_ms
    start "bg=$(winpath "$work/slow/slow.png")" "sound=null" "fitscreen=yes"
    sleep 1
    started=$(date +%s%N)
    xdotool key Escape
    until xdotool search --onlyvisible --name "$launcher_window" > /dev/null 2>&1; do
        [ $((($(date +%s%N) - started) / 1000000)) -lt 6000 ] || fail "Escape during a slow read"
    done
    waited=$((($(date +%s%N) - started) / 1000000))
    echo "slow disk: Escape to the launcher in $waited ms"
    [ "$waited" -lt 100 ] || fail "Escape during a slow read took $waited ms"
    started=$(date +%s%N)
    xdotool key alt+F4
    wait_for eval '! kill -0 $pid 2> /dev/null' || fail "the program did not end with a slow read"
    ended_ms=$((($(date +%s%N) - started) / 1000000))
    pid=
    echo "slow disk: the program ended $ended_ms ms after its launcher was closed"
    [ "$ended_ms" -lt 3000 ] || fail "the program took $ended_ms ms to end"
    install_saver
    printf '%s\r\n' "bg=$(winpath "$work/slow/slow.png")" "sound=null" > "$work/saver/config.txt"
    start_saver /s
    xdotool search --onlyvisible --name '^Pluvette$' > /dev/null 2>&1 || fail "no screen saver"
    started=$(date +%s%N)
    xdotool key shift
    while xdotool search --onlyvisible --name '^Pluvette$' > /dev/null 2>&1; do
        [ $((($(date +%s%N) - started) / 1000000)) -lt 6000 ] || fail "a key during a slow read"
    done
    waited=$((($(date +%s%N) - started) / 1000000))
    expect_end "a key during a slow read"
    echo "slow disk: the screen saver gone $waited ms after a key, its process" \
        "$((($(date +%s%N) - started) / 1000000)) ms after"
    [ "$waited" -lt 100 ] || fail "a key during a slow read took $waited ms to end the screen saver"
    fusermount3 -u -z "$work/slow"
    wait "$slow_disk_pid" || true
    slow_disk_pid=
}
slow_disk

# 4d. An 8192 x 8192 progressive JPEG of 1,000 valid scans, each going over every block of a
# component (half a megabyte): a decision within 3 s at Launch and in a folder (the folder's
# other picture shown), and a screen saver's key honoured while it is decoded.
python3 "$(dirname "$0")/../tools/refining_jpeg.py" "$work/many-scans.jpg" 8192 8192 1000
# Timed from the click on Launch, with no wait on the launcher in between.
click_launch() {
    probe
    started=$(date +%s%N)
    click "$IDC_LAUNCH"
}
start_in_new_folder "bg=$(winpath "$work/many-scans.jpg")" "sound=null" "fitscreen=yes"
click_launch
wait_for eval '[ -n "$(error_box)" ]' || fail "no error box for 1,000 scans"
waited=$((($(date +%s%N) - started) / 1000000))
echo "1,000 scans: refused $waited ms after Launch"
[ "$waited" -lt 3000 ] || fail "1,000 scans took $waited ms to be refused"
expect_error 104 "1,000 scans"
mkdir -p "$work/scans"
cp "$work/many-scans.jpg" "$work/scans/"
convert -size 640x360 gradient:'#204080-#80c0ff' "$work/scans/small.png"
start_in_new_folder "bg=$(winpath "$work/scans")" "sound=null" "fitscreen=yes"
click_launch
wait_for launcher_hidden || fail "Launch did not start the show of the folder"
# The show's window is black until its first picture comes.
picture_shown() {
    [ "$(import -window root -gravity center -crop 16x16+0+0 -format '%[fx:int(255*mean)]' info:)" -gt 40 ]
}
wait_for picture_shown ||
    fail "the folder with 1,000 scans was not shown"
waited=$((($(date +%s%N) - started) / 1000000))
echo "1,000 scans in a folder: its other picture shown $waited ms after Launch"
[ "$waited" -lt 3000 ] || fail "the folder with 1,000 scans took $waited ms"
xdotool key Escape
wait_for launcher_visible || fail "Escape did not end the folder's show"
xdotool key alt+F4
wait_for eval '! kill -0 $pid 2> /dev/null' || fail "the program did not end"
pid=
install_saver
printf '%s\r\n' "bg=$(winpath "$work/many-scans.jpg")" "sound=null" > "$work/saver/config.txt"
xdotool mousemove 600 400
(cd "$work/elsewhere" && exec wine "$saver" /s) &
pid=$!
wait_for xdotool search --onlyvisible --name '^Pluvette$' > /dev/null 2>&1 || fail "no screen saver"
started=$(date +%s%N)
xdotool key shift
expect_end "a key while 1,000 scans are decoded"
echo "1,000 scans: the screen saver ended $((($(date +%s%N) - started) / 1000000)) ms after a key"

# 5. The About panel opened 200 times leaves as many GDI objects as one opening: Wine's GDI
# trace counts the objects alive, where Windows would answer GetGuiResources.
live_objects() {
    WINEDEBUG=trace+gdi wine "$about_runner" --open-close "$1" 2>&1 |
        sed -n 's/.*\(allocated\|freed\) .* \([0-9]*\)\/[0-9]*$/\2/p' | tail -n 1
}
once=$(live_objects 1)
many=$(live_objects 200)
echo "About panel: $once GDI objects after one opening, $many after 200"
[ -n "$once" ] && [ -n "$many" ] || fail "no GDI trace"
[ "$many" -le $((once + 4)) ] || fail "200 openings left $((many - once)) more GDI objects than one"
echo "safety end to end: ok"
