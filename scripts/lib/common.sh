# shellcheck shell=bash
# Shared by the project's scripts: installs what is missing and prepares Wine on a display.
# Sourced, not run.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Installs the Debian packages of a list on standard input that are missing: a line each,
# the command or file that shows the package is present, then the package ('#' starts a note).
need_packages_from_list() {
    local missing=()
    local check package
    while read -r check package; do
        [[ -n $check && $check != \#* ]] || continue
        if [[ $check == /* ]]; then
            [ -e "$check" ] || missing+=("$package")
        else
            command -v "$check" > /dev/null 2>&1 || missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        if [ "$(id -u)" != 0 ]; then
            echo "missing packages: ${missing[*]} (run as root, or install them)" >&2
            exit 1
        fi
        readarray -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
        echo "installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q > /dev/null
        apt-get install -y -q --no-install-recommends "${missing[@]}" > /dev/null
    fi
}

# Debian packages the build, the tests, the benchmarks and the scripts need.
need_packages() { need_packages_from_list < "$repo_root/scripts/lib/packages.txt"; }

# X servers are started with -displayfd: each takes the first free display number and
# writes it to a file once it accepts clients, so that runs side by side never share a
# screen. Waits for that number and exports DISPLAY; fails when the server ends instead.
display_of_server() { # number_file server_pid
    for _ in $(seq 200); do
        if [ -s "$1" ]; then # written with one call
            DISPLAY=:$(head -n 1 "$1")
            export DISPLAY
            rm -f "$1"
            return 0
        fi
        kill -0 "$2" 2> /dev/null || break
        sleep 0.05
    done
    echo "the X server did not start" >&2
    return 1
}

# Starts a virtual screen of its own (PLUVETTE_SCREEN, 1280x800x24 by default) and exports
# DISPLAY; started_display holds its process.
started_display=
stop_started_display() { [ -z "$started_display" ] || kill "$started_display" 2> /dev/null || true; }
start_display() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${PLUVETTE_SCREEN:-1280x800x24}" -nolisten tcp \
        3> "$number_file" > /dev/null 2>&1 &
    started_display=$!
    display_of_server "$number_file" "$started_display"
}

# Like pgrep with the arguments after the first, but only processes whose environment holds
# the first (as WINEPREFIX=/some/prefix): what one Wine prefix or one run has started, not
# what anybody else runs on the machine. Prints their ids; fails when there are none.
pgrep_env() {
    local setting=$1 pid found=1
    shift
    for pid in $(pgrep "$@"); do
        # A process may end between pgrep and the read: the shell's own complaint about
        # the vanished file is silenced with tr's.
        if { tr '\0' '\n' < "/proc/$pid/environ"; } 2> /dev/null | grep -qxF -- "$setting"; then
            echo "$pid"
            found=0
        fi
    done
    return $found
}

# Starts an X server of its own with the dummy video driver and a monitor of each size given
# (WxH), side by side from left to right, the first one the primary, and exports DISPLAY;
# writes its configuration and log in the folder given first. Sets monitors_server to its
# process.
monitors_server=
start_monitors() {
    local folder=$1 size rate modeline modes="" names=() width=0 height=0 output=0
    shift
    for size in "$@"; do
        width=$((width + ${size%x*}))
        [ "${size#*x}" -le "$height" ] || height=${size#*x}
        # 60 Hz, or less where that keeps the mode under the driver's highest pixel clock.
        rate=60
        [ $((${size%x*} * ${size#*x})) -le $((2560 * 1600)) ] || rate=25
        modeline=$(cvt "${size%x*}" "${size#*x}" "$rate" | grep '^Modeline')
        modes+=$modeline$'\n'
        names+=("$(echo "$modeline" | awk -F'"' '{ print $2 }')")
    done
    cat > "$folder/xorg.conf" << CONF
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam $((width * height * 4 / 1024 + 16384))
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
$modes
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "${names[0]}"
        Virtual $width $height
    EndSubSection
EndSection
CONF
    Xorg -displayfd 3 -config "$folder/xorg.conf" -noreset -nolisten tcp \
        -logfile "$folder/xorg.log" 3> "$folder/display" > /dev/null 2>&1 &
    monitors_server=$!
    display_of_server "$folder/display" "$monitors_server" || return 1
    for ((output = 1; output < ${#names[@]}; output++)); do
        xrandr --addmode "DUMMY$output" "${names[output]}"
        xrandr --output "DUMMY$output" --mode "${names[output]}" --right-of "DUMMY$((output - 1))"
    done
    xrandr > /dev/null # a full query, which Wine's cheaper one then agrees with
}

# A Wine prefix of the project's own, made once.
need_wine_prefix() {
    export WINEPREFIX=${WINEPREFIX:-$repo_root/build/wineprefix}
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # Wine reads its own fonts (Tahoma for dialogs, Marlett for the title bars' buttons) only
    # from the prefix's Fonts folder, where Debian's Wine does not put them; put there before
    # the prefix is made, they are in the font list it keeps from the start.
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [ ! -e "$fonts/marlett.ttf" ] && [ -d /usr/share/wine/fonts ]; then
        mkdir -p "$fonts"
        cp /usr/share/wine/fonts/*.ttf "$fonts/"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i > /dev/null 2>&1
        # Without a window manager on the display, Wine waits two seconds for each managed
        # window to be unmapped; unmanaged windows need no such wait.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
            > /dev/null 2>&1
        wineserver -w
    fi
}
