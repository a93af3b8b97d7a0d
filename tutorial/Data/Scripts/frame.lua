-- The frame script: the engine runs it once in every frame of play, after everything has moved
-- and before the frame is drawn, with the frame's number as `parameter`.
for _, f in ipairs(every_frame) do
    f(parameter)
end
