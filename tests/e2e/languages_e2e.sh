#!/usr/bin/env bash
# Paths in any language and settings files as editors save them, driven under Wine as a user
# would: pictures in folders named in Japanese and with an emoji, pasted into the file dialog,
# saved, shown again after a restart and under the water; music at such a path played and
# stopped; config.txt in the legacy code page, in UTF-8 with a mark and in UTF-16, read and
# saved back whole; the screen saver's Settings started from the system folder and the
# screen saver agreeing. PLUVETTE_E2E_SHOTS names a folder for screenshots.
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2") # prints a window's controls and their texts
player=$(readlink -f "$3")    # a stand-in music player
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; end_own_session; chattr -i "$work/locked" 2> /dev/null; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session
register_music_type plvsong PluvetteTestSong "\"$(winpath "$player")\" \"%1\""

japanese=$work/日本語
emoji="$work/雨 🌧 rain"
mkdir -p "$japanese" "$emoji" "$work/café"
convert -size 400x300 gradient:'#ff8000-#0040ff' PNG24:"$japanese/写真.png"
convert -size 300x300 gradient:'#10e040-#a00090' "$emoji/photo.jpg"
convert -size 300x200 gradient:'#ffffff-#202020' PNG24:"$work/café/été.png"
echo "la la la" > "$japanese/歌.plvsong"

open_dialog() { xdotool search --name '^Open$' > /dev/null 2>&1; }
# Clicks a browse button and pastes the path into the file dialog, as typing cannot enter
# every script.
browse_paste() {
    probe
    click "$1"
    wait_for open_dialog || fail "no file dialog"
    sleep 0.3
    # xclip stays to serve the clipboard: it must not hold the script's output open.
    printf '%s' "$(winpath "$2")" | xclip -selection clipboard > /dev/null 2>&1
    xdotool key ctrl+a ctrl+v
    sleep 0.2
    xdotool key Return
    wait_for eval '! open_dialog' || fail "the file dialog did not take $2"
    sleep 0.2
}
expect_image_field() {
    probe || fail "no launcher"
    expect_text "$IDC_IMAGE_FIELD" "$1" "the image field"
}
close_launcher() {
    xdotool key alt+F4
    wait_for ended || fail "the launcher did not close"
    wait "$pid" || fail "the launcher ended with $?"
    pid=
}
# The show now on the screen is the picture stretched over it.
shows_picture() {
    shot "$2"
    convert "$1" -sample "${width}x${height}!" "$work/stretched.png"
    local changed
    changed=$(differing "$work/stretched.png" "$work/$2.png" 8%)
    echo "$2: $changed of $((width * height)) pixels differ from the picture"
    [ "$changed" -lt $((width * height / 5)) ] || fail "$2 does not show the picture"
}

# 1. Pictures and music in folders named in Japanese and with an emoji, chosen through the
# file dialog: the fields show their names, config.txt keeps them in UTF-8 without a mark.
folder=$work/run-first
mkdir -p "$folder"
start_in_folder
browse_paste "$IDC_BROWSE_IMAGE" "$emoji/photo.jpg"
expect_image_field photo.jpg
browse_paste "$IDC_BROWSE_IMAGE" "$japanese/写真.png"
browse_paste "$IDC_BROWSE_MUSIC" "$japanese/歌.plvsong"
expect_image_field 写真.png
expect_text "$IDC_MUSIC_FIELD" 歌.plvsong "the music field"
close_launcher
printf '%s\r\n' "bg=$(winpath "$japanese/写真.png")" "sound=$(winpath "$japanese/歌.plvsong")" \
    fitscreen=yes > "$work/expected.txt"
cmp -s "$folder/config.txt" "$work/expected.txt" || fail "config.txt holds $(od -c "$folder/config.txt")"

# 2. After a restart the field shows the name again; Launch shows the picture with the music
# playing, and Escape stops it.
start_in_folder
expect_image_field 写真.png
launch || fail "Launch did not start the show"
wait_for show_or_box || fail "no show"
no_box() { ! xdotool search --name '^Error$' > /dev/null 2>&1; }
no_box || fail "an error box instead of the show"
wait_for test -s "$japanese/歌.plvsong.player" || fail "the music did not start"
sleep 1
shows_picture "$japanese/写真.png" show-japanese
xdotool key Escape
wait_for launcher_visible || fail "the launcher did not come back"
wait_for eval '! own_pgrep -f 歌.plvsong > /dev/null' || fail "the music still plays"
close_launcher

