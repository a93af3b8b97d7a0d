// The global table of named constants: there before the start-up script runs, and each
// constant doing in its functions what its number does.
#include "Creatures/MovingCreature.h"
#include "Creatures/Player.h"
#include "Creatures/UserController.h"
#include "Flow/DialogLine.h"
#include "Flow/KeyNames.h"
#include "Flow/MenuInput.h"
#include "Mechanisms/GateTrigger.h"
#include "Mechanisms/TimedTrigger.h"
#include "Mechanisms/UseTrigger.h"
#include "Physics/PolygonShape.h"
#include "Render/Registries.h"
#include "Scene/AnimatedParticle.h"
#include "Scene/AnimatedSprite.h"
#include "Scene/Level.h"
#include "Scene/ParticleEmitter.h"
#include "Scene/ScrollingSprite.h"
#include "Scene/TempLists.h"
#include "Scene/TexturedParticle.h"
#include "Scene/TexturedSprite.h"
#include "Script/ScriptConstants.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class ScriptConstantsTest : public EngineTest {
  protected:
    static GameObject* object(const std::string& name) {
        return TempLists::instance().game_objects.find(name);
    }
};

TEST_F(ScriptConstantsTest, TheTableIsThereBeforeTheStartUpScriptWithEveryConstant) {
    start(
        "seen = velden and velden.sprite.ANIMATED\n"
        "count = 0\n"
        "for _, family in pairs(velden) do for _ in pairs(family) do count = count + 1 end end\n");
    EXPECT_EQ(lua_number("seen"), 1);
    EXPECT_EQ(lua_number("count"), static_cast<double>(ScriptConstants::all().size()));
    for (const ScriptConstants::Constant& c : ScriptConstants::all()) {
        const std::string path = std::string("velden.") + c.family + "." + c.name;
        ASSERT_EQ(lua("v = " + path), "") << path;
        EXPECT_EQ(lua_number("v"), c.value) << path;
    }
}

