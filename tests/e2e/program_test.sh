#!/bin/sh
# Runs a real executable on a real game folder under its own X server, with real key presses,
# window-close requests and signals, and checks what it does from the outside.
# Usage: program_test.sh <case> <directory of the executables>
set -eu
case_name=$1
bin=$2

if [ -z "${VELDEN_E2E_SCREEN:-}" ]; then
    # The screen decides whether a profile's display mode exists.
    case $case_name in
        fullscreen | script_quit | title_menu | player_walks) screen=1280x720x24 ;;
        view_*) screen=${case_name#view_}x24 ;;
        *) screen=1280x1024x24 ;;
    esac
    # Only the server's built-in fonts: the message box cannot be drawn, as on a machine
    # without the X core fonts.
    fonts=""
    [ "$case_name" = refused_no_fonts ] && fonts="-fp built-ins"
    # shellcheck disable=SC2086
    VELDEN_E2E_SCREEN=$screen exec "$(dirname "$0")/../../scripts/with-xvfb" -screen 0 "$screen" \
        $fonts -- sh "$0" "$@"
fi

. "$(dirname "$0")/e2e_common.sh"
# The game folder is the scratch folder: the program's output lands beside its files.
game=$work
mkdir -p "$game/Data/Scripts"
cat > "$game/Data/Scripts/INIT_test.lua" <<'LUA'
local f = io.open("started.txt", "w") f:write("started") f:close()
LUA
cat > "$game/Data/Scripts/escape_pressed.lua" <<'LUA'
local f = io.open("escape.txt", "a") f:write("escape ", parameter, "\n") f:close()
LuaFunctions():set_game_state(3)
LUA
# The id of the first mapped top-level window with this name ("" for a nameless one).
top_window() {
    if [ -z "$1" ]; then pattern='(has no name)'; else pattern="\"$1\""; fi
    xwininfo -root -children 2>/dev/null | grep -E '^ +0x' | grep -F "$pattern" | awk '{print $1}' |
        while read -r id; do
        xwininfo -id "$id" | grep -q "IsViewable" && { echo "$id"; break; }
    done
}
# Waits up to 10 s for such a window and prints its id.
wait_window() {
    for _ in $(seq 100); do
        id=$(top_window "$1")
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
geometry() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
start() {
    (cd "$game" && exec "$bin/velden-$1" > out.txt 2>&1) &
    pid=$!
}
# The "Display mode change failed" box: a nameless window; Return presses its button.
dismiss_message_box() {
    box=$(wait_window "") || fail "no message box"
    [ -n "$(top_window Vornholt)" ] && fail "window shown before the box was answered"
    eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    xdotool key Return
}

case $case_name in
    fullscreen)
        # The screen has the profile's mode: no message box, the window covers the screen.
        start 1280x720
        win=$(wait_window Vornholt) || fail "no window"
        [ "$(geometry "$win")" = 1280x720 ] || fail "window is $(geometry "$win")"
        for _ in $(seq 50); do [ -f "$game/started.txt" ] && break; sleep 0.1; done
        [ -f "$game/started.txt" ] || fail "start-up script did not run"
        [ -n "$(top_window "")" ] && fail "unexpected message box"
        sleep 0.3
        xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
        wait_exit
        grep -q "escape 0" "$game/escape.txt" || fail "escape script did not run with parameter 0"
        ;;
    refused)
        # No 800x600 mode on this screen: one message box, then a window of the profile's size;
        # a close request ends the program.
        start 800x600
        dismiss_message_box
        win=$(wait_window Vornholt) || fail "no window after the message box"
        [ "$(geometry "$win")" = 800x600 ] || fail "window is $(geometry "$win")"
        sleep 0.3
        "$bin/velden_close_window" "$win"
        wait_exit
        [ -f "$game/started.txt" ] || fail "start-up script did not run"
        [ -f "$game/escape.txt" ] && fail "escape script ran without Escape"
        ;;
    refused_no_fonts)
        # The box cannot be shown: the message goes to standard error and the window follows.
        start 800x600
        win=$(wait_window Vornholt) || fail "no window"
        [ "$(geometry "$win")" = 800x600 ] || fail "window is $(geometry "$win")"
        [ -n "$(top_window "")" ] && fail "unexpected message box"
        grep -q "Display mode change failed" "$game/out.txt" || fail "no message on standard error"
        kill -TERM "$pid"
        wait_exit
        ;;
    sigterm)
        start 1024x768
        dismiss_message_box
        win=$(wait_window Vornholt) || fail "no window"
        [ "$(geometry "$win")" = 1024x768 ] || fail "window is $(geometry "$win")"
        sleep 0.3
        kill -TERM "$pid"
        wait_exit
        ;;
    script_quit)
        # A start-up script that quits: the program ends without running a frame.
        echo 'LuaFunctions():set_game_state(3)' >> "$game/Data/Scripts/INIT_test.lua"
        start 1280x720
        wait_exit
        [ -f "$game/started.txt" ] || fail "start-up script did not run"
        ;;
    view_*)
        # What the player sees in each display profile: the camera shows 1280 x 720 world units,
        # centred on world (0, 0), stretched over the whole screen.
        size=${case_name#view_}
        width=${size%x*}
        height=${size#*x}
        cat >> "$game/Data/Scripts/INIT_test.lua" <<'LUA'
local lf = LuaFunctions()
lf:create_level(0, 0, 0, 0)
lf:create_layer(1, 1, 0)
local function square(name, x, y, r, g, b)
    lf:create_sprite(name, 0, "", x, y)
    lf:sprite_shape(name, 0, 30, 30)
    lf:sprite_color(name, r, g, b, 1)
    lf:gameobject_upload(name, 0, 1)
end
square("centre", 0, 0, 1, 0, 0)
square("lower_left", -600, -320, 0, 1, 0)
square("upper_right", 600, 320, 0, 0, 1)
LUA
        start "$size"
        wait_window Vornholt >/dev/null || fail "no window"
        # World (x, y) is at ((x + 640) * width / 1280, (360 - y) * height / 720) from the top left.
        at() { "$bin/velden_root_pixel" $(( ($1 + 640) * width / 1280 )) $(( (360 - $2) * height / 720 )); }
        # A loaded machine may take a while for the first frame: wait up to 10 s for it.
        for _ in $(seq 100); do
            [ "$(at 0 0)" = "255 0 0" ] && break
            sleep 0.1
        done
        [ "$(at 0 0)" = "255 0 0" ] || fail "centre is $(at 0 0)"
        [ "$(at -600 -320)" = "0 255 0" ] || fail "lower left is $(at -600 -320)"
        [ "$(at 600 320)" = "0 0 255" ] || fail "upper right is $(at 600 320)"
        [ "$(at -500 0)" = "0 0 0" ] || fail "background is $(at -500 0)"
        kill -TERM "$pid"
        wait_exit
        ;;
    title_menu)
        # The sample game opens on its title menu, driven by real key presses: the down arrow
        # moves the focus from START to QUIT, Return presses QUIT and the game ends.
        rm -rf "$game/Data"
        cp -R "$(dirname "$0")/../../game/Data" "$game/Data"
        start 1280x720
        wait_window Vornholt >/dev/null || fail "no window"
        # The left rims of the two buttons: gold on the focused one, grey-blue on the other.
        gold="214 173 92"
        grey="106 100 136"
        rims() { echo "$("$bin/velden_root_pixel" 529 390) / $("$bin/velden_root_pixel" 529 460)"; }
        # Waits up to 10 s for the rims to show what is expected.
        wait_rims() {
            for _ in $(seq 100); do
                [ "$(rims)" = "$1" ] && return 0
                sleep 0.1
            done
            return 1
        }
        wait_rims "$gold / $grey" || fail "at start-up the rims are $(rims)"
        # The game reads keys once a frame, so each key stays down until its effect shows (a
        # key down and up again between two frames is never seen).
        xdotool keydown Down
        wait_rims "$grey / $gold" || fail "after the down arrow the rims are $(rims)"
        xdotool keyup Down
        # Held down for a while, the arrow still moves the focus only once.
        xdotool keydown Up
        wait_rims "$gold / $grey" || fail "after the up arrow the rims are $(rims)"
        sleep 0.5
        [ "$(rims)" = "$gold / $grey" ] || fail "the held up arrow moved twice: $(rims)"
        xdotool keyup Up
        xdotool keydown Down
        wait_rims "$grey / $gold" || fail "after the second down arrow the rims are $(rims)"
        xdotool keyup Down
        xdotool keydown Return
        wait_exit
        xdotool keyup Return
        ;;
    player_walks)
        # The sample game's hero under real key presses: Return starts play from the title
        # menu, the right arrow held for a while walks the hero right, and the Escape script
        # (replaced here) writes where the hero stands before the game ends.
        rm -rf "$game/Data"
        cp -R "$(dirname "$0")/../../game/Data" "$game/Data"
        cat > "$game/Data/Scripts/escape_pressed.lua" <<'LUA'
