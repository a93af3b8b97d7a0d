#include <GL/gl.h>

#include "Core/WalkGuard.h"
#include "Render/Camera.h"
#include "Scene/Level.h"
#include "Scene/TempLists.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"
#include "Support/ProbeObject.h"

class LevelTest : public EngineTest {
  protected:
    // Puts a probe into the game-object temp list under its name.
    ProbeObject* probe(const std::string& name) {
        auto p = std::make_unique<ProbeObject>(name, log);
        ProbeObject* raw = p.get();
        TempLists::instance().game_objects.put(name, std::move(p));
        return raw;
    }
    Level& level() { return *Game::instance().level; }
    ProbeObject* probe_at(int32_t id) { return static_cast<ProbeObject*>(level().find_by_id(id)); }

    struct Upload {
        std::string name;
        int layer;
        int id;
    };
    // A level of layers made with these create_layer arguments, and a probe for each upload
    // (unless the name is taken already), uploaded in that order; then the script more.
    void start_layers(const std::vector<std::string>& layers, const std::vector<Upload>& uploads,
                      const std::string& more = "") {
        std::string script = "lf = LuaFunctions()\nlf:create_level(0, 0, 0, 0)\n";
        for (const std::string& layer : layers)
            script += "lf:create_layer(" + layer + ")\n";
        for (const Upload& u : uploads) {
            if (!TempLists::instance().game_objects.find(u.name))
                probe(u.name);
            script += "lf:gameobject_upload('" + u.name + "', " + std::to_string(u.layer) + ", " +
                      std::to_string(u.id) + ")\n";
        }
        start(script + more);
    }
    // The same with layer_count plain layers.
    void start_level(int layer_count, const std::vector<Upload>& uploads,
                     const std::string& more = "") {
        start_layers(std::vector<std::string>(static_cast<size_t>(layer_count), "1, 1, 0"), uploads,
                     more);
    }
    // Log lines of one kind ("update", "draw", "destroy").
    std::vector<std::string> events(const std::string& kind) {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line.rfind(kind + " ", 0) == 0)
                out.push_back(line.substr(kind.size() + 1));
        return out;
    }

    std::vector<std::string> log;
};

using Names = std::vector<std::string>;

TEST_F(LevelTest, LayerFunctionsNeedALevelAndALayer) {
    start(R"(
        lf = LuaFunctions()
        lf:create_layer(1, 1, 0)
        before = lf:get_num_layers()
        lf:set_layer_freeze(0, true)
        lf:set_layer_visibility(0, false)
        lf:layer_color(0, 1, 1, 1, 1)
        lf:remove_gameobject(1)
        lf:remove_gameobject_from_layer(0, 1)
        lf:gameobject_upload('x', 0, 1)
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:create_layer(0.5, 0.5, 1)
        after = lf:get_num_layers()
        lf:set_layer_freeze(2, true)
        lf:set_layer_visibility(-1, false)
        lf:layer_color(5, 0, 0, 0, 0)
    )");
    EXPECT_EQ(lua_number("before"), 0);
    EXPECT_EQ(lua_number("after"), 2);
    EXPECT_FALSE(level().layers[0]->frozen);
    EXPECT_TRUE(level().layers[1]->visible);
    // Blend 1 is additive, anything else alpha blending.
    EXPECT_EQ(level().layers[0]->blend.dst_color, 7);
    EXPECT_EQ(level().layers[1]->blend.dst_color, 1);
    EXPECT_EQ(level().layers[1]->parallax, (Vector2{0.5f, 0.5f}));
    EXPECT_EQ(lua("lf:create_level()"),
              "[string \"lf:create_level()\"]:1: bad argument #1 to "
              "'create_level' (number expected, got no value)");
}

TEST_F(LevelTest, UploadMovesTheObjectIntoTheLayerOnlyWhenEverythingIsThere) {
    ProbeObject* a = probe("a");
    start(R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:gameobject_upload('a', 1, 5)   -- one past the last layer
        lf:gameobject_upload('a', -1, 5)
        lf:gameobject_upload('nobody', 0, 5)
    )");
    EXPECT_EQ(TempLists::instance().game_objects.find("a"), a);
    EXPECT_EQ(level().layers[0]->size(), 0u);
    EXPECT_EQ(lua("lf:gameobject_upload('a', 0, 5)"), "");
    EXPECT_EQ(TempLists::instance().game_objects.find("a"), nullptr);
    EXPECT_EQ(level().find_by_id(5), a);
    // The name was forgotten: a second upload does nothing.
    EXPECT_EQ(lua("lf:gameobject_upload('a', 0, 6)"), "");
    EXPECT_EQ(level().layers[0]->size(), 1u);
    EXPECT_EQ(a->id, 5);
}

