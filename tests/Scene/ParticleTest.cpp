#include <cmath>
#include <cstdlib>
#include <limits>

#include "Core/Random.h"
#include "Core/Tracked.h"
#include "Render/Registries.h"
#include "Render/Renderer.h"
#include "Scene/AnimatedParticle.h"
#include "Scene/Level.h"
#include "Scene/ParticleEmitter.h"
#include "Scene/TempLists.h"
#include "Scene/TexturedParticle.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

const float pi = 4.0f * std::atan(1.0f);

bool finite(const Particle& p) {
    const float values[] = {p.transform.position.x,
                            p.transform.position.y,
                            p.transform.axis_x.x,
                            p.transform.axis_x.y,
                            p.transform.axis_y.x,
                            p.transform.axis_y.y,
                            p.transform.scale,
                            p.velocity.x,
                            p.velocity.y,
                            p.spin,
                            p.colour.r,
                            p.colour.g,
                            p.colour.b,
                            p.colour.a,
                            p.start_colour.r,
                            p.end_colour.a,
                            p.life,
                            p.lifetime};
    for (float v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

float length(Vector2 v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

}  // namespace

class ParticleTest : public EngineTest {
  protected:
    template <class T = GameObject>
    T* temp(const std::string& name) {
        return dynamic_cast<T*>(TempLists::instance().game_objects.find(name));
    }
    Level& level() { return *Game::instance().level; }
    ParticleEmitter* uploaded(int32_t id) {
        return dynamic_cast<ParticleEmitter*>(level().find_by_id(id));
    }
    static constexpr const char* one_layer =
        "lf = LuaFunctions()\nlf:create_level(0, 0, 0, 0)\nlf:create_layer(1, 1, 0)\n";

    // A level of one layer holding the emitter 'e' of the plain particle 'p', uploaded with the
    // id 1 once amount particles are made: the calls of particle configure 'p', those of emitter
    // configure 'e' (made at at).
    struct Emitter {
        std::string particle{};
        Vector2 at{0, 0};
        std::string emitter{};
        int amount = 1;
    };
    ParticleEmitter* start_emitter(const Emitter& e) {
        start(std::string(one_layer) + "lf:create_sprite('p', 2, '', 0, 0)\n" + e.particle +
              "\nlf:create_sprite('e', 3, 'p', " + std::to_string(e.at.x) + ", " +
              std::to_string(e.at.y) + ")\n" + e.emitter + "\nlf:emitter_particle_amount('e', " +
              std::to_string(e.amount) + ")\nlf:gameobject_upload('e', 0, 1)\n");
        return uploaded(1);
    }
};

TEST_F(ParticleTest, CreateSpriteMakesParticleTemplatesAndAnEmitterThatTakesACopy) {
    start(R"(
        lf = LuaFunctions()
        lf:create_sprite('p', 2, 'no texture', 30, 40)
        lf:sprite_shape('p', 2, 6, 4)
        lf:textured_sprite_tex_coords('p', 2, 0.25, 0.5, 0.75, 1)
        lf:particle_start_color('p', 1, 0, 0, 1)
        lf:particle_end_color('p', 0, 0, 1, 0)
        lf:create_sprite('a', 5, 'no animation', 0, 0)
        lf:sprite_shape('a', 5, 3, 3)
        lf:create_sprite('s', 0, '', 0, 0)
        lf:create_sprite('e', 3, 'p', 100, -20)
        lf:create_sprite('f', 3, 's', 0, 0)      -- a sprite is no particle
        lf:create_sprite('g', 3, 'nobody', 0, 0)
    )");
    // A particle has no position of its own.
    EXPECT_EQ(temp("p"), nullptr);  // taken by the emitter
    auto* a = temp<AnimatedParticle>("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->animation, nullptr);
    EXPECT_EQ(a->corners[2], (Vector2{3, 3}));
    EXPECT_EQ(a->life, 0.0f);

    auto* e = temp<ParticleEmitter>("e");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->transform.position, (Vector2{100, -20}));
    auto* t = dynamic_cast<TexturedParticle*>(e->particle_template.get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->transform.position, (Vector2{0, 0}));
    EXPECT_EQ(t->corners[0], (Vector2{-6, -4}));
    EXPECT_EQ(t->corners[2], (Vector2{6, 4}));
    EXPECT_EQ(t->tex_coords[0], (Vector2{0.25f, 0.5f}));
    EXPECT_EQ(t->tex_coords[2], (Vector2{0.75f, 1.0f}));
    EXPECT_EQ(t->start_colour, (Color{1, 0, 0, 1}));
    EXPECT_EQ(t->end_colour, (Color{0, 0, 1, 0}));
    EXPECT_TRUE(e->particles.empty());

    EXPECT_EQ(temp<ParticleEmitter>("f")->particle_template, nullptr);
    EXPECT_NE(temp<TexturedSprite>("s"), nullptr);  // left where it was
    EXPECT_EQ(temp<ParticleEmitter>("g")->particle_template, nullptr);
}

TEST_F(ParticleTest, NoSpreadAndOneSpeedSendEveryParticleAlongTheAxis) {
    ParticleEmitter* e = start_emitter({.at = {-50, 20},
                                        .emitter = "lf:emitter_range('e', 10, 10, 0, 0, 100, 100)",
                                        .amount = 25});
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->particles.size(), 25u);
    tick(100);  // one second
    for (const auto& p : e->particles) {
        EXPECT_NEAR(p->transform.position.x, 50.0f, 1e-3);
        EXPECT_EQ(p->transform.position.y, 20.0f);
        EXPECT_EQ(p->velocity, (Vector2{100, 0}));
    }
}

TEST_F(ParticleTest, SeededParticlesStayInsideTheirRangesAndAngleOverManyFrames) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('p', 2, '', 0, 0)
        lf:create_sprite('e', 3, 'p', 100, -50)
        lf:sprite_rotation('e', math.pi / 3)
        lf:emitter_angle('e', 0.4)
        lf:emitter_range('e', 0.5, 1.5, -2, 3, 40, 160)
        lf:emitter_scale('e', true, 0.5, 1, 2, 3)
    )");
    Random::seed(12345);
    ASSERT_EQ(lua("lf:emitter_particle_amount('e', 200)\nlf:gameobject_upload('e', 0, 1)"), "");
    ParticleEmitter* e = uploaded(1);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->particles.size(), 200u);
    const Vector2 origin{100, -50};
    const float axis = pi / 3;
    float lowest = axis, highest = axis;
    for (int frame = 0; frame < 400; ++frame) {
        tick();
        for (const auto& p : e->particles) {
            ASSERT_TRUE(finite(*p));
            const float speed = length(p->velocity);
            ASSERT_GE(speed, 40.0f - 1e-3f);
            ASSERT_LE(speed, 160.0f + 1e-3f);
            ASSERT_GE(p->lifetime, 0.5f);
            ASSERT_LE(p->lifetime, 1.5f);
            ASSERT_GE(p->spin, -2.0f);
            ASSERT_LE(p->spin, 3.0f);
            ASSERT_GE(p->start_scale, 0.5f);
            ASSERT_LE(p->start_scale, 1.0f);
            ASSERT_GE(p->end_scale, 2.0f);
            ASSERT_LE(p->end_scale, 3.0f);
            ASSERT_GE(p->transform.scale, p->start_scale - 1e-4f);
            ASSERT_LE(p->transform.scale, p->end_scale + 1e-4f);
            // Never farther than the fastest particle flies in the longest life, and always
            // inside the cone around the emitter's axis.
            const Vector2 offset = p->transform.position - origin;
            ASSERT_LE(length(offset), 160.0f * 1.5f + 0.01f);
            if (length(offset) > 0.5f) {
                const float angle = std::atan2(offset.y, offset.x);
                ASSERT_GE(angle, axis - 0.4f - 1e-3f);
                ASSERT_LE(angle, axis + 0.4f + 1e-3f);
                lowest = std::min(lowest, angle);
                highest = std::max(highest, angle);
            }
        }
    }
    // The spread is used, on both sides.
    EXPECT_LT(lowest, axis - 0.35f);
    EXPECT_GT(highest, axis + 0.35f);

    // The same seed gives the same particles.
    Random::seed(12345);
    ASSERT_EQ(lua("lf:create_sprite('q', 2, '', 0, 0)\nlf:create_sprite('f', 3, 'q', 0, 0)\n"
                  "lf:sprite_rotation('f', math.pi / 3)\nlf:emitter_angle('f', 0.4)\n"
                  "lf:emitter_range('f', 0.5, 1.5, -2, 3, 40, 160)\n"
                  "lf:emitter_scale('f', true, 0.5, 1, 2, 3)\n"
                  "lf:emitter_particle_amount('f', 200)"),
              "");
    auto* f = temp<ParticleEmitter>("f");
    ASSERT_EQ(f->particles.size(), 200u);
    for (size_t i = 0; i < 200; ++i) {
        EXPECT_EQ(f->particles[i]->velocity, e->particles[i]->velocity);
        EXPECT_EQ(f->particles[i]->lifetime, e->particles[i]->lifetime);
    }
}