local lf = LuaFunctions()
local f = io.open("player.txt", "w")
f:write(string.format("%d %d %d\n", lf:get_game_state(), lf:get_player_x(), lf:get_player_y()))
f:close()
lf:set_game_state(3)
LUA
        start 1280x720
        wait_window Vornholt >/dev/null || fail "no window"
        sleep 1
        xdotool keydown Return
        sleep 0.5
        xdotool keyup Return
        sleep 0.5
        # Held long enough for slow frames on a busy machine (a frame's game time is at most
        # 25 ms); the fence bounds the walk however long the key is held.
        xdotool keydown Right
        sleep 4
        xdotool keyup Right
        sleep 0.3
        xdotool keydown Escape
        wait_exit
        xdotool keyup Escape
        [ -f "$game/player.txt" ] || fail "the Escape script did not run"
        read -r state x y < "$game/player.txt"
        # Running (0); from x = -480 on the meadow's floor (y = -238) the walk goes right until
        # the fence (its left side at -182) stops it.
        [ "$state" = 0 ] || fail "game state $state, not running"
        [ "$y" -ge -240 ] && [ "$y" -le -236 ] || fail "the hero is not on the floor: y = $y"
        [ "$x" -gt -400 ] || fail "the hero did not walk right: x = $x"
        [ "$x" -lt -190 ] || fail "the hero passed into the fence: x = $x"
        ;;
    *)
        fail "unknown case"
        ;;
esac
echo "ok ($case_name)"
