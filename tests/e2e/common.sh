# shellcheck shell=bash disable=SC2154,SC2034 # work, shots, exe, saver come from the caller, folder and pid go back
# Shared by the end-to-end scripts, which drive the program under Wine on a screen and in a
# Wine prefix of their own. Sourced, not run; the script sets work (a scratch folder) and
# shots first.

# shellcheck source=../../scripts/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"

# Gives the script a Wine prefix of its own in $work: a copy of the one it was given
# (WINEPREFIX, which scripts/test makes once), or a new one. What the script changes in it
# stays there, and its programs are told from any other by their environment (own_pgrep).
own_prefix=
use_own_prefix() {
    local template=${WINEPREFIX:-$HOME/.wine}
    own_prefix=$work/prefix
    [ ! -f "$template/system.reg" ] || cp -a "$template" "$own_prefix"
    export WINEPREFIX=$own_prefix
    need_wine_prefix
}
# A screen (its size in width and height) and a Wine prefix of its own, so that the script
# can share the machine with anything else, another run of the tests too; end_own_session,
# in the script's exit trap, stops what runs in both.
use_own_session() {
    start_display
    use_own_prefix
    read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')
}
end_own_session() {
    if [ -n "$own_prefix" ]; then
        wineserver -k 2> /dev/null || true
        wineserver -w 2> /dev/null || true
    fi
    stop_started_display
}
# The programs of this script's prefix that pgrep finds with these arguments.
own_pgrep() { pgrep_env "WINEPREFIX=$own_prefix" "$@"; }

fail() {
    echo "FAIL: $*"
    exit 1
}
winpath() {
    local path
    path=$(winepath -w "$1" 2> /dev/null) && [ -n "$path" ] || {
        echo "winepath gave no Windows path for $1" >&2
        return 1
    }
    echo "$path"
}
# How many pixels of two pictures differ by more than the fuzz.
differing() {
    compare -metric AE -fuzz "${3:-0}" "$1" "$2" null: 2>&1 | awk '{ printf "%d\n", $1 }' || true
}
# A screenshot of the display into $work/NAME.png, kept in $shots when that is set.
shot() {
    import -window root "$work/$1.png"
    [ -z "${shots:-}" ] || cp "$work/$1.png" "$shots/$1.png"
}
# Waits up to 30 s (a loaded machine's first Wine start is slow) for a file to have content.
wait_for_content() {
    for _ in $(seq 300); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
# Waits like wait_for_content for a file that the program started in the background (its
# process id second) writes; when none comes, says whether the program still runs or how it
# ended, and which windows the display shows, before failing with the message given third.
wait_for_file_of() {
    local status=0
    wait_for_content "$1" && return 0
    if kill -0 "$2" 2> /dev/null; then
        echo "after 30 s the program still runs and has written nothing to $1"
    else
        wait "$2" || status=$?
        echo "the program ended with $status and wrote nothing to $1"
    fi
    echo "windows on the display: $(xwininfo -root -tree | grep -o '"[^"]*"' | sort -u | tr '\n' ' ')"
    fail "$3"
}
# Makes the stand-in browser the handler of web addresses; it appends them to browser.log.
use_test_browser() {
    local scheme
    for scheme in http https; do
        wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve \
            /d "\"$(winpath "$1")\" \"%1\"" /f > /dev/null 2>&1
    done
    export PLUVETTE_BROWSER_LOG
    PLUVETTE_BROWSER_LOG=$(winpath "$work/browser.log")
}

# Starts $exe under Wine in a fresh folder under $work, whose config.txt holds the given
# lines (none: no file), and waits for its launcher; sets folder and pid.
start_in_new_folder() {
    folder=$work/run$RANDOM
    mkdir -p "$folder"
    [ $# -eq 0 ] || printf '%s\r\n' "$@" > "$folder/config.txt"
    start_in_folder
}
# Starts $exe under Wine in $folder and waits for its launcher; sets pid.
start_in_folder() {
    (cd "$folder" && exec wine "$exe") &
    pid=$!
    wait_for launcher_visible || fail "the launcher did not open"
}

# The screen saver as installed: pluvette.scr, a copy of $exe, in a folder of its own
# ($work/saver), to be started from $work/elsewhere; sets saver.
install_saver() {
    mkdir -p "$work/saver" "$work/elsewhere"
    cp "$exe" "$work/saver/pluvette.scr"
    saver=$work/saver/pluvette.scr
}
# The screen saver ($saver) started from $work/elsewhere with the arguments, and how it ends;
# pid is its process.
ended() { ! kill -0 "$pid" 2> /dev/null; }
start_saver() {
    xdotool mousemove 600 400
    (cd "$work/elsewhere" && exec wine "$saver" "$@") &
    pid=$!
    sleep 2.5
    kill -0 "$pid" 2> /dev/null || fail "the screen saver did not stay up ($*)"
}
expect_end() {
    wait_for ended || fail "the screen saver did not end on $1"
    local code=0
    wait "$pid" || code=$?
    pid=
    [ "$code" = 0 ] || fail "exit code $code after $1"
}

# Registers a file type for the tests as music (PerceivedType audio) opened by the command.
register_music_type() {
    local extension=$1 class=$2 command=$3
    wine reg add "HKCR\\.$extension" /ve /d "$class" /f > /dev/null 2>&1
    wine reg add "HKCR\\.$extension" /v PerceivedType /d audio /f > /dev/null 2>&1
    wine reg add "HKCR\\$class\\shell\\open\\command" /ve /d "$command" /f > /dev/null 2>&1
}

# shellcheck source=../../scripts/lib/drive.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/drive.sh"
