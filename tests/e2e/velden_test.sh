#!/bin/sh
# Runs the author's command, velden, as an author does: on a real game folder under its own X
# server, with real key presses and real edits of the game's files, and checks what it shows.
# Also installs the build into a temporary prefix and packs it as a Debian package.
# Usage: velden_test.sh <case> <build directory> <source directory>
set -eu
case_name=$1
bin=$2
src=$3

if [ -z "${VELDEN_E2E_SCREEN:-}" ]; then
    VELDEN_E2E_SCREEN=1 exec "$src/scripts/with-xvfb" -screen 0 1280x1024x24 -- sh "$0" "$@"
fi

. "$(dirname "$0")/e2e_common.sh"
game=$work/game
# Runs velden in the background from the folder $1 with the other arguments; output goes to
# out.txt.
start() {
    dir=$1
    shift
    (cd "$dir" && exec "$velden" "$@" > "$work/out.txt" 2>&1) &
    pid=$!
}
velden=$bin/velden
# The colour of a screen pixel, (0, 0) at the top-left corner: "r g b".
at() { "$bin/velden_root_pixel" "$1" "$2"; }
# Waits up to 20 s until the command succeeds.
wait_for() {
    for _ in $(seq 200); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
# The same for up to 60 s: a sanitizer build of the sample game drawing its first frame, while
# the other tests keep both cores busy, has been seen to take longer than 20 s.
wait_long() { wait_for "$@" || wait_for "$@" || wait_for "$@"; }
window_id() { xdotool search --onlyvisible --name '^Vornholt$' 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window_id)" ]; }
restarts() { grep -c "^velden: restarted" "$work/out.txt" || true; }

# The sample game's title menu: the left rims of its two buttons, gold on the focused one.
gold="214 173 92"
grey="106 100 136"
rims() { echo "$(at 529 390) / $(at 529 460)"; }
start_focused() { [ "$(rims)" = "$gold / $grey" ]; }
quit_focused() { [ "$(rims)" = "$grey / $gold" ]; }
# The error strip over the bottom of the window: its dark red, whatever is under it.
strip_shown() {
    set -- $(at 640 716)
    [ "$1" -ge 60 ] && [ "$1" -le 100 ] && [ "$2" -le 40 ] && [ "$3" -le 40 ]
}
strip_gone() { ! strip_shown; }
# A key goes down and up at once: velden's own keys (F3, F5) react to the press.
key() { xdotool key --window "$(window_id)" "$1"; }
copy_sample_game() { mkdir -p "$game" && cp -R "$src/game/Data" "$game/Data"; }

case $case_name in
    usage)
        "$velden" --help > "$work/help.txt" || fail "--help failed"
        grep -q -- "--dev" "$work/help.txt" || fail "--help does not list --dev"
        "$velden" --version | grep -Eq '^velden [0-9]+\.[0-9]+\.[0-9]+$' || fail "bad --version"
        # A wrong command line: a short usage on standard error and exit code 2.
        for args in "--bogus" "--profile 640x480" "--profile" "a b"; do
            code=0
            # shellcheck disable=SC2086
            "$velden" $args > "$work/out.txt" 2> "$work/err.txt" || code=$?
            [ "$code" = 2 ] || fail "velden $args exits with $code"
            grep -q "^usage: velden" "$work/err.txt" || fail "velden $args shows no usage"
            [ -s "$work/out.txt" ] && fail "velden $args writes to standard output"
        done
        # A folder without a start-up script: the path looked for, exit code 2.
        mkdir -p "$work/empty"
        code=0
        "$velden" --window "$work/empty" 2> "$work/err.txt" || code=$?
        [ "$code" = 2 ] || fail "a folder without a game exits with $code"
        grep -qF "$work/empty/Data/Scripts/INIT_test.lua" "$work/err.txt" ||
            fail "the path looked for is not named: $(cat "$work/err.txt")"
        # No display at all: SDL falls back to drawing into memory. velden refuses, as the game
        # would run on with nobody seeing it; the headless runner runs there as well as anywhere.
        copy_sample_game
        code=0
        env -u DISPLAY -u WAYLAND_DISPLAY timeout 30 "$velden" --window "$game" \
            > "$work/out.txt" 2>&1 || code=$?
        [ "$code" = 1 ] || fail "velden without a display ends with $code"
        grep -q "^velden: no window" "$work/out.txt" || fail "no window is not reported"
        code=0
        env -u DISPLAY -u WAYLAND_DISPLAY "$bin/velden-run" --frames 30 --shot 30:"$work/shot.png" \
            "$game" > "$work/out.txt" 2>&1 || code=$?
        [ "$code" = 1 ] || fail "velden-run without a display ends with $code"
        [ -s "$work/shot.png" ] || fail "velden-run without a display made no screenshot"
        ;;
    window)
        # --window: a window of the profile's size, no display-mode change (this screen has no
        # 1024x768 mode, so a switch would show a message box first), closable.
        copy_sample_game
        start "$work" --window --profile 1024x768 game
        wait_for has_window || fail "no window"
        geometry=$(xwininfo -id "$(window_id)" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
        [ "$geometry" = 1024x768 ] || fail "window is $geometry"
        for id in $(xwininfo -root -children | grep -E '^ +0x' | grep -F '(has no name)' |
            awk '{print $1}'); do
            xwininfo -id "$id" | grep -q IsViewable && fail "a message box was shown"
        done
        sleep 0.5
        "$bin/velden_close_window" "$(window_id)"
        wait_exit 0
        ;;
    dev_reload)
        # Saving a script restarts the game: the title menu comes back as at start. A broken
        # script's error shows in the strip; fixing it restarts the game without the strip.
        copy_sample_game
        start "$game" --dev
        wait_long start_focused || fail "no title menu: $(rims)"
        xdotool keydown Down
        wait_for quit_focused || fail "the down arrow did not move the focus: $(rims)"
        xdotool keyup Down
        meadow=$game/Data/Scripts/levels/meadow.lua
        cp "$meadow" "$work/meadow.lua"
        echo "-- an edit" >> "$meadow"
        wait_for start_focused || fail "the menu did not come back after the edit: $(rims)"
        [ "$(restarts)" = 1 ] || fail "$(restarts) restarts after one edit"
        strip_gone || fail "a strip without an error: $(at 640 716)"
        echo "this is broken" >> "$meadow"
        wait_for strip_shown || fail "no error strip: $(at 640 716)"
        grep -q "meadow.lua:[0-9]*: '=' expected near 'is'" "$work/out.txt" ||
            fail "the error was not reported"
        cp "$work/meadow.lua" "$meadow"
        wait_for start_focused || fail "the game did not come back after the fix: $(rims)"
        wait_for strip_gone || fail "the strip stayed after the fix"
        [ "$(restarts)" = 3 ] || fail "$(restarts) restarts after three edits"
        grep "^velden: restarted" "$work/out.txt"
        "$bin/velden_close_window" "$(window_id)"
        wait_exit 0
        ;;
    dev_keys)
        # F3 shows the frame overlay in the top-left corner and hides it again; F5 restarts.
        copy_sample_game
        start "$game" --dev
        wait_long start_focused || fail "no title menu: $(rims)"
        sky=$(at 300 100)
        key F3
        dark() {
            set -- $(at 300 100)
            [ "$1" -le 72 ] && [ "$2" -le 72 ] && [ "$3" -le 72 ] && [ "$(at 300 100)" != "$sky" ]
        }
        wait_for dark || fail "no overlay: $(at 300 100), the sky was $sky"
        key F3
        sky_again() { [ "$(at 300 100)" = "$sky" ]; }
        wait_for sky_again || fail "the overlay stayed: $(at 300 100), the sky was $sky"
        xdotool keydown Down
        wait_for quit_focused || fail "the down arrow did not move the focus: $(rims)"
        xdotool keyup Down
        key F5
        wait_for start_focused || fail "F5 did not restart the game: $(rims)"
        [ "$(restarts)" = 1 ] || fail "$(restarts) restarts after F5"
        "$bin/velden_close_window" "$(window_id)"
        wait_exit 0
        ;;
    dev_startup)
        # A start-up script that fails: its error stays on screen and the game waits (its
        # Escape script does not run); fixing the script starts the game.
        mkdir -p "$game/Data/Scripts"
        init=$game/Data/Scripts/INIT_test.lua
        cp "$src/tests/data/games/green.lua" "$work/good.lua"
        { cat "$work/good.lua"; echo 'lf:no_such_function()'; } > "$init"
        echo 'LuaFunctions():set_game_state(3)' > "$game/Data/Scripts/escape_pressed.lua"
        start "$game" --dev
        wait_for has_window || fail "no window"
        wait_for strip_shown || fail "no error strip: $(at 640 716)"
        grep -q "INIT_test.lua:8: attempt to call method 'no_such_function'" "$work/out.txt" ||
            fail "the error was not reported"
        xdotool keydown Escape
        sleep 0.5
        xdotool keyup Escape
        kill -0 "$pid" 2>/dev/null || fail "the waiting game ran its Escape script"
        # Longer than a strip line lasts on its own.
        sleep 5.5
        strip_shown || fail "the strip went while the start-up still fails"
        cp "$work/good.lua" "$init"
        green() { [ "$(at 640 300)" = "0 255 0" ]; }
        wait_for green || fail "the fixed game did not start: $(at 640 300)"
        wait_for strip_gone || fail "the strip stayed after the fix"
        xdotool keydown Escape
        wait_exit 0
        xdotool keyup Escape
        ;;
    install)
        # cmake --install into a prefix; the installed velden-run runs the installed sample
        # game, and the installed velden runs it when started in a folder without a game.
        prefix=$work/prefix
        cmake --install "$bin" --prefix "$prefix" > /dev/null
        for f in bin/velden bin/velden-run bin/velden-1280x720 bin/velden-1024x768 \
            bin/velden-1280x800 bin/velden-800x600 share/velden/game/Data/Scripts/INIT_test.lua \
            share/doc/velden/README.md share/doc/velden/scripting.md; do
            [ -f "$prefix/$f" ] || fail "$f not installed"
        done
        [ -x "$prefix/bin/velden" ] || fail "velden is not executable"
        code=0
        "$prefix/bin/velden-run" --frames 120 --shot 120:"$work/shot.png" \
            "$prefix/share/velden/game" > "$work/out.txt" 2>&1 || code=$?
        [ "$code" = 1 ] || fail "velden-run ended with $code"
        [ -s "$work/shot.png" ] || fail "no screenshot"
        mkdir "$work/elsewhere"
        velden=$prefix/bin/velden
        start "$work/elsewhere" --window
        wait_long start_focused || fail "the installed sample game did not start: $(rims)"
        "$bin/velden_close_window" "$(window_id)"
        wait_exit 0
        ;;
    package)
        # The Debian package: the installed tree under /usr and the run-time dependencies.
        cpack -G DEB --config "$bin/CPackConfig.cmake" -B "$work/pkg" \
            -D CPACK_DEBIAN_COMPRESSION_TYPE=none > "$work/out.txt" 2>&1 || fail "cpack failed"
        deb=$(ls "$work"/pkg/velden_*.deb) || fail "no package"
        [ "$(dpkg-deb -f "$deb" Package)" = velden ] || fail "package name"
        depends=$(dpkg-deb -f "$deb" Depends)
        for d in libsdl2-2.0-0 libsdl2-mixer-2.0-0 liblua5.1-0 libpng16-16 libfontconfig1 \
            libfreetype6 fonts-dejavu-core libgl1 zlib1g libpugixml1v5; do
            echo "$depends" | tr ',' '\n' | grep -qE "^ *$d( |\$)" || fail "no dependency on $d"
        done
        dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\/usr\//, "", $6); print $6}' | sort > "$work/deb.txt"
        cmake --install "$bin" --prefix "$work/prefix" > /dev/null
        (cd "$work/prefix" && find . -type f | sed 's|^\./||' | sort) > "$work/tree.txt"
        diff "$work/tree.txt" "$work/deb.txt" || fail "the package's files differ from the install"
        grep -qx "bin/velden" "$work/deb.txt" || fail "no bin/velden"
        grep -qx "share/velden/game/Data/Scripts/INIT_test.lua" "$work/deb.txt" ||
            fail "no sample game"
        grep -q "velden_tests\|velden_bench\|velden_close_window" "$work/deb.txt" &&
            fail "test programs in the package"
        ;;
    *)
        fail "unknown case"
        ;;
esac
echo "ok ($case_name)"
