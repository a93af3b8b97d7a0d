-- The meadow's particle effects and its score: smoke rising from the torches, sparkles around
-- the coins, and the points, combo rule and level timer the level keeps. Run by meadow.lua
-- after the level is built; it uses that script's layers, ids and ground heights.

register_picture("smoke", "smoke.png", 32, 32)
register_picture("sparkle", "sparkle.png", 64, 16)
strip_animation("sparkle_twinkle", "sparkle", 0, 0, 16, 16, 4, { 0.09, 0.07, 0.09, 0.12 })

-- Kinds of create_sprite for particle templates and emitters, from the engine's named constants.
TEXTURED_PARTICLE = velden.sprite.TEXTURED_PARTICLE
EMITTER = velden.sprite.EMITTER
ANIMATED_PARTICLE = velden.sprite.ANIMATED_PARTICLE

ID.smoke = 25 -- not 20: the lamp's switch removes objects by its id
ID.dust = 26
ID.sparkle = 200

-- An emitter is built in this order: a particle template (its size, picture and colours),
-- then the emitter naming the template (the emitter keeps a copy, so the template must be
-- ready first), then the emitter's ranges, and last the number of particles it keeps alive.
-- Each particle lives for a time drawn from the life range; when it dies it is born again at
-- the emitter, so the effect goes on for ever with a fixed number of particles.

-- Smoke: grey puffs that rise slowly, turn, grow and fade out.
local function smoke(x, y)
    local puff = new_name("puff")
    lf:create_sprite(puff, TEXTURED_PARTICLE, "smoke", 0, 0)
    lf:sprite_shape(puff, TEXTURED_PARTICLE, 14, 14)
    lf:particle_start_color(puff, 0.3, 0.28, 0.27, 0.8)
    lf:particle_end_color(puff, 0.75, 0.75, 0.8, 0)

    local name = new_name("smoke")
    lf:create_sprite(name, EMITTER, puff, x, y)
    lf:sprite_rotation(name, math.pi / 2)        -- particles leave along the emitter's x axis: up
    lf:emitter_angle(name, 0.3)                  -- up to 0.3 radians either side
    -- life 2.5..4 s, spin -0.6..0.6 radians a second, speed 22..40 units a second
    lf:emitter_range(name, 2.5, 4, -0.6, 0.6, 22, 40)
    -- start at half the size, end nearly twice as big
    lf:emitter_scale(name, true, 0.45, 0.6, 1.6, 2)
    lf:emitter_particle_amount(name, 36)
    upload(name, LAYER.play, ID.smoke)
end
smoke(-430, GROUND_Y + 62)
smoke(455, GROUND_Y + 62)

-- Sparkles: small twinkling stars drifting out from each coin in every direction, drawn in
-- the additive glow layer.
function sparkles(x, y, n)
    local star = new_name("star")
    lf:create_sprite(star, ANIMATED_PARTICLE, "sparkle_twinkle", 0, 0)
    lf:sprite_shape(star, ANIMATED_PARTICLE, 10, 10)
    lf:particle_start_color(star, 1, 0.95, 0.6, 1)
    lf:particle_end_color(star, 1, 0.75, 0.3, 0)

    local name = new_name("sparkles")
    lf:create_sprite(name, EMITTER, star, x, y)
    lf:sprite_rotation(name, n * 1.7)  -- a different turn for each coin
    lf:emitter_angle(name, math.pi)     -- the whole circle
    lf:emitter_range(name, 0.5, 1.1, -3, 3, 20, 42)
    lf:emitter_scale(name, true, 1, 1.4, 0.2, 0.4)
    lf:emitter_particle_amount(name, 6)
    upload(name, LAYER.glow, ID.sparkle + n)
end