TEST_F(ParticleTest, ColourAndScaleFollowTheLifeFromStartToEnd) {
    ParticleEmitter* e = start_emitter({.particle = "lf:particle_start_color('p', 1, 0, 0, 1)\n"
                                                    "lf:particle_end_color('p', 1, 1, 0, 0)\n",
                                        .emitter = "lf:emitter_range('e', 2, 2, 0, 0, 10, 10)\n"
                                                   "lf:emitter_scale('e', true, 1, 1, 3, 3)\n"});
    ASSERT_NE(e, nullptr);
    const Particle& p = *e->particles.at(0);
    struct Case {
        int frames;  // since the last case
        Color colour;
        float scale;
        float x;
    };
    // Frames of 1/16 s, so the times are exact: the life of 2 s is 32 frames. Frame 1 is just
    // after birth, frame 16 the middle, frame 31 just before the end; frame 32 ends the life
    // and the particle is reborn at the emitter in its start colour and scale.
    const Case cases[] = {
        {1, {1, 0.03125f, 0, 0.96875f}, 1.0625f, 0.625f},
        {15, {1, 0.5f, 0, 0.5f}, 2.0f, 10.0f},
        {15, {1, 0.96875f, 0, 0.03125f}, 2.9375f, 19.375f},
        {1, {1, 0, 0, 1}, 1.0f, 0.0f},
        {16, {1, 0.5f, 0, 0.5f}, 2.0f, 10.0f},
    };
    int at = 0;
    for (const Case& c : cases) {
        tick(c.frames, 0.0625f);
        at += c.frames;
        EXPECT_NEAR(p.colour.r, c.colour.r, 1e-5) << "frame " << at;
        EXPECT_NEAR(p.colour.g, c.colour.g, 1e-5) << "frame " << at;
        EXPECT_NEAR(p.colour.b, c.colour.b, 1e-5) << "frame " << at;
        EXPECT_NEAR(p.colour.a, c.colour.a, 1e-5) << "frame " << at;
        EXPECT_NEAR(p.transform.scale, c.scale, 1e-5) << "frame " << at;
        EXPECT_NEAR(p.transform.position.x, c.x, 1e-4) << "frame " << at;
    }
}

