# Shared by the end-to-end scripts, which drive the program under Wine on the current X
# display. Sourced, not run; the script sets work (a scratch folder) and shots first.

fail() {
    echo "FAIL: $*"
    exit 1
}
winpath() { winepath -w "$1" 2> /dev/null; }
# How many pixels of two pictures differ by more than the fuzz.
differing() { compare -metric AE -fuzz "${3:-0}" "$1" "$2" null: 2>&1 || true; }
# A screenshot of the display into $work/NAME.png, kept in $shots when that is set.
shot() {
    import -window root "$work/$1.png"
    [ -z "${shots:-}" ] || cp "$work/$1.png" "$shots/$1.png"
}
# Runs the command every 0.1 s until it succeeds, for at most 6 s.
wait_for() {
    for _ in $(seq 60); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
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

# The launcher as the window probe reads it: probe fails when there is none, and leaves its
# controls in $work/probe.txt, a line each: ID X Y W H TEXT.
launcher_caption="Pluvette : www.pluvette.org"
probe() { wine "$probe_exe" "$launcher_caption" 2> /dev/null | tr -d '\r' > "$work/probe.txt"; }
text_of() {
    awk -v id="$1" '$1 == id { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' \
        "$work/probe.txt"
}
launcher_visible() { probe && grep -q '^visible 1' "$work/probe.txt"; }
# Clicks the middle of a launcher control as the last probe saw it.
click() {
    local x y w h
    read -r x y w h < <(awk -v id="$1" '$1 == id { print $2, $3, $4, $5 }' "$work/probe.txt")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}
