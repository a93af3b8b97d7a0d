-- The game's course: the title menu over the meadow, the meadow, the cave, the end screen and
-- back to the title. Scripts that run while the engine is busy with a level (a trigger's, a
-- button's) do not build a new level themselves: go_to notes where the game goes next, and the
-- frame script (frame.lua) calls change_level at the end of the frame. A button's script sets
-- the running state (0) as well, since the frame script only runs in it.

function go_to(where)
    next_level = where
end

-- Music plays on across levels; each level names its own track.
function play_music(path)
    local name = path:match("[^/]+$")
    if current_music == name then return end
    if current_music then lf:remove_music(current_music) end
    lf:add_music(path)
    lf:set_music_volume(0.6)
    current_music = name
end

-- Writes a line about the game's course on standard output: a player running the game from a
-- terminal sees the result, and a test sees how far a play went.
function report(text)
    print("game: " .. text)
    io.stdout:flush()
end

function change_level(where)
    -- The lamp's timed trigger outlives the meadow, so it goes with it.
    if lamp_timer then
        lf:trigger_remove(ID.lamp)
        lamp_timer = false
    end
    PAUSE = nil
    current_level = where
    if where == "title" then
        lf:do_file("Data/Scripts/levels/meadow.lua")
        lf:do_file("Data/Scripts/menu/title_menu.lua")
    elseif where == "cave" then
        lf:do_file("Data/Scripts/levels/cave.lua")
    elseif where == "end" then
        lf:do_file("Data/Scripts/menu/end_screen.lua")
    end
    report("now in " .. where .. string.format(" (points %d, time %d s, coins %d)",
        level_points(), game_time(), coins_taken.count))
end
