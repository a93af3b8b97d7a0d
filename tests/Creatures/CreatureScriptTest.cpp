#include <filesystem>

#include "Creatures/MovingCreature.h"
#include "Mechanisms/AreaTrigger.h"
#include "Mechanisms/TriggerManager.h"
#include "Render/Image.h"
#include "Render/PngWriter.h"
#include "Scene/Level.h"
#include "Scene/ParticleEmitter.h"
#include "Scene/TempLists.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class CreatureScriptTest : public EngineTest {
  protected:
    static MovingCreature* named(const std::string& name) {
        return dynamic_cast<MovingCreature*>(TempLists::instance().game_objects.find(name));
    }
    static Level& level() { return *Game::instance().level; }
    // A level of one layer and the plain creature 'imp', not yet uploaded; then more.
    void start_with_imp(const std::string& more) {
        start(
            "lf = LuaFunctions()\nlf:create_level(0, 0, 0, 0)\nlf:create_layer(1, 1, 0)\n"
            "lf:create_creature('imp', 2, '', '', '', '')\n" +
            more);
    }
};

TEST_F(CreatureScriptTest, SettersShapeANamedCreatureAndIgnoreOtherKinds) {
    start(R"(
        lf = LuaFunctions()
        lf:init_subtexture('', 'f', 0, 0, 1, 1)
        lf:init_animation('idle', 0, 0)
        lf:animation_add_frame('idle', 'f', 1)
        lf:create_creature('imp', 2, 'idle', 'none', '', '')
        lf:create_creature('ghost', 1, 'idle', '', '', '')
        lf:creature_translation('imp', 2, 10, 20)
        lf:creature_speed('imp', 2, 30)
        lf:creature_jump('imp', 2, 40, 3)
        lf:creature_shape('imp', 2, 5, 8)
        lf:creature_gravity('imp', 2, 50)
        lf:creature_drag('imp', 2, 7, 'ignored.lua')
        lf:creature_color('imp', 2, 0.5, 0.25, 1, 0.75)
        lf:creature_speed('imp', 1, 999)
        lf:creature_speed('imp', 3, 999)
        lf:creature_speed('nobody', 2, 999)
    )");
    EXPECT_EQ(named("ghost"), nullptr);
    MovingCreature* imp = named("imp");
    ASSERT_NE(imp, nullptr);
    EXPECT_EQ(Game::instance().player, nullptr);
    EXPECT_EQ(imp->state, 0);
    ASSERT_NE(imp->idle_animation, nullptr);
    EXPECT_EQ(imp->current_animation, imp->idle_animation.get());
    EXPECT_EQ(imp->walk_animation, nullptr);
    EXPECT_EQ(imp->body.transform.position, (Vector2{10, 20}));
    EXPECT_EQ(imp->body.speed, 30.0f);
    EXPECT_EQ(imp->body.jump_speed, 40.0f);
    EXPECT_EQ(imp->body.max_jumps, 3);
    EXPECT_EQ(imp->body.gravity, 50.0f);
    EXPECT_EQ(imp->body.drag, 7.0f);
    EXPECT_EQ(imp->body.vertical_offset, 8.0f);
    EXPECT_EQ(imp->corners[0], (Vector2{-5, -8}));
    EXPECT_EQ(imp->corners[2], (Vector2{5, 8}));
    EXPECT_EQ(imp->colour.g, 0.25f);
}

TEST_F(CreatureScriptTest, ACreatureDrawsItsQuadStandingOnItsFeet) {
    start_with_imp(R"(
        lf:creature_shape('imp', 2, 40, 30)
        lf:creature_translation('imp', 2, 100, -50)
        lf:creature_color('imp', 2, 1, 0, 0, 1)
        lf:gameobject_upload('imp', 0, 7)
    )");
    tick();
    // The untextured quad spans x 60..140 and y -50..10 in world units; the view is the window.
    const Pixel red{255, 0, 0, 255};
    EXPECT_EQ(pixel(640 + 100, 360 - 20), red);
    EXPECT_NE(pixel(640 + 100, 360 - 60), red) << "nothing below the feet";
    EXPECT_NE(pixel(640 + 100, 360 + 20), red);
}

TEST_F(CreatureScriptTest, RemoveMarksOnlyCreaturesWhichLeaveAtTheirNextUpdate) {
    start_with_imp(R"(
        lf:gameobject_upload('imp', 0, 7)
        lf:create_sprite('rock', 0, '', 0, 0)
        lf:gameobject_upload('rock', 0, 8)
        lf:creature_remove(8)
        lf:creature_remove(99)
    )");
    ASSERT_NE(level().find_by_id(7), nullptr);
    tick();
    EXPECT_NE(level().find_by_id(8), nullptr);
    ASSERT_EQ(lua("lf:creature_remove(7)"), "");
    EXPECT_EQ(dynamic_cast<Creature*>(level().find_by_id(7))->state, Creature::removed_state);
    tick();
    EXPECT_EQ(level().find_by_id(7), nullptr);
    EXPECT_NE(level().find_by_id(8), nullptr);
}