TEST_F(ParticleTest, TheEmitterColourTintsEachParticleOnceAtEmission) {
    ParticleEmitter* e = start_emitter({.particle = "lf:particle_start_color('p', 1, 0.8, 0.6, 1)\n"
                                                    "lf:particle_end_color('p', 1, 1, 1, 0.5)\n",
                                        .emitter = "lf:sprite_color('e', 0.5, 0.5, 0.5, 1)\n"
                                                   "lf:emitter_range('e', 0.1, 0.1, 0, 0, 0, 0)\n",
                                        .amount = 3});
    ASSERT_NE(e, nullptr);
    tick(55);  // five lives and a half: reborn five times
    for (const auto& p : e->particles) {
        EXPECT_EQ(p->start_colour, (Color{0.5f, 0.4f, 0.3f, 1}));
        EXPECT_EQ(p->end_colour, (Color{0.5f, 0.5f, 0.5f, 0.5f}));
    }
}

TEST_F(ParticleTest, ALifetimeOfZeroKeepsTheParticleAtTheEmitterInStartColourAndScale) {
    ASSERT_NE(start_emitter({.particle = "lf:sprite_shape('p', 2, 10, 10)\n"
                                         "lf:particle_start_color('p', 1, 0, 0, 1)\n"
                                         "lf:particle_end_color('p', 0, 0, 1, 1)\n",
                             .at = {100, 50},
                             .emitter = "lf:emitter_range('e', 0, 0, 0, 0, 300, 300)\n"
                                        "lf:emitter_scale('e', true, 2, 2, 5, 5)\n"}),
              nullptr);
    tick(30);
    // A 40 x 40 red square centred on (100, 50): pixel (740, 410).
    EXPECT_EQ(pixel(740, 410), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixel(740 + 17, 410 - 17), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixel(740 + 23, 410), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixel(740, 410 + 23), (Pixel{0, 0, 0, 255}));
}