-- A burst of sparkles flying off in every direction once, for a coin that was taken. The
-- emitter removes itself when its last sparkle has died (lf:emitter_burst, an engine extension).
function sparkle_burst(x, y)
    local star = new_name("burst_star")
    lf:create_sprite(star, ANIMATED_PARTICLE, "sparkle_twinkle", 0, 0)
    lf:sprite_shape(star, ANIMATED_PARTICLE, 8, 8)
    lf:particle_start_color(star, 1, 0.95, 0.6, 1)
    lf:particle_end_color(star, 1, 0.7, 0.2, 0)

    local name = new_name("burst")
    lf:create_sprite(name, EMITTER, star, x, y)
    lf:emitter_angle(name, math.pi)
    lf:emitter_range(name, 0.35, 0.7, -4, 4, 60, 140)
    lf:emitter_scale(name, true, 1, 1.3, 0.3, 0.5)
    lf:emitter_burst(name, 14)
    return name
end

-- Dust: brown puffs kicked up behind a walking creature. The emitter is handed to the creature
-- with creature_emitter before either is uploaded; the creature then carries it along.
function dust_emitter()
    local puff = new_name("dust_puff")
    lf:create_sprite(puff, TEXTURED_PARTICLE, "smoke", 0, 0)
    lf:sprite_shape(puff, TEXTURED_PARTICLE, 6, 6)
    lf:particle_start_color(puff, 0.55, 0.42, 0.28, 0.7)
    lf:particle_end_color(puff, 0.7, 0.6, 0.45, 0)

    local name = new_name("dust")
    lf:create_sprite(name, EMITTER, puff, 0, 0)
    lf:sprite_rotation(name, math.pi / 2) -- up, spread wide
    lf:emitter_angle(name, 1.2)
    lf:emitter_range(name, 0.4, 0.8, -1, 1, 10, 25)
    lf:emitter_scale(name, true, 0.6, 0.9, 1.4, 1.8)
    lf:emitter_particle_amount(name, 10)
    return name
end

-- Sparkles at every coin meadow.lua set out.
for n, place in ipairs(coin_places) do
    sparkles(place.x, place.y + 4, n)
end

------------------------------------------------------------------------------------------------
-- Score. The engine keeps the numbers and counts the level time; the rules are the script's.

lf:set_level_name("Meadow")
-- A four-minute time limit for the whole game's time bonus; the best combo so far is 0.
TIME_LIMIT = 240
lf:points_reset(TIME_LIMIT, 0)
-- Each second left under the limit is worth 5 points; every 3 coins in a combo raise the
-- multiplier by one.
lf:set_point_settings(5, 3)
-- Grades, by the least points that earn them. A reset drops them, so they are added again.
local function add_grades()
    lf:add_point_level("bronze", 50)
    lf:add_point_level("silver", 400)
    lf:add_point_level("gold", 800)
end
add_grades()
lf:timer_start()

-- Taking a coin within COMBO_SECONDS of the previous one continues the combo; a slower coin
-- starts a new one. The engine only resets a combo together with the points (and the level
-- time), so the points won so far are banked first and added back.
COMBO_SECONDS = 3
COIN_POINTS = 10
local banked, last_coin, started = 0, 0, 0
function coin_taken()
    local now = started + lf:get_time()
    if lf:get_combo() > 0 and now - last_coin > COMBO_SECONDS then
        banked = banked + lf:get_points()
        started = now
        -- The time limit shrinks by the time gone, so the time bonus stays the level's.
        lf:points_reset(TIME_LIMIT - now, math.max(lf:get_max_combo(), lf:get_combo()))
        add_grades()
    end
    lf:add_points(COIN_POINTS)
    last_coin = now
end

-- Seconds played since the meadow began (the engine's count starts over with each combo).
function game_time()
    return started + lf:get_time()
end

-- The best combo so far, the one going on included.
function best_combo()
    return math.max(lf:get_max_combo(), lf:get_combo())
end

-- Points so far, banked ones included, and the grade they reach.
function level_points()
    return banked + lf:get_points()
end
function level_grade()
    return lf:get_level_name(level_points())
end