TEST_F(LevelTest, RemovingByIdTakesTheFirstUploadedAndOnePerLayer) {
    start_level(3, {{"a", 0, 7}, {"b", 0, 7}, {"c", 2, 7}, {"d", 1, 8}, {"e", 2, 7}});
    EXPECT_EQ(lua("lf:remove_gameobject_from_layer(0, 7)"), "");
    EXPECT_EQ(events("destroy"), (Names{"a"}));
    EXPECT_EQ(lua("lf:remove_gameobject_from_layer(0, 7)"), "");
    EXPECT_EQ(events("destroy"), (Names{"a", "b"}));
    EXPECT_EQ(lua("lf:remove_gameobject_from_layer(0, 7)"), "");  // none left there
    EXPECT_EQ(lua("lf:remove_gameobject_from_layer(9, 7)"), "");
    // One object per layer: c from layer 2, nothing from layers 0 and 1.
    EXPECT_EQ(lua("lf:remove_gameobject(7)"), "");
    EXPECT_EQ(events("destroy"), (Names{"a", "b", "c"}));
    EXPECT_EQ(level().layers[2]->size(), 1u);
    EXPECT_EQ(level().layers[1]->size(), 1u);
}

TEST_F(LevelTest, ForgettingANameLeavesTheObjectAlive) {
    probe("a");
    start("LuaFunctions():gameobject_remove_from_temp_list('a')");
    EXPECT_EQ(TempLists::instance().game_objects.find("a"), nullptr);
    EXPECT_TRUE(events("destroy").empty());
}

TEST_F(LevelTest, UpdateWalksLayersAndObjectsInOrderAndSkipsFrozenLayers) {
    start_level(2, {{"c", 1, 3}, {"a", 0, 1}, {"b", 0, 2}, {"d", 1, 4}});
    tick();
    EXPECT_EQ(events("update"), (Names{"a", "b", "c", "d"}));
    EXPECT_EQ(events("draw"), (Names{"a", "b", "c", "d"}));
    log.clear();
    // A frozen layer is still drawn; a hidden layer is still updated.
    EXPECT_EQ(lua("lf:set_layer_freeze(0, true)\nlf:set_layer_visibility(1, false)"), "");
    tick();
    EXPECT_EQ(events("update"), (Names{"c", "d"}));
    EXPECT_EQ(events("draw"), (Names{"a", "b"}));
}

TEST_F(LevelTest, AnObjectFinishingItsUpdateIsDestroyedBeforeItIsDrawn) {
    start_level(1, {{"a", 0, 1}, {"b", 0, 2}});
    probe_at(1)->finished = true;
    tick();
    EXPECT_EQ(log, (Names{"update a", "destroy a", "update b", "draw b"}));
    EXPECT_EQ(level().layers[0]->size(), 1u);
}

TEST_F(LevelTest, ParallaxShiftsTheCameraPerLayerAndRestoresIt) {
    start_layers({"0, 0, 0", "0.5, 1, 0"}, {{"a", 0, 1}, {"b", 1, 2}});
    ProbeObject *a = probe_at(1), *b = probe_at(2);
    Camera& camera = *Game::instance().renderer->camera();
    camera.position = {500, 200};
    camera.notify_moved();
    tick();
    EXPECT_EQ(a->camera_at_draw, (Vector2{0, 0}));
    EXPECT_EQ(b->camera_at_draw, (Vector2{250, 200}));
    EXPECT_EQ(camera.position, (Vector2{500, 200}));
}

TEST_F(LevelTest, TintIsTheLevelColourTimesTheLayerColourUnclamped) {
    start_level(1, {{"a", 0, 1}}, "lf:layer_color(0, 2, 2, 0.5, 1)");
    ProbeObject* a = probe_at(1);
    level().level_colour = {0.5f, 2.0f, 1.0f, 0.25f};
    tick();
    EXPECT_EQ(a->last_tint, (Color{1.0f, 4.0f, 0.5f, 0.25f}));
}

