#include <lua.hpp>

#include "Script/ClassBinding.h"
#include "Script/ScriptHost.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

class BindingTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        start();
        ASSERT_EQ(lua("lf = LuaFunctions()"), "");
    }
    // The error a chunk raises, or "" when it runs.
    std::string error_of(const std::string& code) { return lua(code); }
};

TEST_F(BindingTest, ErrorTextsAreTheInterpretersAndTheBindings) {
    struct Case {
        const char* code;
        const char* error;
    };
    const Case cases[] = {
        // Argument 1 is not a userdata: the interpreter's type error with the class name.
        {"lf.set_game_state(5, 1)",
         "[string \"lf.set_game_state(5, 1)\"]:1: bad argument #1 to 'set_game_state' "
         "(LuaFunctions expected, got number)"},
        {"lf:set_game_state()",
         "[string \"lf:set_game_state()\"]:1: bad argument #1 to 'set_game_state' "
         "(number expected, got no value)"},
        {"lf:set_game_state('x')",
         "[string \"lf:set_game_state('x')\"]:1: bad argument #1 to 'set_game_state' "
         "(number expected, got string)"},
        // Booleans are strict: numbers and nil are argument errors.
        {"lf:draw_triggers(1)",
         "[string \"lf:draw_triggers(1)\"]:1: bad argument #1 to 'draw_triggers' "
         "(boolean expected, got number)"},
        {"lf:draw_triggers(nil)",
         "[string \"lf:draw_triggers(nil)\"]:1: bad argument #1 to 'draw_triggers' "
         "(boolean expected, got nil)"},
        {"lf.foo = 1", "[string \"lf.foo = 1\"]:1: attempt to set foo, which isn't a property"},
        {"LuaFunctions.bar = 2",
         "[string \"LuaFunctions.bar = 2\"]:1: attempt to set bar, which isn't a property"},
        {"LuaFunctions.set_game_state(lf, 1)",
         "[string \"LuaFunctions.set_game_state(lf, 1)\"]:1: attempt to call field "
         "'set_game_state' (a nil value)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(error_of(c.code), c.error) << c.code;
}

TEST_F(BindingTest, UserdataOfAnotherClassIsRejectedWithItsType) {
    EXPECT_EQ(error_of("local p = newproxy(true)\n"
                       "getmetatable(p).__type = 'Spaceship'\n"
                       "lf.get_game_state(p)"),
              "[string \"local p = newproxy(true)...\"]:3: bad argument #1 to 'get_game_state' "
              "(LuaFunctions expected, got Spaceship)");
    // A userdata without "__type" is named by its Lua type.
    EXPECT_EQ(error_of("lf.get_game_state(io.stdout)"),
              "[string \"lf.get_game_state(io.stdout)\"]:1: bad argument #1 to "
              "'get_game_state' (LuaFunctions expected, got userdata)");
    // The collector checks strictly too, and shows the expected name without "const ".
    EXPECT_EQ(error_of("getmetatable(lf).__const.__gc(io.stdout)"),
              "[string \"getmetatable(lf).__const.__gc(io.stdout)\"]:1: bad argument #1 to "
              "'__gc' (LuaFunctions expected, got userdata)");
}

TEST_F(BindingTest, AMethodCallOnATooSmallUserdataDoesNotReadPastIt) {
    // A zero-sized userdata given the class's metatable: accepted, but holds no address.
    EXPECT_EQ(error_of("local p = newproxy(false)\n"
                       "debug.setmetatable(p, getmetatable(lf))\n"
                       "p:set_game_state(2)"),
              "");
    EXPECT_EQ(Game::instance().state, GameState::frozen);
}

TEST_F(BindingTest, MetatablesHaveTheirKeys) {
    EXPECT_EQ(error_of(R"(
        local mt = getmetatable(lf)
        assert(mt == debug.getregistry().LuaFunctions)
        assert(type(mt.__index) == 'function' and type(mt.__newindex) == 'function')
        assert(type(mt.__gc) == 'function' and mt.__type == 'LuaFunctions')
        assert(next(mt.__propget) == nil and next(mt.__propset) == nil)
        assert(type(mt.set_game_state) == 'function')
        local c = mt.__const
        assert(c == debug.getregistry()['const LuaFunctions'])
        assert(c.__type == 'const LuaFunctions' and type(c.__gc) == 'function')
        assert(type(c.__index) == 'function' and type(c.__newindex) == 'function')
        assert(next(c.__propget) == nil and rawget(c, '__propset') == nil)
        assert(rawget(c, 'set_game_state') == nil)
        local class = LuaFunctions
        assert(getmetatable(class) == class)
        assert(type(rawget(class, '__call')) == 'function')
        assert(next(rawget(class, '__propget')) == nil and next(rawget(class, '__propset')) == nil)
    )"),
              "");
}

TEST_F(BindingTest, LookupGivesMethodsThroughInstancesAndNilOtherwise) {
    EXPECT_EQ(error_of(R"(
        assert(lf.set_game_state == getmetatable(lf).set_game_state)
        assert(lf.no_such_method == nil)
        assert(LuaFunctions.set_game_state == nil)
        assert(LuaFunctions.anything == nil)
        -- the dot form with the instance first is the colon call
        lf.set_game_state(lf, 2)
    )"),
              "");
    EXPECT_EQ(Game::instance().state, GameState::frozen);
}

TEST_F(BindingTest, ArgumentsBeyondTheListAreIgnoredAndNumbersConvertAsTheInterpreterDoes) {
    EXPECT_EQ(error_of("lf:set_game_state(2, 'extra', {})"), "");
    EXPECT_EQ(Game::instance().state, GameState::frozen);
    // 3.9 converts to 3 (truncation), the numeric string "1" to 1.
    EXPECT_EQ(error_of("lf:set_game_state(3.9)"), "");
    EXPECT_EQ(Game::instance().state, GameState::quit);
    EXPECT_EQ(error_of("lf:set_game_state('1')"), "");
    EXPECT_EQ(Game::instance().state, GameState::menu);
}

TEST_F(BindingTest, TwoInstancesActAlikeAndCollectingOneLeavesTheOther) {
    auto& refs = ClassBinding::references();
    EXPECT_EQ(refs.size(), 1u);  // lf
    ASSERT_EQ(error_of("a = LuaFunctions()\nb = LuaFunctions(1, 2, 3)"), "");
    EXPECT_EQ(refs.size(), 3u);
    for (auto& [object, count] : refs)
        EXPECT_EQ(count, 1);
    ASSERT_EQ(error_of("a:set_game_state(2)\nsa = b:get_game_state()"), "");
    EXPECT_EQ(lua_number("sa"), 2);
    ASSERT_EQ(error_of("a = nil\ncollectgarbage('collect')"), "");
    EXPECT_EQ(refs.size(), 2u);
    ASSERT_EQ(error_of("b:set_game_state(1)"), "");
    EXPECT_EQ(Game::instance().state, GameState::menu);
}

TEST_F(BindingTest, ClosingTheInterpreterCollectsEveryInstance) {
    ASSERT_EQ(error_of("x = LuaFunctions()\ny = LuaFunctions()"), "");
    EXPECT_EQ(ClassBinding::references().size(), 3u);
    ScriptHost::close();
    EXPECT_TRUE(ClassBinding::references().empty());
    EXPECT_EQ(ScriptHost::state(), nullptr);
    EXPECT_FALSE(ScriptHost::run_script(Game::init_script, 0));
}

TEST_F(BindingTest, AnInstanceGivenAnotherMetatableIsStillDeletedAtClose) {
    ASSERT_EQ(error_of("stray = LuaFunctions()\ndebug.setmetatable(stray, {})"), "");
    EXPECT_EQ(ClassBinding::references().size(), 2u);
    ScriptHost::close();
    EXPECT_TRUE(ClassBinding::references().empty());
}

TEST_F(BindingTest, AnInstanceCollectedByHandStillWorks) {
    ASSERT_EQ(error_of("local c = LuaFunctions()\n"
                       "getmetatable(c).__gc(c)\n"
                       "c:set_game_state(2)\n"
                       "getmetatable(c).__gc(c)"),
              "");
    EXPECT_EQ(Game::instance().state, GameState::frozen);
    EXPECT_EQ(ClassBinding::references().size(), 1u);
}

// Scripts can rebuild the binding's tables with plain assignments and the debug library; none of
// it may bring the engine down, and each case ends with a Lua error or runs.
TEST_F(BindingTest, HostileMetatablesEndInErrorsNotCrashes) {
    struct Case {
        const char* what;
        const char* code;
        const char* error;  // a part of the error, or "" when the chunk runs
    };
    const Case cases[] = {
        {"a parent loop, read", "mt.__parent = mt\nlocal _ = LuaFunctions().nothing",
         "'__parent' chain loops or is deeper than 256 tables"},
        {"a parent loop, write", "mt.__parent = mt\nlf.nothing = 1",
         "attempt to set nothing, which isn't a property"},
        {"a parent loop, class table",
         "rawset(LuaFunctions, '__parent', LuaFunctions)\nLuaFunctions.x = 1",
         "attempt to set x, which isn't a property"},
        {"a loop of two", "local a = {}\nmt.__parent = a\na.__parent = mt\nlocal _ = lf.nothing",
         "'__parent' chain loops"},
        {"a deep chain without a loop",
         "local m = mt\nfor i = 1, 5000 do local n = {}\nm.__parent = n\nm = n end\n"
         "local _ = lf.nothing",
         "deeper than 256 tables"},
        {"a deep chain, write",
         "local m = mt\nfor i = 1, 5000 do local n = {}\nm.__parent = n\nm = n end\nlf.x = 1",
         "attempt to set x, which isn't a property"},
        {"a short chain still finds a const value",
         "local p = {}\np.__const = {answer = 42}\nmt.__parent = p\n"
         "assert(lf.answer == 42)\nassert(lf.nothing == nil)",
         ""},
        {"a short chain still finds a setter",
         "local p = {__propset = {x = function(o, v) seen = v end}}\nmt.__parent = p\n"
         "lf.x = 7\nassert(seen == 7)",
         ""},
        {"self through a looping chain",
         "local p = newproxy(true)\nlocal m = getmetatable(p)\nm.__parent = m\n"
         "lf.get_game_state(p)",
         "(LuaFunctions expected, got userdata)"},
        {"self through a chain that reaches the class",
         "local p = newproxy(true)\nlocal m = getmetatable(p)\nm.__parent = {__parent = mt}\n"
         "lf.set_game_state(p, 2)",
         ""},
        {"self through a chain too deep to follow",
         "local p = newproxy(true)\nlocal m = getmetatable(p)\n"
         "for i = 1, 5000 do local n = {}\nm.__parent = n\nm = n end\nm.__parent = mt\n"
         "lf.get_game_state(p)",
         "(LuaFunctions expected, got userdata)"},
        {"a table as self", "lf.get_game_state({})", "(LuaFunctions expected, got table)"},
        {"a table with the class metatable as self",
         "local t = setmetatable({}, mt)\nlf.get_game_state(t)",
         "(LuaFunctions expected, got table)"},
        {"the class metatable on a file",
         "local f = io.tmpfile()\nlocal file_mt = getmetatable(f)\ndebug.setmetatable(f, mt)\n"
         "f:set_game_state(2)\nmt.__gc(f)\nmt.__gc(f)\n"
         "debug.setmetatable(f, file_mt)\nassert(f:write('still a file'))\nf:close()",
         ""},
        {"the class metatable on numbers",
         "debug.setmetatable(0, mt)\nlocal n = 5\nn:get_game_state()",
         "(LuaFunctions expected, got number)"},
        {"the collector by hand without a value", "mt.__gc()", "(LuaFunctions expected, got nil)"},
        {"the lookup by hand without values", "assert(mt.__index() == nil)", ""},
        {"a getter that is not a function", "mt.__propget.x = 5\nlocal _ = lf.x",
         "attempt to call a number value"},
        {"a getter that reads itself",
         "mt.__propget.x = function(o) return o.x end\nlocal _ = lf.x", "stack overflow"},
    };
    for (const Case& c : cases) {
        const std::string error = error_of(std::string("local mt = getmetatable(lf)\n") + c.code);
        if (*c.error == '\0')
            EXPECT_EQ(error, "") << c.what;
        else
            EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
        // Undo what the case built, and check the engine still answers.
        ASSERT_EQ(error_of("local mt = getmetatable(lf)\nmt.__parent = nil\nmt.__propget = {}\n"
                           "mt.__propset = {}\nrawset(LuaFunctions, '__parent', nil)\n"
                           "debug.setmetatable(0, nil)\nlf:set_game_state(1)"),
                  "")
            << c.what;
        ASSERT_EQ(Game::instance().state, GameState::menu) << c.what;
    }
    // Only the objects the binding made were counted and deleted.
    ASSERT_EQ(error_of("collectgarbage('collect')"), "");
    EXPECT_EQ(ClassBinding::references().size(), 1u);
}

class RunScriptTest : public EngineTest {};

TEST_F(RunScriptTest, StackIsLeftAsItWasAfterAScriptReturningValues) {
    start();
    write_file("three.lua", "return 1, 2, 3");
    write_file("broken.lua", "return +");
    write_file("fails.lua", "error('no')");
    lua_State* L = ScriptHost::state();
    lua_pushstring(L, "marker");
    int top = lua_gettop(L);
    EXPECT_TRUE(ScriptHost::run_script("three.lua", 0));
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_FALSE(ScriptHost::run_script("broken.lua", 0));
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_FALSE(ScriptHost::run_script("fails.lua", 0));
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_FALSE(ScriptHost::run_script("missing.lua", 0));
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_STREQ(lua_tostring(L, -1), "marker");
}

TEST_F(RunScriptTest, ParameterIsSetBeforeEachRun) {
    start();
    write_file("p.lua", "seen = parameter");
    EXPECT_TRUE(ScriptHost::run_script("p.lua", 42));
    EXPECT_EQ(lua_number("seen"), 42);
    EXPECT_TRUE(ScriptHost::run_script("p.lua", -7));
    EXPECT_EQ(lua_number("seen"), -7);
}

// A "__gc" that raises surfaces in the script that was running when the collector ran, never
// outside every protected call, where it would end the process.
TEST_F(RunScriptTest, ACollectorThatRaisesNeverEndsTheProcess) {
    start();
    write_file("churn.lua",
               "for i = 1, 300 do local x = LuaFunctions() end\n"
               "local t = {}\nfor i = 1, 300 do t[i] = {tostring(i)} end\n");
    ASSERT_EQ(lua("getmetatable(LuaFunctions()).__gc = function() error('gc fails') end"), "");
    for (int i = 0; i < 300; ++i) {
        ScriptHost::run_script("churn.lua", i);
        ScriptHost::run_script("missing" + std::to_string(i) + ".lua", i);
        lua("x = {}");
    }
    tick(3);
    // The engine still runs scripts: the collector's error ends a run now and then, not all.
    write_file("mark.lua", "marks = (marks or 0) + 1\n");
    for (int i = 0; i < 20; ++i)
        ScriptHost::run_script("mark.lua", i);
    EXPECT_GE(lua_number("marks"), 10);
}

TEST_F(RunScriptTest, ParameterIsSetEvenWhenTheGlobalsTableRaisesOnWrites) {
    start();
    write_file("p.lua", "rawset(_G, 'ran', true)");
    ASSERT_EQ(lua("setmetatable(_G, {__newindex = function() error('read only') end})"), "");
    // The write to "parameter" fails inside the globals' metamethod; the script still runs.
    EXPECT_TRUE(ScriptHost::run_script("p.lua", 5));
    EXPECT_EQ(lua_string("ran"), "true");
}

TEST_F(RunScriptTest, DoFileRunsNestedScriptsAndIgnoresTheirErrors) {
    write_file("nested.lua", "inner = parameter\nreturn 'a', 'b'");
    write_file("fails.lua", "partial = true\nerror('inner failure')\nafter = true");
    start(R"(
        parameter = 9
        local lf = LuaFunctions()
        lf:do_file('nested.lua')
        p1 = parameter
        lf:do_file('missing.lua')
        p2 = parameter
        lf:do_file('fails.lua')
        reached = true
        lf:do_file(12)  -- a number is a file name too
    )");
    EXPECT_EQ(lua_number("inner"), 0);
    EXPECT_EQ(lua_number("p1"), 0);
    EXPECT_EQ(lua_number("p2"), 0);
    EXPECT_EQ(lua_string("partial"), "true");
    EXPECT_EQ(lua_string("after"), "(nil)");
    EXPECT_EQ(lua_string("reached"), "true");
}
