#include "Render/Camera.h"
#include "Render/Registries.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Hud.h"
#include "Scene/Level.h"
#include "Scene/RemorfableSprite.h"
#include "Scene/ScrollingSprite.h"
#include "Scene/TempLists.h"
#include "Scene/TexturedSprite.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class SpriteTest : public EngineTest {
  protected:
    template <class T = GameObject>
    T* temp(const std::string& name) {
        return dynamic_cast<T*>(TempLists::instance().game_objects.find(name));
    }
    Level& level() { return *Game::instance().level; }
    static constexpr const char* one_layer =
        "lf = LuaFunctions()\nlf:create_level(0, 0, 0, 0)\nlf:create_layer(1, 1, 0)\n";
};

TEST_F(SpriteTest, CreateSpriteMakesTheKindAtItsPosition) {
    start(R"(
        lf = LuaFunctions()
        lf:create_sprite('t', 0, 'no such texture', 10, 20)
        lf:create_sprite('a', 1, 'no such animation', 1, 2)
        lf:create_sprite('s', 4, 'no such texture', 3, 4)
        lf:create_sprite('x', 7, 'whatever', 3, 4)
        lf:create_sprite('p', 2, 'whatever', 3, 4)
    )");
    ASSERT_NE(temp<TexturedSprite>("t"), nullptr);
    EXPECT_EQ(temp<TexturedSprite>("t")->texture, nullptr);
    EXPECT_EQ(temp<TexturedSprite>("t")->transform.position, (Vector2{10, 20}));
    ASSERT_NE(temp<AnimatedSprite>("a"), nullptr);
    EXPECT_EQ(temp<AnimatedSprite>("a")->animation, nullptr);
    ASSERT_NE(temp<ScrollingSprite>("s"), nullptr);
    EXPECT_EQ(temp("x"), nullptr);
    const Sprite* t = temp<Sprite>("t");
    EXPECT_EQ(t->corners[0], (Vector2{-1, -1}));
    EXPECT_EQ(t->corners[2], (Vector2{1, 1}));
    EXPECT_EQ(t->colour, (Color{1, 1, 1, 1}));
    EXPECT_EQ(t->transform.scale, 1.0f);
}

TEST_F(SpriteTest, AnUntexturedSpriteDrawsAWhiteTwoByTwoQuadOnItsPosition) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('t', 0, 'nothing', 100, 50)
        lf:gameobject_upload('t', 0, 1)
    )");
    tick();
    // The camera is at the origin: world (100, 50) is 100 right of and 50 above the centre.
    EXPECT_EQ(pixel(740, 410), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(pixel(737, 410), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixel(740, 413), (Pixel{0, 0, 0, 255}));
}

TEST_F(SpriteTest, ColourAndTintMultiply) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('t', 0, 'nothing', 0, 0)
        lf:sprite_shape('t', 0, 20, 20)
        lf:sprite_color('t', 1, 0.5, 2, 1)
        lf:layer_color(0, 0.5, 1, 0.25, 1)
        lf:gameobject_upload('t', 0, 1)
    )");
    tick();
    // (0.5, 0.5, 0.5) blended over black with alpha 1.
    Pixel p = pixel(640, 360);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_NEAR(p.g, 128, 1);
    EXPECT_NEAR(p.b, 128, 1);
}

TEST_F(SpriteTest, ShapeAndTexCoordsActOnlyOnTheirKinds) {
    start(R"(
        lf = LuaFunctions()
        lf:create_sprite('t', 0, '', 0, 0)
        lf:create_sprite('s', 4, '', 0, 0)
        lf:sprite_shape('t', 0, 50, 20)
        lf:sprite_shape('s', 3, 9, 9)           -- not a sprite kind
        lf:sprite_shape('nobody', 0, 9, 9)
        lf:textured_sprite_tex_coords('t', 0, 0.25, 0.5, 0.75, 1)
        lf:textured_sprite_tex_coords('t', 4, 9, 9, 9, 9)   -- t does not scroll
        lf:textured_sprite_tex_coords('s', 4, 0, 0, 1, 1)
        lf:sprite_rotation('t', math.pi / 2)
    )");
    const auto* t = temp<TexturedSprite>("t");
    EXPECT_EQ(t->corners[0], (Vector2{-50, -20}));
    EXPECT_EQ(t->corners[1], (Vector2{50, -20}));
    EXPECT_EQ(t->corners[2], (Vector2{50, 20}));
    EXPECT_EQ(t->corners[3], (Vector2{-50, 20}));
    EXPECT_EQ(temp<Sprite>("s")->corners[2], (Vector2{1, 1}));
    EXPECT_EQ(t->tex_coords[0], (Vector2{0.25f, 0.5f}));
    EXPECT_EQ(t->tex_coords[2], (Vector2{0.75f, 1.0f}));
    EXPECT_NEAR(t->transform.axis_x.x, 0.0f, 1e-6);
    EXPECT_NEAR(t->transform.axis_x.y, 1.0f, 1e-6);
    EXPECT_NEAR(t->transform.axis_y.x, -1.0f, 1e-6);
    const auto* s = temp<ScrollingSprite>("s");
    EXPECT_EQ(s->saved_tex_coords[2], (Vector2{1, 1}));
    EXPECT_EQ(s->saved_tex_coords[3], (Vector2{0, 1}));
}

