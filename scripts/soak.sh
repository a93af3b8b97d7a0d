#!/bin/sh
# Runs the sample game headless for SOAK_FRAMES frames with random key presses from SOAK_SEED
# and checks that the peak resident memory stays flat: after the first 1000 frames (everything
# loaded) and at the end it may differ by at most SOAK_MAX_GROWTH_KB (or the third argument).
# A key timeline in the game folder's soak.txt plays first (the sample game's starts the game
# from its title menu, where random keys would soon press QUIT).
# Usage: soak.sh <velden-run executable> <game folder> [max growth in kB]
set -eu
run=$1
game=$2
frames=${SOAK_FRAMES:-100000}
seed=${SOAK_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
max_growth=${3:-${SOAK_MAX_GROWTH_KB:-4096}}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
echo "soak: $frames frames of $game, random keys from seed $seed"
code=0
# A small window: memory is the point, not pixels, and software GL is slow on big frames.
timeline=""
if [ -f "$game/soak.txt" ]; then
    timeline="$game/soak.txt"
fi
"$run" --frames "$frames" ${timeline:+--keys "$timeline"} --random-keys "$seed" \
    --memory-every 1000 --size 320x180 "$game" >"$log" || code=$?
cat "$log" | sed -n '1p;$p'
if [ "$code" -ne 1 ]; then
    cat "$log"
    echo "soak FAILED: velden-run ended with code $code (expected 1, all frames ran)"
    exit 1
fi
start=$(grep 'peak resident memory' "$log" | head -1 | awk '{print $(NF-1)}')
end=$(grep 'peak resident memory' "$log" | tail -1 | awk '{print $(NF-1)}')
echo "soak: peak resident memory $start kB at frame 1000, $end kB at frame $frames"
if [ $((end - start)) -gt "$max_growth" ]; then
    echo "soak FAILED: memory grew by $((end - start)) kB"
    exit 1
fi
echo "soak: memory flat (grew by $((end - start)) kB)"
