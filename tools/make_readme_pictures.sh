#!/bin/sh
# Makes the README's pictures of the sample game with velden-run and the game's play-through
# timeline (game/playthrough.txt): three screenshots (docs/screenshot.png, docs/cave.png,
# docs/end.png) and docs/play.gif, a few seconds of play in the meadow from a screenshot every
# fourth frame, joined by tools/make_gif.py (Debian's python3-pil).
# Usage: tools/make_readme_pictures.sh [velden-run]   (default build/release/velden-run)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
run=${1:-$root/build/release/velden-run}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Four seconds past the crate, under the hammer and over the first gap: the camera follows
# the hero and the layers pass at their own rates.
first=600 last=960 step=5
shots=""
frame=$first
while [ "$frame" -le "$last" ]; do
    shots="$shots --shot $frame:$tmp/$(printf %05d "$frame").png"
    frame=$((frame + step))
done
xvfb=""
[ -n "${DISPLAY:-}" ] || xvfb="xvfb-run -a -s \"-screen 0 1280x1024x24\""
cd "$root/game"
# Exit code 1: every frame ran (the timeline quits only later).
code=0
# shellcheck disable=SC2086
eval $xvfb "'$run'" --frames 5300 --keys playthrough.txt \
    --shot 2560:"'$root/docs/screenshot.png'" --shot 4800:"'$root/docs/cave.png'" \
    --shot 5200:"'$root/docs/end.png'" $shots . || code=$?
[ "$code" -le 1 ] || exit "$code"
/usr/bin/python3 "$root/tools/make_gif.py" "$root/docs/play.gif" 400 225 $((step * 10)) "$tmp"/*.png