TEST_F(SpriteTest, ScrollingModeTwoScrollsVerticallyAndJumpsBackPastTwo) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('s', 4, '', 0, 0)
        lf:textured_sprite_tex_coords('s', 4, 0, 0, 1, 1)
        lf:scrolling_sprite('s', 2, 0.5)
        lf:gameobject_upload('s', 0, 1)
    )");
    auto* s = dynamic_cast<ScrollingSprite*>(level().find_by_id(1));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->scroll_mode, ScrollingSprite::vertical);
    tick(100);
    EXPECT_NEAR(s->tex_coords[0].y, 0.5f, 1e-4);
    EXPECT_NEAR(s->tex_coords[2].y, 1.5f, 1e-4);
    EXPECT_EQ(s->tex_coords[2].x, 1.0f);
    tick(99);  // the top edge reaches 2 but does not pass it
    EXPECT_GT(s->tex_coords[2].y, 1.99f);
    tick(2);
    EXPECT_LT(s->tex_coords[2].y, 1.01f);
}

TEST_F(SpriteTest, ScrollingModesMapAndSpeedIsAlwaysSet) {
    struct Case {
        int mode;
        int32_t expected;
    };
    start("lf = LuaFunctions()\nlf:create_sprite('s', 4, '', 0, 0)");
    auto* s = temp<ScrollingSprite>("s");
    int32_t before = s->scroll_mode;
    EXPECT_EQ(before, ScrollingSprite::none);
    for (Case c : {Case{1, ScrollingSprite::horizontal}, Case{7, ScrollingSprite::horizontal},
                   Case{2, ScrollingSprite::vertical}, Case{0, ScrollingSprite::none}}) {
        ASSERT_EQ(lua("lf:scrolling_sprite('s', " + std::to_string(c.mode) + ", 3)"), "");
        EXPECT_EQ(s->scroll_mode, c.expected) << c.mode;
        EXPECT_EQ(s->scroll_speed, 3.0f);
    }
}

TEST_F(SpriteTest, HorizontalScrollWithNegativeSpeedNeverJumps) {
    ScrollingSprite s(nullptr);
    s.set_tex_coords(0, 0, 1, 1);
    s.scroll_mode = ScrollingSprite::horizontal;
    s.scroll_speed = -1.0f;
    for (int i = 0; i < 10; ++i)
        s.update(1.0f);
    EXPECT_EQ(s.tex_coords[0].x, -10.0f);
    s.scroll_speed = 2.0f;
    s.update(5.5f);  // u of the right corners: 1 - 10 + 11 = 2, not above 2
    EXPECT_EQ(s.tex_coords[1].x, 2.0f);
    s.update(0.01f);
    EXPECT_EQ(s.tex_coords[1].x, 0.0f);  // back to the saved coordinates (all zero)
}

TEST_F(SpriteTest, ClonesCopyTheVisibleStateButNotTheIdAndDoNotScroll) {
    ScrollingSprite s(nullptr);
    s.id = 4;
    s.transform.position = {5, 6};
    s.colour = {0.5f, 0.5f, 0.5f, 1};
    s.set_tex_coords(0.1f, 0.2f, 0.3f, 0.4f);
    s.scroll_mode = ScrollingSprite::vertical;
    s.scroll_speed = 1.0f;
    std::unique_ptr<Sprite> copy = s.clone();
    EXPECT_EQ(dynamic_cast<ScrollingSprite*>(copy.get()), nullptr);
    auto* t = dynamic_cast<TexturedSprite*>(copy.get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->id, 0);
    EXPECT_EQ(t->transform.position, (Vector2{5, 6}));
    EXPECT_EQ(t->colour, s.colour);
    EXPECT_EQ(t->tex_coords[2], (Vector2{0.3f, 0.4f}));
    t->update(1.0f);
    EXPECT_EQ(t->tex_coords[2], (Vector2{0.3f, 0.4f}));
}

