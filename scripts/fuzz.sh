#!/bin/sh
# Runs the script fuzzer with random seeds, one process per seed, until FUZZ_CALLS calls have
# been made (FUZZ_RUN per fuzz test, one on an empty folder and one on the sample game). FUZZ_SEED fixes the first seed. Stops at the first failure
# and prints how to replay it.
# Usage: fuzz.sh <velden_tests executable>
set -eu
tests=$1
total=${FUZZ_CALLS:-1000000}
per=${FUZZ_RUN:-100000}
made=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
while [ "$made" -lt "$total" ]; do
    if [ -n "${FUZZ_SEED:-}" ]; then
        seed=$FUZZ_SEED
        FUZZ_SEED=""
    else
        seed=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
    fi
    n=$per
    [ $((total - made)) -lt $((2 * n)) ] && n=$(((total - made + 1) / 2))
    echo "script fuzz: seed $seed, $n calls per fuzz test"
    if ! VELDEN_FUZZ_SEED=$seed VELDEN_FUZZ_CALLS=$n "$tests" \
        --gtest_filter='ScriptFuzz.*' >"$log" 2>&1; then
        cat "$log"
        echo "script fuzz FAILED with seed $seed. Replay the calls with:"
        echo "  VELDEN_FUZZ_SEED=$seed VELDEN_FUZZ_CALLS=$n VELDEN_FUZZ_TRACE=1 $tests --gtest_filter='ScriptFuzz.*'"
        exit 1
    fi
    grep "calls made" "$log" || true
    made=$((made + n * $(grep -c "calls made" "$log")))
done
echo "script fuzz: $made calls without a fault"