TEST_F(ScriptConstantsTest, KindsMakeTheirObjects) {
    start(R"(
        lf = LuaFunctions()
        local s, t, c = velden.sprite, velden.trigger, velden.creature
        lf:init_animation('a', velden.loop.PING_PONG, velden.direction.BACKWARD)
        lf:create_sprite('textured', s.TEXTURED, '', 0, 0)
        lf:create_sprite('animated', s.ANIMATED, 'a', 0, 0)
        lf:create_sprite('scrolling', s.SCROLLING, '', 0, 0)
        lf:create_sprite('tp', s.TEXTURED_PARTICLE, '', 0, 0)
        lf:create_sprite('ap', s.ANIMATED_PARTICLE, 'a', 0, 0)
        lf:create_sprite('emitter', s.EMITTER, 'tp', 0, 0)
        lf:create_trigger('gate', t.GATE, '', '', 0, 0)
        lf:create_trigger('use', t.USE, '', '', 0, 0)
        lf:create_trigger('timed', t.TIMED, '', '', 0, 0)
        lf:create_shape('triangle', velden.shape.TRIANGLE, 0, 0)
        lf:create_shape('polygon', velden.shape.POLYGON, 5, 0)
        lf:create_shape('regular', velden.shape.REGULAR, 6, 10)
        lf:create_shape('box', velden.shape.BOX, 3, 4)
        lf:create_creature('named', c.NAMED, '', '', '', '')
        lf:create_creature('', c.PLAYER, '', '', '', '')
        lf:scrolling_sprite('scrolling', velden.scroll.VERTICAL, 1)
    )");
    EXPECT_TRUE(dynamic_cast<TexturedSprite*>(object("textured")));
    EXPECT_TRUE(dynamic_cast<AnimatedSprite*>(object("animated")));
    auto* scrolling = dynamic_cast<ScrollingSprite*>(object("scrolling"));
    ASSERT_TRUE(scrolling);
    EXPECT_EQ(scrolling->scroll_mode, ScrollingSprite::vertical);
    EXPECT_TRUE(dynamic_cast<AnimatedParticle*>(object("ap")));
    auto* emitter = dynamic_cast<ParticleEmitter*>(object("emitter"));
    ASSERT_TRUE(emitter);
    EXPECT_TRUE(dynamic_cast<TexturedParticle*>(emitter->particle_template.get()));
    TempList<Trigger>& triggers = TempLists::instance().triggers;
    EXPECT_TRUE(dynamic_cast<GateTrigger*>(triggers.find("gate")));
    EXPECT_TRUE(dynamic_cast<UseTrigger*>(triggers.find("use")));
    EXPECT_TRUE(dynamic_cast<TimedTrigger*>(triggers.find("timed")));
    struct Shape {
        const char* name;
        int32_t count;
        Vector2 first;
    };
    for (Shape s : {Shape{"triangle", 3, {0, 0}}, Shape{"polygon", 5, {0, 0}},
                    Shape{"regular", 6, {10, 0}}, Shape{"box", 4, {-3, -4}}}) {
        auto* polygon = dynamic_cast<PolygonShape*>(TempLists::instance().shapes.find(s.name));
        ASSERT_TRUE(polygon) << s.name;
        EXPECT_EQ(polygon->count(), s.count) << s.name;
        EXPECT_EQ(polygon->vertex(0), s.first) << s.name;
    }
    EXPECT_TRUE(dynamic_cast<MovingCreature*>(object("named")));
    EXPECT_TRUE(Game::instance().player);
    const Animation* a = AnimationRegistry::instance().find("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->loop_mode, 2);
    EXPECT_NE(a->direction, 0);
}

TEST_F(ScriptConstantsTest, StatesModesAndListenerTypesDoWhatTheirNumbersDo) {
    start(R"(
        lf = LuaFunctions()
        lf:add_vk_pair(velden.key.LEFT, 'l')
        lf:add_vk_pair(velden.key.Q, 'q')
        lf:add_vk_pair(velden.key.F1, 'f1')
        lf:add_vk_pair(velden.key.DIGIT_7, '7')
        lf:add_vk_pair(velden.key.NUMPAD_2, 'n2')
        lf:add_vk_pair(velden.key.SPACE, 'space')
        local l = velden.listener
        lf:add_input_listener(l.UP, 'q')
        lf:add_input_listener(l.DOWN, 'f1')
        lf:add_input_listener(l.LEFT, 'l')
        lf:add_input_listener(l.RIGHT, '7')
        lf:add_input_listener(l.ACTION, 'space')
        lf:upload_controller(velden.controller.MENU)
        lf:add_input_listener(l.RIGHT, 'n2')
        lf:upload_controller(velden.controller.PLAYER)
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, velden.blend.ADDITIVE)
        lf:create_layer(1, 1, velden.blend.ALPHA)
        lf:init_camera_binder(0, 1, 0, 1)
        lf:camera_binder_mode(velden.camera_binder.CLAMP)
        lf:init_texture('t', 'none.png', 0, velden.wrap.REPEAT, velden.wrap.CLAMP,
                        velden.environment.DECAL)
        lf:set_line_settings_1(velden.dialog.LINE, velden.anchor_x.RIGHT, velden.anchor_y.TOP,
                               velden.align.RIGHT, 'font')
        lf:create_creature('', velden.creature.PLAYER, '', '', '', '')
    )");
    const KeyNames& keys = KeyNames::instance();
    EXPECT_EQ(keys.code_of("l"), 37);
    EXPECT_EQ(keys.code_of("q"), 'Q');
    EXPECT_EQ(keys.code_of("f1"), 0x70);
    EXPECT_EQ(keys.code_of("7"), '7');
    EXPECT_EQ(keys.code_of("n2"), 0x62);
    // The menu's controller has the five commands in listener order; the player's its own.
    const UserController* menu = Game::instance().menu->controller.get();
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->bindings.size(), 5u);
    const int32_t commands[] = {command::up, command::down, command::left, command::right,
                                command::action};
    const int32_t codes[] = {'Q', 0x70, 37, '7', ' '};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(menu->bindings[i].command, commands[i]) << i;
        EXPECT_EQ(menu->bindings[i].key_code, codes[i]) << i;
    }
    ASSERT_TRUE(Game::instance().player_controller);
    Level& level = *Game::instance().level;
    EXPECT_EQ(level.layers[0]->blend.dst_color, BlendState::additive().dst_color);
    EXPECT_EQ(level.layers[1]->blend.dst_color, BlendState::alpha().dst_color);
    EXPECT_TRUE(level.camera_binder->clamp);
    const Texture* t = TextureRegistry::instance().find("t");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->wrap_s, 1);
    EXPECT_EQ(t->wrap_t, 0);
    EXPECT_EQ(t->environment, 1);
    const DialogLine& line = *TempLists::instance().dialog_line;
    EXPECT_EQ(line.h_mode, 2);
    EXPECT_EQ(line.v_mode, 2);
    EXPECT_EQ(line.text_align, 2);

    for (const char* state : {"MENU", "FROZEN", "DIALOG", "QUIT", "RUNNING"}) {
        ASSERT_EQ(lua(std::string("lf:set_game_state(velden.state.") + state +
                      ")\n"
                      "ok = lf:get_game_state() == velden.state." +
                      state),
                  "");
        EXPECT_EQ(lua_string("ok"), "true") << state;
    }
    EXPECT_EQ(Game::instance().state, GameState::running);
    ASSERT_EQ(lua("lf:player_state(velden.player_state.DEAD)"), "");
    EXPECT_EQ(Game::instance().player->state, Player::dead);
}