TEST_F(SpriteTest, AnimatedSpritesPlayTheirOwnCopy) {
    start("lf = LuaFunctions()\n" + two_frame_animation("walk") + R"(
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_sprite('a', 1, 'walk', 0, 0)
        lf:create_sprite('b', 1, 'walk', 0, 0)
        lf:gameobject_upload('a', 0, 1)
    )");
    auto* a = dynamic_cast<AnimatedSprite*>(level().find_by_id(1));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->animation, nullptr);
    tick(15);  // 0.15 s
    EXPECT_EQ(a->animation->index, 1);
    EXPECT_EQ(temp<AnimatedSprite>("b")->animation->index, 0);
    EXPECT_EQ(AnimationRegistry::instance().find("walk")->index, 0);
    std::unique_ptr<Sprite> copy = a->clone();
    EXPECT_EQ(static_cast<AnimatedSprite&>(*copy).animation->index, 1);
}

TEST_F(SpriteTest, RemorfableSpriteReachesItsKeyFrameAndIsRemovedPastTheEnd) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('t', 0, '', 0, 0)
        lf:remorfable_sprite('m', 't', 0.5, false)
        lf:add_key_frame(0.5, 100, 40, 0, 2)
        lf:add_key_frame_color(1, 1, 1, 1)
        lf:upload_key_frame('m')
        lf:gameobject_upload('m', 0, 1)
    )");
    EXPECT_EQ(TempLists::instance().game_objects.find("t"), nullptr);
    auto* m = dynamic_cast<RemorfableSprite*>(level().find_by_id(1));
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->key_frames.size(), 2u);
    tick(100);  // 1 s at half a timeline per second: time 0.5
    EXPECT_NEAR(m->target->transform.position.x, 100.0f, 0.1f);
    EXPECT_NEAR(m->target->transform.position.y, 40.0f, 0.1f);
    EXPECT_NEAR(m->target->transform.scale, 2.0f, 0.01f);
    tick(50);  // on the way back to the initial state
    EXPECT_NEAR(m->target->transform.position.x, 50.0f, 0.2f);
    EXPECT_NEAR(m->target->transform.scale, 1.5f, 0.01f);
    tick(48);
    EXPECT_EQ(level().layers[0]->size(), 1u);
    tick(4);  // the update that would pass time 1 removes it
    EXPECT_EQ(level().layers[0]->size(), 0u);
}

TEST_F(SpriteTest, LoopingRemorfableSpriteWrapsBackToTheStart) {
    RemorfableSprite m;
    auto t = std::make_unique<TexturedSprite>(nullptr);
    t->transform.position = {0, 0};
    m.attach(std::move(t));
    m.speed = 1.0f;
    m.looping = true;
    KeyFrame k;
    k.time = 0.5f;
    k.position = {10, 0};
    k.colour = {1, 1, 1, 1};
    m.insert_key_frame(k);
    EXPECT_FALSE(m.update(0.25f));
    EXPECT_FLOAT_EQ(m.target->transform.position.x, 5.0f);
    EXPECT_FALSE(m.update(0.5f));  // time 0.75: half way back
    EXPECT_FLOAT_EQ(m.target->transform.position.x, 5.0f);
    EXPECT_FALSE(m.update(0.5f));  // wraps: time 0.25 of the next cycle
    EXPECT_FLOAT_EQ(m.target->transform.position.x, 5.0f);
    EXPECT_EQ(m.segment, 1);
    EXPECT_FLOAT_EQ(m.time, 0.25f);
    // A huge step still ends quickly, at the same place in the cycle.
    EXPECT_FALSE(m.update(1000000.0f));
    EXPECT_FLOAT_EQ(m.time, 0.25f);
}