TEST_F(ParticleTest, SettersStoreOnlyUsablePairsAndClampTheAngle) {
    start(R"(
        lf = LuaFunctions()
        lf:create_sprite('p', 2, '', 0, 0)
        lf:create_sprite('e', 3, 'p', 0, 0)
    )");
    auto* e = temp<ParticleEmitter>("e");
    ASSERT_NE(e, nullptr);
    struct AngleCase {
        const char* angle;
        float spread;
    };
    for (AngleCase c :
         {AngleCase{"5", pi}, AngleCase{"-1", 0}, AngleCase{"1", 1}, AngleCase{"100 * math.pi", pi},
          AngleCase{"0/0", 0}, AngleCase{"math.huge", pi}, AngleCase{"-math.huge", 0}}) {
        ASSERT_EQ(lua(std::string("lf:emitter_angle('e', ") + c.angle + ")"), "");
        EXPECT_EQ(e->spread, c.spread) << c.angle;
    }

    ASSERT_EQ(lua("lf:emitter_range('e', 1, 2, -1, 1, 5, 10)"), "");
    // Life reversed: kept; spin and speed in order: stored.
    ASSERT_EQ(lua("lf:emitter_range('e', 2, 1, -3, 3, 6, 12)"), "");
    EXPECT_EQ(e->life_min, 1.0f);
    EXPECT_EQ(e->life_max, 2.0f);
    EXPECT_EQ(e->spin_min, -3.0f);
    EXPECT_EQ(e->spin_max, 3.0f);
    EXPECT_EQ(e->speed_min, 6.0f);
    EXPECT_EQ(e->speed_max, 12.0f);
    // Values that are not numbers or infinite are ignored; huge ones are brought down.
    ASSERT_EQ(lua("lf:emitter_range('e', 0/0, 3, 1, math.huge, -1e30, 1e30)"), "");
    EXPECT_EQ(e->life_min, 1.0f);
    EXPECT_EQ(e->spin_max, 3.0f);
    EXPECT_EQ(e->speed_min, -ParticleEmitter::range_limit);
    EXPECT_EQ(e->speed_max, ParticleEmitter::range_limit);
    // Negative ranges in order are stored as they are.
    ASSERT_EQ(lua("lf:emitter_range('e', -2, -1, -9, -8, -7, -6)"), "");
    EXPECT_EQ(e->life_min, -2.0f);
    EXPECT_EQ(e->speed_max, -6.0f);

    ASSERT_EQ(lua("lf:emitter_scale('e', false, 2, 1, 3, 4)"), "");
    EXPECT_FALSE(e->separate_end_scale);
    EXPECT_EQ(e->start_scale_min, 1.0f);  // reversed: kept
    EXPECT_EQ(e->end_scale_min, 3.0f);
    EXPECT_EQ(e->end_scale_max, 4.0f);
}

TEST_F(ParticleTest, WithoutASeparateEndScaleTheScaleStaysConstant) {
    ParticleEmitter* e = start_emitter({.emitter = "lf:emitter_range('e', 1, 2, 0, 0, 0, 0)\n"
                                                   "lf:emitter_scale('e', false, 2, 4, 7, 9)\n",
                                        .amount = 20});
    ASSERT_NE(e, nullptr);
    for (int frame = 0; frame < 150; ++frame) {
        tick();
        for (const auto& p : e->particles) {
            ASSERT_EQ(p->end_scale, p->start_scale);
            ASSERT_GE(p->start_scale, 2.0f);
            ASSERT_LE(p->start_scale, 4.0f);
            ASSERT_NEAR(p->transform.scale, p->start_scale, 1e-5);
        }
    }
}

