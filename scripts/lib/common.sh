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

# Starts a virtual display when there is none; started_display holds its process then.
started_display=
stop_started_display() { [ -z "$started_display" ] || kill "$started_display" 2> /dev/null || true; }
need_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo > /dev/null 2>&1; then
        return
    fi
    export DISPLAY=:${PLUVETTE_DISPLAY_NUMBER:-97}
    if ! xdpyinfo > /dev/null 2>&1; then
        Xvfb "$DISPLAY" -screen 0 "${PLUVETTE_SCREEN:-1280x800x24}" -nolisten tcp \
            > /dev/null 2>&1 &
        started_display=$!
        for _ in $(seq 50); do
            xdpyinfo > /dev/null 2>&1 && break
            sleep 0.1
        done
    fi
}

# Starts an X server with the dummy video driver on $DISPLAY with a monitor of each size
# given (WxH), side by side from left to right, the first one the primary; writes its
# configuration and log in the folder given first. Sets monitors_server to its process.
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
    if xdpyinfo > /dev/null 2>&1; then
        echo "start_monitors: display $DISPLAY is taken" >&2
        return 1
    fi
    Xorg "$DISPLAY" -config "$folder/xorg.conf" -noreset -nolisten tcp \
        -logfile "$folder/xorg.log" > /dev/null 2>&1 &
    # shellcheck disable=SC2034 # for the caller
    monitors_server=$!
    for _ in $(seq 100); do
        xdpyinfo > /dev/null 2>&1 && break
        sleep 0.1
    done
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
