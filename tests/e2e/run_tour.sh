#!/usr/bin/env bash
# scripts/run on a machine without a display: it must show the program off on a virtual
# display, save what it showed, and leave no process of its own behind. Every process it
# starts inherits a mark in its environment, by which the leftovers are found.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'end_own_session; rm -rf "$work"' EXIT
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
use_own_prefix
cd "$work"
env -u DISPLAY PLUVETTE_TOUR="$work" "$repo/scripts/run" > run.log 2>&1 ||
    { cat run.log; echo "FAIL: scripts/run failed"; exit 1; }
for file in launcher.png show.png ripples.png show.gif; do
    grep -q "build/tour/$file" run.log || { echo "FAIL: $file not named"; exit 1; }
    [ -s "$repo/build/tour/$file" ] || { echo "FAIL: no $file"; exit 1; }
done
frames=$(identify "$repo/build/tour/show.gif" | wc -l)
[ "$frames" -ge 20 ] || { echo "FAIL: the animation has $frames frames"; exit 1; }
[ -s config.txt ] || { echo "FAIL: the program did not run in the current folder"; exit 1; }
sleep 1
if pgrep_env "PLUVETTE_TOUR=$work" -f .; then
    echo "FAIL: processes left behind"
    exit 1
fi
echo "run tour: ok, $frames frames"