TEST_F(ParticleTest, BadInputNeitherCrashesNorGoesNonFinite) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('p', 2, '', 0, 0)
        lf:particle_start_color('p', math.huge, 0/0, -math.huge, 1)
        lf:particle_end_color('p', 1e38, 1, 1, 0/0)
        lf:create_sprite('e', 3, 'p', 0, 0)
        lf:sprite_color('e', math.huge, 1, 0, 1)
        lf:emitter_range('e', 0.2, 1, -1e9, 1e9, 1e20, 1e30)
        lf:emitter_scale('e', true, -1e30, 1e30, 0, 1)
        lf:emitter_particle_amount('e', 0)
        lf:emitter_particle_amount('e', -5)
        lf:emitter_timer_delay('e', -1)
        lf:emitter_timer_delay('e', 0/0)
        lf:emitter_timer_delay('nobody', 1)
        lf:create_sprite('bare', 3, 'nothing', 0, 0)
        lf:emitter_particle_amount('bare', 100)
        lf:emitter_range('nobody', 1, 2, 3, 4, 5, 6)
        lf:emitter_angle('p', 1)            -- a particle is no emitter
        lf:particle_start_color('e', 1, 1, 1, 1)  -- an emitter is no particle
        lf:create_sprite('s', 0, '', 0, 0)
        lf:emitter_particle_amount('s', 10)
        lf:particle_end_color('s', 0, 0, 0, 0)
    )");
    auto* e = temp<ParticleEmitter>("e");
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->particles.empty());
    EXPECT_TRUE(temp<ParticleEmitter>("bare")->particles.empty());
    EXPECT_EQ(temp<TexturedSprite>("s")->colour, (Color{1, 1, 1, 1}));

    ASSERT_EQ(lua("lf:emitter_particle_amount('e', 50)\n"
                  "lf:gameobject_upload('e', 0, 1)\nlf:gameobject_upload('bare', 0, 2)"),
              "");
    tick(60);
    ASSERT_EQ(uploaded(1)->particles.size(), 50u);
    for (const auto& p : uploaded(1)->particles)
        ASSERT_TRUE(finite(*p));

    // A huge amount is cut at the cap; asking again adds nothing.
    ASSERT_EQ(lua("lf:create_sprite('q', 2, '', 0, 0)\nlf:create_sprite('big', 3, 'q', 0, 0)\n"
                  "lf:emitter_particle_amount('big', 2147483647)"),
              "");
    auto* big = temp<ParticleEmitter>("big");
    EXPECT_EQ(big->particles.size(), static_cast<size_t>(ParticleEmitter::max_particles));
    ASSERT_EQ(lua("lf:emitter_particle_amount('big', 10)"), "");
    EXPECT_EQ(big->particles.size(), static_cast<size_t>(ParticleEmitter::max_particles));
}

TEST_F(ParticleTest, FarFromThePlayerParticlesNeitherMoveNorDrawAndResumeWhenNear) {
    ParticleEmitter* e =
        start_emitter({.particle = "lf:sprite_shape('p', 2, 10, 10)\n"
                                   "lf:particle_start_color('p', 1, 1, 1, 1)\n"
                                   "lf:particle_end_color('p', 1, 1, 1, 1)\n",
                       .emitter = "lf:emitter_range('e', 100, 100, 0, 0, 50, 50)"});
    ASSERT_NE(e, nullptr);
    const Particle& p = *e->particles.at(0);
    e->update_near(1.0f, Vector2{0, 500});
    EXPECT_NEAR(p.transform.position.x, 50.0f, 1e-4);
    e->update_near(1.0f, Vector2{0, 900});
    e->update_near(1.0f, Vector2{800, 0});
    EXPECT_NEAR(p.transform.position.x, 50.0f, 1e-4);
    EXPECT_NEAR(p.life, 99.0f, 1e-4);
    e->update_near(1.0f, Vector2{-799, 0});
    EXPECT_NEAR(p.transform.position.x, 100.0f, 1e-4);

    // Drawn near the player, not far from it: the particle is at (100, 0), pixel (740, 360).
    Renderer& renderer = *Game::instance().renderer;
    for (auto [player, expected] : {std::pair{Vector2{0, 900}, Pixel{0, 0, 0, 255}},
                                    std::pair{Vector2{0, 700}, Pixel{255, 255, 255, 255}}}) {
        renderer.make_current();
        ASSERT_TRUE(renderer.begin_frame());
        renderer.clear_color_buffer();
        e->draw_near(renderer, Color{1, 1, 1, 1}, player);
        renderer.end_frame();
        renderer.present();
        EXPECT_EQ(pixel(740, 360), expected) << player.y;
    }
}

TEST_F(ParticleTest, ACarriedEmitterLeavesATrailAndItsReferenceEmptiesWithIt) {
    Ref<ParticleEmitter> carried(
        start_emitter({.emitter = "lf:emitter_range('e', 0.5, 0.5, 0, 0, 0, 0)"}));
    ASSERT_TRUE(carried);
    tick(10);
    carried->transform.position = {200, -30};  // the carrier moved
    EXPECT_EQ(carried->particles[0]->transform.position, (Vector2{0, 0}));
    tick(41);  // the particle's life ends and it is reborn where the emitter now is
    EXPECT_EQ(carried->particles[0]->transform.position, (Vector2{200, -30}));
    ASSERT_EQ(lua("lf:remove_gameobject(1)"), "");
    EXPECT_FALSE(carried);
    tick();
}