# 3. Settings files as editors save them. Each is read, shows its picture's name, and when
# the launcher saves it (the music reset with its default button) stays in its encoding.
legacy=$(winpath "$work/café/été.png" | iconv -f UTF-8 -t CP1252)
utf8_lines=$(printf '%s\r\n' "bg = \"$(winpath "$japanese/写真.png")\"" "sound=null" "fitscreen=yes" "# note" && echo .)
utf8_lines=${utf8_lines%.} # with its last line end, which $( ) would drop
for encoding in cp1252 utf8-mark utf16le utf16be; do
    folder=$work/run-$encoding
    mkdir -p "$folder"
    case $encoding in
    cp1252) printf 'bg=%s\r\nsound=null\r\nfitscreen=yes\r\n' "$legacy" > "$folder/config.txt" ;;
    utf8-mark) printf '\xEF\xBB\xBF%s' "$utf8_lines" > "$folder/config.txt" ;;
    utf16le) { printf '\xFF\xFE'; printf '%s' "$utf8_lines" | iconv -t UTF-16LE; } > "$folder/config.txt" ;;
    utf16be) { printf '\xFE\xFF'; printf '%s' "$utf8_lines" | iconv -t UTF-16BE; } > "$folder/config.txt" ;;
    esac
    cp "$folder/config.txt" "$folder/original.txt"
    start_in_folder
    if [ "$encoding" = cp1252 ]; then
        expect_image_field été.png
        launch || fail "Launch did not start the show ($encoding)"
        wait_for show_or_box && sleep 1
        no_box || fail "an error box for the legacy file"
        shows_picture "$work/café/été.png" show-legacy
        xdotool key Escape
        wait_for launcher_visible || fail "the launcher did not come back"
    else
        expect_image_field 写真.png
    fi
    probe
    click "$IDC_MUSIC_DEFAULT"
    close_launcher
    # The same bytes (the music was "null" already), and the legacy file's in UTF-8.
    if [ "$encoding" = cp1252 ]; then
        iconv -f CP1252 -t UTF-8 "$folder/original.txt" > "$folder/expected.txt"
    else
        cp "$folder/original.txt" "$folder/expected.txt"
    fi
    cmp -s "$folder/config.txt" "$folder/expected.txt" ||
        fail "the $encoding file was saved as $(od -c "$folder/config.txt" | head)"
done

# 4. The screen saver's Settings, started by Windows in its system folder, keep config.txt
# beside the screen saver, and the screen saver shows what was chosen there (the emoji
# folder's picture, read through the system's picture service).
install_saver
system=$(winepath -u 'C:\windows\system32')
[ ! -e "$system/config.txt" ] || fail "the system folder already holds a config.txt"
launcher_caption="Pluvette screen saver settings"
(cd "$system" && exec wine "$saver" /c:1234) &
pid=$!
wait_for launcher_visible || fail "Settings did not open the launcher"
browse_paste "$IDC_BROWSE_IMAGE" "$emoji/photo.jpg"
close_launcher
[ ! -e "$system/config.txt" ] || fail "Settings wrote config.txt in the system folder"
tr -d '\r' < "$work/saver/config.txt" | grep -qxF "bg=$(winpath "$emoji/photo.jpg")" ||
    fail "Settings did not save beside the screen saver"
(cd "$system" && exec wine "$saver" /s) &
pid=$!
sleep 3
shows_picture "$emoji/photo.jpg" saver-emoji
xdotool key a
wait_for ended || fail "the screen saver did not end"
wait "$pid" || fail "the screen saver ended with $?"
pid=
# 5. Where the screen saver's folder takes no files (Program Files for a standard user), its
# Settings keep the choices in the user's own folder, and the screen saver reads them there.
# An immutable folder stands for it, as root may write anywhere else.
mkdir -p "$work/locked"
cp "$exe" "$work/locked/pluvette.scr"
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2> /dev/null | tr -d '\r')")/Pluvette
rm -rf "$appdata"
if chattr +i "$work/locked" 2> /dev/null; then
    (cd "$system" && exec wine "$work/locked/pluvette.scr" /c) &
    pid=$!
    wait_for launcher_visible || fail "Settings did not open the launcher"
    browse_paste "$IDC_BROWSE_IMAGE" "$japanese/写真.png"
    close_launcher
    tr -d '\r' < "$appdata/config.txt" | grep -qxF "bg=$(winpath "$japanese/写真.png")" ||
        fail "Settings did not save in the user's folder"
    (cd "$system" && exec wine "$work/locked/pluvette.scr" /s) &
    pid=$!
    sleep 3
    shows_picture "$japanese/写真.png" saver-user-folder
    xdotool key a
    wait_for ended || fail "the screen saver did not end"
    wait "$pid" || fail "the screen saver ended with $?"
    pid=
    chattr -i "$work/locked"
    rm -rf "$appdata"
else
    echo "no immutable folders here: the user's own folder is not tried"
fi
echo "languages end to end: ok"