TEST_F(LevelTest, EachLayerSetsItsBlendStateBeforeDrawing) {
    std::vector<GLint> dst;
    struct BlendProbe : ProbeObject {
        using ProbeObject::ProbeObject;
        std::vector<GLint>* out = nullptr;
        void draw(Renderer&, const Color&) override {
            GLint v = 0;
            glGetIntegerv(GL_BLEND_DST, &v);
            out->push_back(v);
        }
    };
    for (const char* n : {"a", "b"}) {
        auto p = std::make_unique<BlendProbe>(n, log);
        p->out = &dst;
        TempLists::instance().game_objects.put(n, std::move(p));
    }
    start_layers({"1, 1, 1", "1, 1, 0"}, {{"a", 0, 1}, {"b", 1, 2}});
    tick();
    EXPECT_EQ(dst, (std::vector<GLint>{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
}

TEST_F(LevelTest, DestroyingALevelDestroysItsObjectsInOrderButNotHeldOnes) {
    start_level(2, {{"b", 1, 2}, {"a", 0, 1}, {"c", 1, 3}});
    ProbeObject held("player", log);
    level().layers[0]->hold_object(&held);
    held.id = 1;
    // A held object never answers an id search.
    EXPECT_EQ(level().find_by_id(1), level().layers[0]->object_at(0));
    EXPECT_EQ(lua("lf:remove_gameobject(1)"), "");
    EXPECT_EQ(events("destroy"), (Names{"a"}));
    EXPECT_EQ(level().find_by_id(1), nullptr);

    EXPECT_EQ(lua("lf:create_level(0, 0, 0, 0)\nn = lf:get_num_layers()"), "");
    EXPECT_EQ(events("destroy"), (Names{"a", "b", "c"}));
    EXPECT_EQ(lua_number("n"), 0);
}

TEST_F(LevelTest, AHeldObjectDestroyedElsewhereLeavesItsLayer) {
    start_level(1, {});
    auto held = std::make_unique<ProbeObject>("player", log);
    level().layers[0]->hold_object(held.get());
    tick();
    held.reset();
    tick();
    EXPECT_EQ(events("update"), (Names{"player"}));
}

// Scripts run from inside a layer's update may remove objects or replace the level.
TEST_F(LevelTest, AnObjectRemovingItselfFromItsUpdateIsDestroyedAfterTheWalk) {
    write_file("remove.lua", "LuaFunctions():remove_gameobject(parameter)");
    start_level(1, {{"a", 0, 1}, {"b", 0, 2}, {"c", 0, 3}});
    probe_at(2)->on_update = [] {
        ScriptHost::run_script("remove.lua", 2);  // b itself
        ScriptHost::run_script("remove.lua", 3);  // c, not yet updated
        ScriptHost::run_script("remove.lua", 1);  // a, already updated
    };
    tick();
    // b's update finishes before it is destroyed; the removed ones are not drawn.
    EXPECT_EQ(log, (Names{"update a", "update b", "destroy b", "destroy c", "destroy a"}));
    EXPECT_EQ(level().layers[0]->size(), 0u);
}

TEST_F(LevelTest, AnObjectReplacingTheLevelFromItsUpdateEndsTheOldLevelsWalk) {
    probe("new");
    write_file("next.lua", R"(
        local lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:gameobject_upload('new', 0, 9)
    )");
    start_level(2, {{"a", 0, 1}, {"b", 0, 2}, {"c", 0, 3}, {"d", 1, 4}});
    Level* old_level = Game::instance().level.get();
    probe_at(2)->on_update = [] { ScriptHost::run_script("next.lua", 0); };
    tick();
    EXPECT_NE(Game::instance().level.get(), old_level);
    // The old level's walk stopped after b; its objects died after the walk; the new level is
    // drawn in the same frame.
    EXPECT_EQ(log, (Names{"update a", "update b", "destroy a", "destroy b", "destroy c",
                          "destroy d", "draw new"}));
    EXPECT_EQ(level().find_by_id(9)->id, 9);
}

TEST_F(LevelTest, AnObjectUploadedDuringTheWalkJoinsTheLayer) {
    probe("late");
    write_file("add.lua", "LuaFunctions():gameobject_upload('late', 0, 5)");
    start_level(1, {{"a", 0, 1}});
    probe_at(1)->on_update = [] { ScriptHost::run_script("add.lua", 0); };
    tick();
    EXPECT_EQ(events("draw"), (Names{"a", "late"}));
    EXPECT_EQ(level().layers[0]->size(), 2u);
}

TEST_F(LevelTest, TempListsSurviveLevelChanges) {
    probe("waiting");
    start(R"(
        lf = LuaFunctions()
        lf:create_level(0, 0, 0, 0)
        lf:create_level(0, 0, 0, 0)
        lf:create_layer(1, 1, 0)
        lf:gameobject_upload('waiting', 0, 1)
    )");
    EXPECT_NE(level().find_by_id(1), nullptr);
    EXPECT_TRUE(events("destroy").empty());
}

TEST_F(LevelTest, CameraBinderBelongsToTheCurrentLevel) {
    start(R"(
        lf = LuaFunctions()
        lf:init_camera_binder(-1, 1, -1, 1)
        lf:create_level(0, 0, 0, 0)
    )");
    EXPECT_EQ(level().camera_binder, nullptr);
    EXPECT_EQ(lua("lf:init_camera_binder(-1000, 1000, -500, 500)"), "");
    ASSERT_NE(level().camera_binder, nullptr);
    EXPECT_EQ(level().camera_binder->max_x, 1000);
    EXPECT_EQ(level().camera_binder->mode, 1);
    EXPECT_TRUE(level().camera_binder->x_free);
    EXPECT_EQ(lua("lf:init_camera_binder(0, 2, 0, 3)"), "");
    EXPECT_EQ(level().camera_binder->max_y, 3);
    EXPECT_EQ(lua("lf:create_level(0, 0, 0, 0)"), "");
    EXPECT_EQ(level().camera_binder, nullptr);
}