TEST_F(ParticleTest, AParticleUploadedOnItsOwnDiesOnItsFirstUpdate) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('p', 2, '', 0, 0)
        lf:gameobject_upload('p', 0, 3)
    )");
    EXPECT_NE(level().find_by_id(3), nullptr);
    tick();
    EXPECT_EQ(level().find_by_id(3), nullptr);
}

TEST_F(ParticleTest, AnimatedParticlesEachPlayTheirOwnCopy) {
    start(std::string(one_layer) + two_frame_animation("twinkle") + R"(
        lf:create_sprite('a', 5, 'twinkle', 0, 0)
        lf:create_sprite('e', 3, 'a', 0, 0)
        lf:emitter_range('e', 5, 5, 0, 0, 0, 0)
        lf:emitter_particle_amount('e', 2)
        lf:gameobject_upload('e', 0, 1)
    )");
    ParticleEmitter* e = uploaded(1);
    ASSERT_NE(e, nullptr);
    tick(15);
    auto* template_particle = dynamic_cast<AnimatedParticle*>(e->particle_template.get());
    ASSERT_TRUE(template_particle && template_particle->animation);
    EXPECT_EQ(template_particle->animation->index, 0);
    const Animation* first = nullptr;
    for (const auto& p : e->particles) {
        auto* a = dynamic_cast<AnimatedParticle*>(p.get());
        ASSERT_TRUE(a && a->animation);
        EXPECT_EQ(a->animation->index, 1);
        EXPECT_NE(a->animation.get(), first);
        first = a->animation.get();
    }
    EXPECT_EQ(AnimationRegistry::instance().find("twinkle")->index, 0);
}

// emitter_burst: each particle lives its life once; the emitter leaves its layer when the
// last one has died.
TEST_F(ParticleTest, ABurstEmitsOnceAndGoesWhenItsLastParticleDies) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('spark', 2, '', 0, 0)
        lf:particle_start_color('spark', 1, 1, 1, 1)
        lf:particle_end_color('spark', 1, 1, 1, 0)
        lf:create_sprite('burst', 3, 'spark', 100, 50)
        lf:emitter_range('burst', 0.1, 0.3, 0, 0, 50, 100)
        lf:emitter_angle('burst', math.pi)
        lf:emitter_burst('burst', 20)
        lf:gameobject_upload('burst', 0, 8)
        -- The same emitter, for ever.
        lf:create_sprite('spark2', 2, '', 0, 0)
        lf:create_sprite('fountain', 3, 'spark2', 0, 0)
        lf:emitter_range('fountain', 0.1, 0.3, 0, 0, 50, 100)
        lf:emitter_particle_amount('fountain', 20)
        lf:gameobject_upload('fountain', 0, 9)
    )");
    ParticleEmitter* burst = uploaded(8);
    ASSERT_TRUE(burst);
    EXPECT_TRUE(burst->one_shot);
    ASSERT_EQ(burst->particles.size(), 20u);
    // Lives of 0.1 to 0.3 s in frames of 10 ms: the count only falls, and each particle that is
    // left has flown away from the emitter, none born again at it.
    size_t last = 20;
    int frames = 0;
    while (uploaded(8) && frames < 100) {
        tick();
        ++frames;
        if (!uploaded(8))
            break;
        EXPECT_LE(burst->particles.size(), last);
        last = burst->particles.size();
        for (const auto& p : burst->particles)
            EXPECT_GT(length(p->transform.position - Vector2{100, 50}), 0.4f);
    }
    EXPECT_GE(frames, 10);
    EXPECT_LE(frames, 32);
    EXPECT_EQ(uploaded(8), nullptr) << "the burst left its layer";
    ASSERT_TRUE(uploaded(9));
    EXPECT_EQ(uploaded(9)->particles.size(), 20u) << "an ordinary emitter keeps its particles";

    // A burst without a template emits nothing and goes at its first update; a name that is no
    // emitter changes nothing.
    ASSERT_EQ(lua("lf:create_sprite('empty', 3, 'nothing', 0, 0)\n"
                  "lf:emitter_burst('empty', 5)\n"
                  "lf:gameobject_upload('empty', 0, 10)\n"
                  "lf:create_sprite('plain', 0, '', 0, 0)\n"
                  "lf:emitter_burst('plain', 5)\n"
                  "lf:emitter_burst('nobody', 5)"),
              "");
    ASSERT_TRUE(uploaded(10));
    tick();
    EXPECT_EQ(uploaded(10), nullptr);
}
