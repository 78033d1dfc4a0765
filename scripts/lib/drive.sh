# shellcheck shell=bash disable=SC2154 # probe_exe and work come from the caller
# Drives the program under Wine on an X display as a user would: finds the launcher with the
# window probe, reads its controls and clicks them. Sourced, not run; the caller sets
# probe_exe (the probe program) and work (a scratch folder).

# shellcheck source=resource_ids.sh
source "$(dirname "${BASH_SOURCE[0]}")/resource_ids.sh"

# Runs the command every 0.1 s until it succeeds, for at most 6 s.
wait_for() {
    for _ in $(seq 60); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}
# The launcher as the window probe reads it: probe fails when there is none, and leaves its
# controls in $work/probe.txt, a line each: ID X Y W H TEXT.
launcher_caption="Pluvette : www.pluvette.org"
probe() { wine "$probe_exe" "$launcher_caption" 2> /dev/null | tr -d '\r' > "$work/probe.txt"; }
text_of() {
    awk -v id="$1" '$1 == id { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' \
        "$work/probe.txt"
}
# Waits until the launcher's control shows the text: a file picked in a dialog is checked
# before its name shows, which takes a moment more on a busy machine.
shows_text() { probe && [ "$(text_of "$1")" = "$2" ]; }
expect_text() { # id text what
    wait_for shows_text "$1" "$2" || fail "$3 shows '$(text_of "$1")', not '$2'"
}
launcher_visible() { probe && grep -q '^visible 1' "$work/probe.txt"; }
# Clicks the middle of a launcher control as the last probe saw it. The probe gives Windows'
# screen coordinates, whose origin is the primary monitor's corner: screen_left and
# screen_top say where that lies on the X screen when a monitor is left of or above it.
click() {
    local x y w h
    read -r x y w h < <(awk -v id="$1" '$1 == id { print $2, $3, $4, $5 }' "$work/probe.txt")
    xdotool mousemove $((x + w / 2 + ${screen_left:-0})) $((y + h / 2 + ${screen_top:-0})) click 1
}
# The show's window, or an error box in its place, is on the screen.
show_or_box() { xdotool search --onlyvisible --name '^(Pluvette|Error)$' > /dev/null 2>&1; }
launcher_hidden() { probe && grep -q '^visible 0' "$work/probe.txt"; }
# Clicks Launch and waits until the launcher has made way for the show. A click that comes
# as the launcher first appears can be lost on a slow first start of Wine: one more then.
launch() {
    probe
    click "$IDC_LAUNCH"
    if ! wait_for launcher_hidden; then
        probe
        click "$IDC_LAUNCH"
        wait_for launcher_hidden || return 1
    fi
}
