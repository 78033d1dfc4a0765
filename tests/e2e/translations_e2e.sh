#!/usr/bin/env bash
# The program in its user's language, driven under Wine as a user would: the launcher under
# German, Japanese and Arabic systems (Wine takes the language from LANG) shows its texts in
# that language, mirrored in Arabic; language=fr in config.txt speaks French over an English
# system; an error box in German, and one mirrored in Arabic. PLUVETTE_E2E_SHOTS names a
# folder for screenshots: the launcher in each language, and the three side by side.
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2") # prints a window's controls and their texts
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; end_own_session; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session

# The control's left edge on the screen, as the last probe saw it.
left_of() { awk -v id="$1" '$1 == id { print $2 }' "$work/probe.txt"; }
close_launcher() {
    xdotool key alt+F4
    wait_for ended || fail "the launcher did not close"
    wait "$pid" || fail "the launcher ended with $?"
    pid=
}
# The launcher's window alone, cut from a screenshot.
shot_launcher() {
    local window x y w h
    window=$(xdotool search --name "^$launcher_caption\$" | head -n 1)
    read -r x y w h < <(xdotool getwindowgeometry --shell "$window" |
        awk -F= '{ v[$1] = $2 } END { print v["X"], v["Y"], v["WIDTH"], v["HEIGHT"] }')
    import -window root -crop "${w}x$h+$x+$y" +repage "$work/launcher-$1.png"
    [ -z "$shots" ] || cp "$work/launcher-$1.png" "$shots/"
}

# 1. The system's language: each text where the user looks for it, and in Arabic the
# launcher mirrored (Launch at the right, More Apps at the left), its file names still left
# to right.
check_launcher() { # locale tag image-label launch-button placement-entry
    LANG=$1 LC_ALL=$1 start_in_new_folder "bg=null" "sound=null" "fitscreen=no"
    expect_text "$IDC_IMAGE_LABEL" "$3" "the image label in $2"
    expect_text "$IDC_LAUNCH" "$4" "the Launch button in $2"
    expect_text "$IDC_PLACEMENT" "$5" "the Picture list in $2"
    local launch more
    launch=$(left_of "$IDC_LAUNCH") more=$(left_of "$IDC_MORE_APPS")
    if [ "$2" = ar ]; then
        [ "$launch" -gt "$more" ] || fail "the Arabic launcher is not mirrored (Launch at $launch)"
        # The fields' own texts ("Capture Screen", "No Music") read from the right edge.
        for field in "$IDC_IMAGE_FIELD" "$IDC_MUSIC_FIELD"; do
            grep -qx "right-to-left $field" "$work/probe.txt" &&
                grep -qx "mirrored $field" "$work/probe.txt" ||
                fail "the Arabic field $field does not read right to left"
        done
    else
        [ "$launch" -lt "$more" ] || fail "the launcher in $2 is mirrored"
    fi
    shot_launcher "$2"
    if [ "$2" = ar ]; then
        # Where the image field's text stands: nearer its right edge than its left.
        local x y w h box tw tx
        read -r x y w h < <(awk -v id="$IDC_IMAGE_FIELD" '$1 == id { print $2, $3, $4, $5 }' \
            "$work/probe.txt")
        box=$(import -window root -crop "$((w - 8))x$((h - 8))+$((x + 4))+$((y + 4))" +repage \
            png:- | convert png:- -fuzz 30% -format '%@' info:)
        read -r tw tx < <(echo "$box" | awk -F'[x+]' '{ print $1, $3 }')
        echo "Arabic image field: text from $tx to $((tx + tw)) of $((w - 8)) pixels"
        [ $((w - 8 - tx - tw)) -lt "$tx" ] || fail "the Arabic field's text is not aligned right"
    fi
    close_launcher
}
check_launcher de_DE.UTF-8 de "Hintergrundbild:" "Starten" "Zentriert (größere strecken)"
check_launcher ja_JP.UTF-8 ja "背景画像:" "開始" "中央に表示 (大きい画像は画面に合わせる)"
check_launcher ar_EG.UTF-8 ar "صورة الخلفية:" "تشغيل" "توسيط (تمديد الأكبر منها)"
if [ -n "$shots" ]; then
    convert "$work/launcher-de.png" "$work/launcher-ja.png" "$work/launcher-ar.png" \
        -bordercolor white -border 8 -background white -gravity north +append \
        "$shots/launcher-languages.png"
fi

# 2. The setting over the system's language.
LANG=en_US.UTF-8 start_in_new_folder "bg=null" "sound=null" "fitscreen=yes" "language=fr"
expect_text "$IDC_IMAGE_LABEL" "Image de fond :" "the image label with language=fr"
expect_text "$IDC_RAIN" "Normale" "the Rain list with language=fr"
close_launcher
LANG=en_US.UTF-8 start_in_new_folder "bg=null" "sound=null" "fitscreen=yes"
expect_text "$IDC_IMAGE_LABEL" "Background Image :" "the image label in English"
expect_text "$IDC_RAIN" "Normal" "the Rain list in English"
close_launcher

# 3. Error boxes speak the language too: a picture that cannot be loaded ends the show with
# error 104, in German, and in Arabic with the box mirrored (its icon right of its text).
printf 'not a picture' > "$work/broken.png"
error_box_in() { # locale caption expected-line what
    LANG=$1 LC_ALL=$1 start_in_new_folder "bg=$(winpath "$work/broken.png")" "sound=null" \
        "fitscreen=yes"
    launch || fail "Launch did not start the show"
    wait_for eval "xdotool search --name '^$2\$' > /dev/null 2>&1" || fail "no error box $4"
    wine "$probe_exe" "$2" 2> /dev/null | tr -d '\r' > "$work/box.txt"
    grep -qF "$3" "$work/box.txt" || fail "the error box $4 says: $(cat "$work/box.txt")"
}
dismiss_box() { # caption
    local box
    box=$(xdotool search --name "^$1\$" | head -n 1)
    xdotool windowfocus --sync "$box" key Return 2> /dev/null || xdotool key Return
}
error_box_in de_DE.UTF-8 Fehler "Fehlercode: 104" "in German"
shot error-de
dismiss_box Fehler
wait_for ended || fail "the program did not end after the German error box"
code=0
wait "$pid" || code=$?
pid=
[ "$code" = 104 ] || fail "the German error box ended the program with $code, not 104"
error_box_in ar_EG.UTF-8 "خطأ" "رمز الخطأ: 104" "in Arabic"
# The box's icon (a control without text, at most 64 pixels square) and its text (0xFFFF).
icon_left=$(awk 'NF == 5 && $4 <= 64 && $5 <= 64 { print $2; exit }' "$work/box.txt")
text_left=$(awk '$1 == 65535 { print $2; exit }' "$work/box.txt")
[ -n "$icon_left" ] && [ "$icon_left" -gt "$text_left" ] ||
    fail "the Arabic error box is not mirrored: $(cat "$work/box.txt")"
shot error-ar
dismiss_box "خطأ"
wait_for ended || fail "the program did not end after the Arabic error box"
pid=
echo "translations end to end: ok"