TEST_F(CreatureScriptTest, ANamedCreaturesTriggerIsUploadedFollowsItAndLeavesWithIt) {
    start_with_imp(R"(
        lf:creature_shape('imp', 2, 5, 12)
        lf:creature_translation('imp', 2, 30, 40)
        lf:create_trigger('gate', 0, '', '', 0, 0)
        lf:create_trigger('clock', 2, '', '', 0, 0)
        lf:creature_trigger('imp', 2, 'clock', 3)
        lf:creature_trigger('imp', 2, 'gate', 9)
        lf:creature_trigger('imp', 2, 'missing', 4)
        lf:gameobject_upload('imp', 0, 7)
    )");
    TriggerManager& manager = *Game::instance().triggers;
    auto* imp = dynamic_cast<MovingCreature*>(level().find_by_id(7));
    ASSERT_NE(imp, nullptr);
    AreaTrigger* t = imp->trigger.get();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->id, 9);
    EXPECT_TRUE(manager.contains(t));
    EXPECT_NE(TempLists::instance().triggers.find("clock"), nullptr) << "a timed one cannot follow";
    tick();
    EXPECT_EQ(t->transform.position, (Vector2{30, 52}));
    ASSERT_EQ(lua("lf:creature_remove(7)"), "");
    tick();
    EXPECT_EQ(manager.count(), 0u);
}

TEST_F(CreatureScriptTest, SoundsAndEmitterHaveOneOwnerAndTheEmitterMayGoFirst) {
    start_with_imp(R"(
        lf:creature_shape('imp', 2, 5, 12)
        lf:creature_translation('imp', 2, -20, 10)
        lf:create_sound('hop', 'Data/hop.wav', 100, 0, 0)
        lf:create_sound('step', 'Data/step.wav', 100, 0, 0)
        lf:create_sound_effect('steps', 'step', 0.3, true)
        lf:creature_sound('imp', 2, 'steps', 'hop')
        lf:create_sprite('p', 2, '', 0, 0)
        lf:create_sprite('dust', 3, 'p', 0, 0)
        lf:creature_emitter('imp', 'dust')
        lf:creature_emitter('imp', 'nothing')
        lf:gameobject_upload('dust', 0, 5)
        lf:gameobject_upload('imp', 0, 7)
    )");
    auto* imp = dynamic_cast<MovingCreature*>(level().find_by_id(7));
    ASSERT_NE(imp, nullptr);
    ASSERT_NE(imp->jump_sound, nullptr);
    ASSERT_NE(imp->walk_sound, nullptr);
    EXPECT_EQ(imp->jump_sound->path, "Data/hop.wav");
    // The names stay for configuration, but nobody else can take the objects.
    EXPECT_EQ(TempLists::instance().game_objects.take("steps"), nullptr);
    ASSERT_TRUE(imp->emitter);
    tick();
    EXPECT_EQ(imp->emitter->transform.position, (Vector2{-20, 22}));
    // The emitter's layer destroys it; the creature lets go.
    ASSERT_EQ(lua("lf:remove_gameobject_from_layer(0, 5)"), "");
    EXPECT_FALSE(imp->emitter);
    tick(2);
}

TEST_F(CreatureScriptTest, ACreatureFacingLeftShowsItsPictureMirrored) {
    // A picture green on its left half and blue on its right half.
    Image image;
    image.width = 2;
    image.height = 2;
    image.pixels = {0, 255, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255, 0, 0, 255, 255};
    std::filesystem::create_directories(dir + "/Data");
    ASSERT_TRUE(PngWriter::write(dir + "/Data/halves.png", image));
    start(R"(
        lf = LuaFunctions()
        lf:init_texture('halves', 'Data/halves.png', 0, 0, 0, 0)
        lf:load_resource(0, 'halves')
        lf:init_subtexture('halves', 'whole', 0, 0, 1, 1)
        lf:init_animation('look', 0, 0)
        lf:animation_add_frame('look', 'whole', 1)
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_creature('imp', 2, 'look', '', '', '')
        lf:creature_shape('imp', 2, 100, 50)
        lf:gameobject_upload('imp', 0, 7)
    )");
    auto* imp = dynamic_cast<MovingCreature*>(level().find_by_id(7));
    ASSERT_NE(imp, nullptr);
    const Pixel green{0, 255, 0, 255}, blue{0, 0, 255, 255};
    struct Case {
        int32_t facing;
        Pixel left, right;
    };
    for (Case c : {Case{0, green, blue}, Case{1, green, blue}, Case{-1, blue, green}}) {
        imp->body.facing = c.facing;
        tick();
        // The quad spans x -100..100 and y 0..100; a quarter in from each side is the middle
        // of a texel.
        EXPECT_EQ(pixel(640 - 50, 360 + 50), c.left) << c.facing;
        EXPECT_EQ(pixel(640 + 50, 360 + 50), c.right) << c.facing;
    }
}
