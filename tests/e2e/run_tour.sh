#!/usr/bin/env bash
# scripts/run on a machine without a display: it must show the program off on a virtual
# display, save what it showed, and leave no process of its own behind.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
display_number=94
env -u DISPLAY PLUVETTE_DISPLAY_NUMBER=$display_number "$repo/scripts/run" > run.log 2>&1 ||
    { cat run.log; echo "FAIL: scripts/run failed"; exit 1; }
for file in launcher.png show.png ripples.png show.gif; do
    grep -q "build/tour/$file" run.log || { echo "FAIL: $file not named"; exit 1; }
    [ -s "$repo/build/tour/$file" ] || { echo "FAIL: no $file"; exit 1; }
done
frames=$(identify "$repo/build/tour/show.gif" | wc -l)
[ "$frames" -ge 20 ] || { echo "FAIL: the animation has $frames frames"; exit 1; }
[ -s config.txt ] || { echo "FAIL: the program did not run in the current folder"; exit 1; }
sleep 1
if pgrep -f "Xvfb :$display_number" || pgrep -x pluvette.exe || pgrep -f 'display -immutable'; then
    echo "FAIL: processes left behind"
    exit 1
fi
echo "run tour: ok, $frames frames"
