#!/bin/sh
# Makes the screenshots of docs/tutorial.md: for each step, the tutorial's game as it is after
# that step (its start-up script cut after the step's lines), played with the game's key
# timeline by velden-run and photographed at a frame that shows what the step added.
#
#   tools/make_tutorial_screenshots.sh [path/to/velden-run]   (default build/release/velden-run)
set -e
cd "$(dirname "$0")/.."
runner=$(realpath "${1:-build/release/velden-run}")
out=$(pwd)/docs/tutorial
mkdir -p "$out"
xvfb=""
[ -z "$DISPLAY" ] && xvfb="xvfb-run -a -s -screen\ 0\ 1280x1024x24"
# The frame each step's picture is taken at.
frames="1:30 2:30 3:30 4:400 5:700 6:445 7:935 8:1330 9:230 10:860 11:1700 12:30"
for entry in $frames; do
    step=${entry%%:*}
    frame=${entry#*:}
    game=$(mktemp -d)
    cp -r tutorial/. "$game"
    # Lines marked "-- step N" stay up to this step; unmarked lines always stay.
    awk -v last="$step" '!/-- step [0-9]+$/ || $NF + 0 <= last' \
        tutorial/Data/Scripts/INIT_test.lua > "$game/Data/Scripts/INIT_test.lua"
    shot=$(printf "%s/step%02d.png" "$out" "$step")
    set +e
    SDL_AUDIODRIVER=dummy sh -c "$xvfb \"$runner\" --frames $frame --size 640x360 \
        --keys \"$game/playthrough.txt\" --shot $frame:\"$shot\" \"$game\"" > /dev/null
    code=$?
    set -e
    rm -rf "$game"
    # 0: the game ended itself, 1: every frame ran.
    [ $code -le 1 ] || { echo "velden-run failed on step $step ($code)" >&2; exit 1; }
    echo "$shot"
done