TEST_F(SpriteTest, KeyFrameWithoutColourFadesToTransparentBlackAndOnlyDifferencesAreWritten) {
    RemorfableSprite m;
    m.attach(std::make_unique<TexturedSprite>(nullptr));
    m.speed = 1.0f;
    KeyFrame k;  // same position, axes and scale as the target; colour (0, 0, 0, 0)
    k.time = 1.0f;
    m.insert_key_frame(k);
    m.target->transform.position = {33, 44};  // set by other code
    EXPECT_FALSE(m.update(0.5f));
    EXPECT_EQ(m.target->colour, (Color{0.5f, 0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(m.target->transform.position, (Vector2{33, 44}));
}

TEST_F(SpriteTest, KeyFramesOutsideTheTimelineAreDiscardedAndEqualTimesKeepTheirOrder) {
    start(R"(
        lf = LuaFunctions()
        lf:create_sprite('t', 0, '', 0, 0)
        lf:remorfable_sprite('m', 't', 1, true)
        lf:add_key_frame(1.5, 1, 1, 0, 1)
        lf:upload_key_frame('m')
        lf:add_key_frame_color(1, 0, 0, 1)   -- no pending key frame any more
        lf:add_key_frame(0.5, 1, 0, 0, 1)
        lf:upload_key_frame('m')
        lf:add_key_frame(0.5, 2, 0, 0, 1)
        lf:upload_key_frame('nobody')        -- stays pending
        lf:upload_key_frame('m')
        lf:add_key_frame(0.25, 3, 0, 0, 1)
        lf:upload_key_frame('m')
    )");
    auto* m = temp<RemorfableSprite>("m");
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->key_frames.size(), 4u);
    EXPECT_EQ(m->key_frames[1].position.x, 3.0f);
    EXPECT_EQ(m->key_frames[2].position.x, 1.0f);
    EXPECT_EQ(m->key_frames[3].position.x, 2.0f);
    EXPECT_EQ(m->key_frames[2].colour, (Color{0, 0, 0, 0}));
    EXPECT_FALSE(TempLists::instance().pending_key_frame.has_value());
}

TEST_F(SpriteTest, RemorfableSpriteNeedsASpriteAndReattachingReplacesTheTarget) {
    start(R"(
        lf = LuaFunctions()
        lf:create_sprite('t', 0, '', 5, 5)
        lf:convert_to_hud('t')
        lf:remorfable_sprite('m', 't', 1, true)   -- a Hud is not a sprite
        lf:create_sprite('u', 0, '', 1, 2)
        lf:remorfable_sprite('u', 'u', 1, true)   -- the same name for both
    )");
    EXPECT_EQ(temp<RemorfableSprite>("m"), nullptr);
    EXPECT_NE(temp<Hud>("t"), nullptr);
    auto* u = temp<RemorfableSprite>("u");
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->key_frames[0].position, (Vector2{1, 2}));
    auto next = std::make_unique<TexturedSprite>(nullptr);
    next->transform.position = {7, 8};
    u->attach(std::move(next));
    ASSERT_EQ(u->key_frames.size(), 1u);
    EXPECT_EQ(u->key_frames[0].position, (Vector2{7, 8}));
}

TEST_F(SpriteTest, CopyingARemorfableSpriteClonesItsTargetAndRestartsTime) {
    RemorfableSprite m;
    m.attach(std::make_unique<TexturedSprite>(nullptr));
    m.speed = 2;
    m.looping = true;
    KeyFrame k;
    k.time = 0.5f;
    m.insert_key_frame(k);
    m.update(0.1f);
    auto c = m.copy();
    EXPECT_NE(c->target.get(), m.target.get());
    EXPECT_EQ(c->key_frames.size(), 2u);
    EXPECT_EQ(c->time, 0.0f);
    EXPECT_EQ(c->speed, 2.0f);
    EXPECT_TRUE(c->looping);
}

TEST_F(SpriteTest, HudKeepsItsScreenPlaceWhateverTheCameraDoes) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('h', 0, '', 300, 200)
        lf:convert_to_hud('h')
        lf:gameobject_upload('h', 0, 1)
        lf:convert_to_hud('nobody')
    )");
    auto* hud = dynamic_cast<Hud*>(level().find_by_id(1));
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->offset, (Vector2{300, 200}));
    Camera& camera = *Game::instance().camera;
    camera.position = {1000, -50};
    camera.notify_moved();
    tick();
    EXPECT_EQ(static_cast<Sprite&>(*hud->target).transform.position, (Vector2{1300, 150}));
    // It is drawn 300 right of and 200 above the window centre.
    EXPECT_EQ(pixel(940, 560), (Pixel{255, 255, 255, 255}));
}

TEST_F(SpriteTest, HudAroundAKeyFrameSpriteMovesItsTargetWithTheCamera) {
    start(std::string(one_layer) + R"(
        lf:create_sprite('s', 0, '', -200, 100)
        lf:remorfable_sprite('m', 's', 0.5, true)
        lf:add_key_frame(0.5, -200, 100, 0, 2)   -- only the scale changes
        lf:upload_key_frame('m')
        lf:convert_to_hud('m')
        lf:gameobject_upload('m', 0, 1)
    )");
    auto* hud = dynamic_cast<Hud*>(level().find_by_id(1));
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->offset, (Vector2{-200, 100}));
    Camera& camera = *Game::instance().camera;
    camera.position = {50, 60};
    tick(10);
    auto& morph = static_cast<RemorfableSprite&>(*hud->target);
    EXPECT_EQ(morph.target->transform.position, (Vector2{-150, 160}));
    EXPECT_GT(morph.target->transform.scale, 1.0f);
}
