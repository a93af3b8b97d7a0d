# What the end-to-end scripts share; sourced after they set case_name and restarted themselves
# under their own X server. Makes the scratch folder $work, and gives fail and wait_exit.
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# Leaks are checked by the in-process tests; here the GL driver may unload its libraries before
# the report at exit, which then cannot tell its leaks from the engine's.
export ASAN_OPTIONS=detect_leaks=0
export SDL_AUDIODRIVER=dummy

# Stops the case, showing what the program printed to $work/out.txt.
fail() {
    echo "FAIL ($case_name): $*"
    [ -f "$work/out.txt" ] && cat "$work/out.txt"
    exit 1
}
# Waits up to 10 s for the program $pid to end and checks its exit code ($1, 0 when not given).
wait_exit() {
    expected=${1:-0}
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "still running"
    code=0
    wait "$pid" || code=$?
    pid=""
    [ "$code" = "$expected" ] || fail "exit code $code, not $expected"
}
