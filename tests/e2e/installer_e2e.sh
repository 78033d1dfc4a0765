#!/usr/bin/env bash
# The installer and the uninstaller under Wine, as an administrator and as a user would run
# them: a silent install with the screen-saver switch puts the files, the Start menu shortcut,
# the "Apps & features" entry and the screen saver in place; the shortcut starts the program;
# a newer version installs over it and keeps the settings; a silent uninstall takes away all
# it made, keeps the settings and puts the earlier screen saver back. Then the installer's
# pages one by one, Start Pluvette on the last, and an uninstall that removes the settings
# when asked to. PLUVETTE_E2E_SHOTS names a folder to keep the screenshots in.
set -euo pipefail
exe=$(readlink -f "$1")
probe_exe=$(readlink -f "$2")
shots=${PLUVETTE_E2E_SHOTS:-}
work=$(mktemp -d)
trap 'end_own_session; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_session

version=$(sed -n 's/^project(Pluvette VERSION \([0-9.]*\).*/\1/p' "$repo_root/CMakeLists.txt")
newer=${version%.*}.$((${version##*.} + 1))
"$repo_root/packaging/make-release" "$exe" "$version" "$work/release" > /dev/null
"$repo_root/packaging/make-release" "$exe" "$newer" "$work/newer" > /dev/null
echo "installer: $(stat -c %s "$work/release/pluvette-$version-setup.exe") bytes"

desktop='HKCU\Control Panel\Desktop'
entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pluvette'
value_of() { # key name: the value's data, nothing when there is none
    { wine reg query "$1" /v "$2" 2> /dev/null || true; } | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^ *[^ ]+ +REG_[A-Z_]+ +/, ""); print }'
}
expect_value() { # key name data
    local found
    found=$(value_of "$1" "$2")
    [ "${found,,}" = "${3,,}" ] || fail "$1 $2 is '$found', not '$3'"
}
windows_folder() { wine cmd /c echo "%$1%" 2> /dev/null | tr -d '\r'; }
installed=$(windows_folder LOCALAPPDATA)\\Programs\\Pluvette
folder=$(winepath -u "$installed" 2> /dev/null)
shortcut=$(winepath -u "$(windows_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Pluvette.lnk" 2> /dev/null)
ours=(pluvette.exe pluvette.scr README.txt LICENSE.txt uninstall.exe)
for translated in "$repo_root"/docs/read-me-for-users.*.txt; do
    tag=${translated%.txt}
    ours+=("README.${tag##*.}.txt")
done
running() { own_pgrep -f 'pluvette\.exe' > /dev/null; }
not_running() { ! running; }
close_launcher() {
    xdotool key alt+F4
    wait_for not_running || fail "the launcher did not close"
}
# The uninstaller runs a copy of itself from the temporary folder and returns at once.
uninstalled() { [ ! -e "$folder/uninstall.exe" ] && [ -z "$(value_of "$entry" DisplayName)" ]; }
wait_until_uninstalled() {
    for _ in $(seq 300); do
        uninstalled && return 0
        sleep 0.1
    done
    fail "the uninstaller did not finish"
}

# 1. Silently, with the screen-saver switch, over another screen saver.
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\ribbons.scr' /f > /dev/null 2>&1
wine reg add "$desktop" /v ScreenSaveActive /d 0 /f > /dev/null 2>&1
wine "$work/release/pluvette-$version-setup.exe" /S /SCREENSAVER || fail "the silent install ended with $?"
for file in "${ours[@]}"; do
    [ -s "$folder/$file" ] || fail "$file was not installed"
done
cmp -s "$exe" "$folder/pluvette.scr" || fail "the screen saver is not the program"
[ -s "$shortcut" ] || fail "no Start menu shortcut"
expect_value "$entry" DisplayName Pluvette
expect_value "$entry" DisplayVersion "$version"
expect_value "$entry" InstallLocation "$installed"
expect_value "$entry" QuietUninstallString "\"$installed\\uninstall.exe\" /S"
[ "$(value_of "$entry" EstimatedSize)" != 0x0 ] || fail "no size in the entry"
expect_value "$desktop" SCRNSAVE.EXE "$installed\\pluvette.scr"
expect_value "$desktop" ScreenSaveActive 1

# 2. The shortcut starts the program in its folder, which keeps the settings.
wine start "$(winpath "$shortcut")" > /dev/null 2>&1
wait_for launcher_visible || fail "the shortcut did not open the launcher"
wait_for_content "$folder/config.txt" || fail "the settings were not written beside the program"
shot installed-launcher
# While it runs, an upgrade gives up rather than leave the old program beside the new files.
code=0
wine "$work/newer/pluvette-$newer-setup.exe" /S || code=$?
[ "$code" != 0 ] || fail "an upgrade over the running program reported success"
expect_value "$entry" DisplayVersion "$version"
close_launcher

# 3. A newer version over it keeps the settings and the screen saver. The water on the desktop
# runs meanwhile: the upgrade closes it and starts it again, and with /WALLPAPER starts it at
# every sign-in.
printf '%s\r\n' '# my own note' "bg=$(winpath "$work/picture.png")" >> "$folder/config.txt"
cp "$folder/config.txt" "$work/config-before.txt"
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
wallpaper_running() { own_pgrep -f 'pluvette\.exe /w( |$)' > /dev/null; }
(cd "$folder" && exec wine ./pluvette.exe /w) > /dev/null 2>&1 &
wait_for wallpaper_running || fail "the water on the desktop did not start"
sleep 2
wine "$work/newer/pluvette-$newer-setup.exe" /S /WALLPAPER || fail "the upgrade ended with $?"
expect_value "$entry" DisplayVersion "$newer"
cmp -s "$folder/config.txt" "$work/config-before.txt" || fail "the upgrade changed config.txt"
expect_value "$desktop" SCRNSAVE.EXE "$installed\\pluvette.scr"
expect_value "$run" Pluvette "\"$installed\\pluvette.exe\" /w \"$installed\\config.txt\""
wait_for wallpaper_running || fail "the upgrade did not start the water on the desktop again"

# 3b. One Pluvette for each user: a setup for another folder while one is installed is
# refused with a non-zero exit code, and the installed one stays as it was.
code=0
wine "$work/newer/pluvette-$newer-setup.exe" /S '/D=C:\pluvette-b' || code=$?
[ "$code" != 0 ] || fail "a second install in another folder reported success"
[ ! -e "$(winepath -u 'C:\pluvette-b' 2> /dev/null)" ] || fail "a second install made its folder"
expect_value "$entry" InstallLocation "$installed"
expect_value "$desktop" SCRNSAVE.EXE "$installed\\pluvette.scr"

# 4. A silent uninstall stops the water on the desktop, takes away what the installer made
# (the Run value too) and keeps the settings.
sleep 2
wine "$folder/uninstall.exe" /S
wait_until_uninstalled
wallpaper_running && fail "the water on the desktop outlived the uninstall"
[ -z "$(value_of "$run" Pluvette)" ] || fail "the Run value outlived the uninstall"
for file in "${ours[@]}"; do
    [ ! -e "$folder/$file" ] || fail "$file is still there"
done
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
wine reg query "$entry" > /dev/null 2>&1 && fail "the Apps & features entry is still there"
cmp -s "$folder/config.txt" "$work/config-before.txt" || fail "the silent uninstall lost config.txt"
expect_value "$desktop" SCRNSAVE.EXE 'C:\windows\system32\ribbons.scr'
expect_value "$desktop" ScreenSaveActive 0

# 4b. A folder that holds files of others is refused (the folder given in quotes, as a shell
# passes one with a space), and nothing in it changes; a new folder given so is honoured.
theirs=$(winepath -u 'C:\my project' 2> /dev/null)
mkdir -p "$theirs"
printf 'my notes' > "$theirs/README.txt"
printf 'colour=blue' > "$theirs/config.txt"
code=0
wine "$work/release/pluvette-$version-setup.exe" /S '/D=C:\my project' || code=$?
[ "$code" != 0 ] || fail "an install over a folder of others reported success"
[ "$(cat "$theirs/README.txt")" = "my notes" ] || fail "the install changed the folder's README.txt"
[ ! -e "$theirs/pluvette.exe" ] || fail "the install put files in a folder of others"
wine "$work/release/pluvette-$version-setup.exe" /S '/D=C:\quoted dir' ||
    fail "the install in a quoted new folder ended with $?"
expect_value "$entry" InstallLocation 'C:\quoted dir'
quoted=$(winepath -u 'C:\quoted dir' 2> /dev/null)
[ -s "$quoted/pluvette.exe" ] || fail "the quoted folder did not get the program"
wine "$quoted/uninstall.exe" /S
for _ in $(seq 300); do [ -e "$quoted/uninstall.exe" ] || break; sleep 0.1; done
[ ! -e "$quoted/pluvette.exe" ] || fail "the quoted folder's uninstall left the program"

# 5. The pages, as a user goes through them with the keyboard: Welcome, the licence, the
# folder, the screen saver (left unticked), and the last page, which starts Pluvette.
installer_window() { xdotool search --onlyvisible --name '^Pluvette (Setup|Uninstall)' 2> /dev/null | head -n 1; }
page() { # name key
    local window
    wait_for installer_window || fail "no installer window for the $1 page"
    sleep 1
    window=$(installer_window)
    import -window "$window" "$work/installer-$1.png"
    [ -z "$shots" ] || cp "$work/installer-$1.png" "$shots/"
    xdotool key "$2"
}
wine "$work/release/pluvette-$version-setup.exe" &
page welcome Return
page licence Return
page folder Return
page screen-saver Return
page finish Return
wait_for launcher_visible || fail "Start Pluvette on the last page did not open the launcher"
expect_value "$entry" DisplayVersion "$version"
expect_value "$desktop" SCRNSAVE.EXE 'C:\windows\system32\ribbons.scr'
close_launcher

# 6. Setup speaks the user's language: its first page in French on a French system, our own
# text (the per-user install) with NSIS's own. Escape, then Yes, leaves it.
LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 wine "$work/release/pluvette-$version-setup.exe" &
french() { xdotool search --onlyvisible --name '^Installation de Pluvette' > /dev/null 2>&1; }
wait_for french || fail "no installer window in French"
sleep 1
wine "$probe_exe" "Installation de Pluvette" deep 2> /dev/null | tr -d '\r' > "$work/french.txt"
grep -qF "Pluvette $version va être installé pour vous seul" "$work/french.txt" ||
    fail "the first page is not in French: $(cat "$work/french.txt")"
grep -qF "Bienvenue" "$work/french.txt" || fail "NSIS's own text on the first page is not French"
import -window "$(xdotool search --onlyvisible --name '^Installation de Pluvette' | head -n 1)" \
    "$work/installer-french.png"
[ -z "$shots" ] || cp "$work/installer-french.png" "$shots/"
xdotool key Escape
sleep 1
xdotool key Return
wait_for eval '! french' || fail "the French installer did not close"

# 7. The uninstaller asks about the settings; Yes removes them, and the folder goes.
wine "$folder/uninstall.exe" &
page uninstall Return
wait_for xdotool search --onlyvisible --name '^Pluvette Uninstall$' > /dev/null 2>&1
sleep 2
shot uninstall-question
xdotool key y
page uninstall-done Return
wait_until_uninstalled
[ ! -e "$folder" ] || fail "the folder is still there: $(ls -A "$folder")"
echo "installed, upgraded, uninstalled silently and through the pages"
