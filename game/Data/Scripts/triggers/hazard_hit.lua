-- A hammer head or a cannon ball touched the hero: a blow that drains health for a quarter of
-- a second. The blow is ended by a one-shot timed trigger rather than by the gate letting go,
-- since a cannon ball may be gone before it lets go.
hazard_hits = (hazard_hits or 0) + 1
local lf = LuaFunctions()
local HAZARD_RATE = 1.6 -- a blow takes 0.4 of the hero's health of 1
lf:damage(HAZARD_RATE, 0)
local name = "blow_" .. hazard_hits
lf:create_trigger(name, 2, "Data/Scripts/triggers/hazard_over.lua", "", 0, 0)
lf:timed_trigger_repeat(name, 0.25, false)
lf:trigger_upload(name, 0)
