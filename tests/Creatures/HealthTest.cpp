#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "Creatures/Health.h"
#include "Scene/TexturedSprite.h"

namespace {

std::unique_ptr<Sprite> effect_sprite() {
    return std::make_unique<TexturedSprite>(nullptr);
}

}  // namespace

TEST(Health, StaysInertWithoutAnEffect) {
    Health h;
    h.damage(100.0f, 0.0f);
    EXPECT_EQ(h.state, Health::taking_damage);
    for (int i = 0; i < 500; ++i)
        EXPECT_FALSE(h.update(0.02f, 0, 0));
    EXPECT_EQ(h.hp, 1.0f);
    // The stored damage waits for an effect.
    h.set_effect(effect_sprite());
    h.update(0.02f, 0, 0);
    EXPECT_LT(h.hp, 1.0f);
}

TEST(Health, DiesInTheFrameAfterTheDrainReachesZero) {
    Health h;
    h.set_effect(effect_sprite());
    h.damage(0.5f, 0.0f);
    const float dt = 0.01f;
    int frame = 0;
    while (!h.update(dt, 0, 0) && frame < 1000)
        ++frame;
    // 0.5 per second empties 1 hit point in about 200 frames of 10 ms; death is reported by
    // the check before the next drain.
    EXPECT_NEAR(frame * dt, 2.0f, 0.03f);
    EXPECT_LE(h.hp, 0.0f);
    // A dead player stays dead while the damage goes on.
    EXPECT_TRUE(h.update(dt, 0, 0));
}

TEST(Health, StoppedDamageWaitsOneDelayThenRegeneratesPerFrameUpToMax) {
    Health h;
    h.set_effect(effect_sprite());
    h.set_hp(2.0f, 0.5f, 0.1f);
    h.damage(5.0f, 0.0f);
    h.update(0.1f, 0, 0);  // drains 0.5
    EXPECT_FLOAT_EQ(h.hp, 1.5f);
    h.damage(0.0f, 5.0f);
    EXPECT_EQ(h.rate, 0.0f);
    EXPECT_EQ(h.state, Health::waiting_to_recover);
    // 0.5 s of waiting: four frames of 0.1 s leave it waiting, the fifth ends the wait.
    for (int i = 0; i < 4; ++i) {
        h.update(0.1f, 0, 0);
        EXPECT_EQ(h.state, Health::waiting_to_recover) << i;
    }
    h.update(0.1f, 0, 0);
    EXPECT_EQ(h.state, Health::regenerating);
    EXPECT_FLOAT_EQ(h.hp, 1.5f);
    // 0.1 per frame, whatever the frame time, capped at max.
    for (float expected : {1.6f, 1.7f, 1.8f, 1.9f}) {
        h.update(0.5f, 0, 0);
        EXPECT_NEAR(h.hp, expected, 1e-5f);
        EXPECT_EQ(h.state, Health::regenerating);
    }
    h.update(0.01f, 0, 0);
    h.update(0.01f, 0, 0);
    EXPECT_EQ(h.hp, 2.0f);
    EXPECT_EQ(h.state, Health::idle);
}

TEST(Health, DamageStoppedBeforeAnyFrameStillWaitsTheDelay) {
    Health h;
    h.set_effect(effect_sprite());
    h.set_hp(1.0f, 0.3f, 0.05f);
    h.hp = 0.5f;
    h.damage(5.0f, 0.0f);
    h.damage(0.0f, 5.0f);
    h.update(0.2f, 0, 0);
    EXPECT_EQ(h.state, Health::waiting_to_recover);
    h.update(0.2f, 0, 0);
    EXPECT_EQ(h.state, Health::regenerating);
}

TEST(Health, ZeroDelayRecoversAtOnce) {
    Health h;
    h.set_effect(effect_sprite());
    h.hp = 0.5f;
    h.damage(0.0f, 0.0f);
    h.update(0.01f, 0, 0);
    EXPECT_EQ(h.state, Health::regenerating);
}

TEST(Health, RateAddsUpAndNeverGoesNegative) {
    struct Case {
        float add, remove;
        float rate;
        int32_t state;
    } cases[] = {
        {1.0f, 0.0f, 1.0f, Health::taking_damage},
        {2.0f, 0.5f, 2.5f, Health::taking_damage},
        {0.0f, 10.0f, 0.0f, Health::waiting_to_recover},
        {-3.0f, 0.0f, 0.0f, Health::waiting_to_recover},
        {0.0f, -0.25f, 0.25f, Health::taking_damage},
        {std::nanf(""), 0.0f, 0.0f, Health::waiting_to_recover},
    };
    Health h;
    for (const Case& c : cases) {
        h.damage(c.add, c.remove);
        EXPECT_EQ(h.rate, c.rate) << c.add << " " << c.remove;
        EXPECT_EQ(h.state, c.state) << c.add << " " << c.remove;
    }
}

TEST(Health, EffectFollowsTheMissingFraction) {
    Health h;
    h.set_effect(effect_sprite());
    h.set_effect_look(0.8f, 0.2f, 2.0f, 0.5f);
    h.set_hp(4.0f, 1.0f, 0.0f);
    h.damage(1.0f, 0.0f);
    h.update(1.0f, 3.0f, 7.0f);  // refresh at full health, then drain 1 of 4
    EXPECT_FLOAT_EQ(h.effect->colour.a, 0.0f);
    EXPECT_FLOAT_EQ(h.effect->transform.scale, 2.0f);
    EXPECT_EQ(h.effect->transform.position, (Vector2{3, 7}));
    h.update(1.0f, 5.0f, 1.0f);  // refresh at 3 of 4
    EXPECT_FLOAT_EQ(h.effect->colour.a, 0.25f * 0.6f);
    EXPECT_FLOAT_EQ(h.effect->transform.scale, 2.0f - 1.5f * 0.25f);
    EXPECT_EQ(h.effect->transform.position, (Vector2{5, 1}));
    h.reset();
    EXPECT_EQ(h.hp, 4.0f);
    EXPECT_EQ(h.state, Health::idle);
    EXPECT_EQ(h.rate, 0.0f);
    EXPECT_FLOAT_EQ(h.effect->colour.a, 0.8f);
    EXPECT_FLOAT_EQ(h.effect->transform.scale, 2.0f);
}

TEST(Health, NothingGoesNonFinite) {
    const float inf = std::numeric_limits<float>::infinity();
    Health h;
    h.set_effect(effect_sprite());
    h.set_hp(inf, std::nanf(""), inf);
    EXPECT_EQ(h.max, 1.0f);
    EXPECT_EQ(h.recovery_delay, 0.0f);
    EXPECT_EQ(h.regeneration, 0.05f);
    h.damage(inf, 0.0f);
    h.update(0.01f, 0, 0);
    h.update(inf, 0, 0);
    EXPECT_TRUE(h.update(0.01f, 0, 0));
    EXPECT_TRUE(std::isfinite(h.hp));
    EXPECT_TRUE(std::isfinite(h.effect->colour.a));
    EXPECT_TRUE(std::isfinite(h.effect->transform.scale));
    // A zero maximum counts as no health left.
    Health z;
    z.set_effect(effect_sprite());
    z.set_hp(0.0f, 0.0f, 0.0f);
    z.damage(1.0f, 0.0f);
    EXPECT_TRUE(z.update(0.01f, 0, 0));
    EXPECT_TRUE(std::isfinite(z.effect->colour.a));
}
