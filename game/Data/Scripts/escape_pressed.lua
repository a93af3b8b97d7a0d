-- Runs in every frame while Escape is held ("parameter" 0). A press counts once: the frames
-- that follow a run in the previous frame are the same press, still held.
local lf = LuaFunctions()
local frame = lf:get_frame_number()
local held = escape_frame == frame - 1
escape_frame = frame
if held then return end

local state = lf:get_game_state()
if PAUSE then
    -- The pause menu is open: Escape goes back to play, as RESUME does.
    lf:do_file("Data/Scripts/menu/resume.lua")
elseif state == 0 and (current_level == "meadow" or current_level == "cave") then
    lf:do_file("Data/Scripts/menu/pause_menu.lua")
elseif current_level == "end" then
    lf:do_file("Data/Scripts/menu/to_title.lua")
elseif state ~= 4 then
    -- The title menu (or anything else but a dialog): the game ends after this frame.
    lf:set_game_state(3)
end
