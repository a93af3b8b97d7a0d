// Game controllers as keys, on SDL's real controller code: pads are SDL virtual joysticks inside
// the test process, driven by SDL's own button and axis numbers, and reach the engine as SDL's
// controller events through the event pump.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/EventPump.h"
#include "Platform/Gamepads.h"
#include "Platform/Keyboard.h"
#include "Platform/VirtualKeys.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

namespace {

// A pad plugged in through SDL's virtual joystick API. With the game-controller type SDL gives it
// the standard layout: button n is SDL_GameControllerButton n, axis n SDL_GameControllerAxis n.
class TestPad {
  public:
    TestPad() {
        // Windows of tests running side by side share one X server and only one has the focus;
        // SDL drops pad presses of an unfocused window unless told otherwise.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        const int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        joystick_ = index < 0 ? nullptr : SDL_JoystickOpen(index);
        // A trigger rests at the low end of its joystick axis.
        axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }
    // A pad made from a description (SDL_JoystickAttachVirtualEx), such as an unusual one.
    explicit TestPad(const SDL_VirtualJoystickDesc& desc) {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        joystick_ = index < 0 ? nullptr : SDL_JoystickOpen(index);
    }
    ~TestPad() {
        unplug();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    bool plugged() const { return joystick_ != nullptr; }
    void button(int b, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, b, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void axis(int a, int16_t value) { SDL_JoystickSetVirtualAxis(joystick_, a, value); }
    std::string guid() const {
        char text[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick_), text, sizeof text);
        return text;
    }
    void unplug() {
        if (!joystick_)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
};

class GamepadTest : public EngineTest {
  protected:
    // Takes the waiting events, as the frame loop does between frames.
    static void pump() { ASSERT_FALSE(EventPump::pump()); }
    static Keyboard& keys() { return Keyboard::current(); }
    // Every key that is down.
    static std::vector<int32_t> down_keys() {
        std::vector<int32_t> down;
        for (int32_t vk = 0; vk < VirtualKeys::count; ++vk)
            if (keys().is_down(vk))
                down.push_back(vk);
        return down;
    }
    // The game's start and its first frame, after which the pads are up.
    void start_with_pads(const std::string& init_script) {
        start(init_script);
        tick();
        ASSERT_TRUE(Gamepads::instance().started());
    }
    int32_t pad_count() {
        EXPECT_EQ(lua("count = LuaFunctions():pad_count()"), "");
        return static_cast<int32_t>(lua_number("count"));
    }
};

using Keys = std::vector<int32_t>;

}  // namespace

// The pads come up after the first frame, not before it; a pad plugged in before the start is
// found then, holding what it holds. A start-up script that asks for the pads brings them up.
TEST_F(GamepadTest, PadsComeUpAfterTheFirstFrameOrWhenTheStartUpScriptAsks) {
    TestPad pad;
    ASSERT_TRUE(pad.plugged());
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    start("-- no script");
    EXPECT_FALSE(Gamepads::instance().started());
    EXPECT_EQ(Gamepads::instance().count(), 0);
    tick();
    EXPECT_TRUE(Gamepads::instance().started());
    EXPECT_EQ(Gamepads::instance().count(), 1);
    pump();
    EXPECT_EQ(down_keys(), Keys{vk::left});
    tick();
    EXPECT_EQ(Gamepads::instance().count(), 1) << "started once";

    Game::instance().shutdown();
    EXPECT_FALSE(Gamepads::instance().started());
    write_file(Game::init_script, "pads = LuaFunctions():pad_count()");
    ASSERT_TRUE(Game::instance().init());
    EXPECT_TRUE(Gamepads::instance().started());
    EXPECT_EQ(lua_number("pads"), 1);
}

TEST_F(GamepadTest, EachButtonOfTheDefaultMapHoldsItsKeyAndGoesDownOncePerPress) {
    start_with_pads("-- no script");
    TestPad pad;
    ASSERT_TRUE(pad.plugged());
    pump();
    ASSERT_EQ(Gamepads::instance().count(), 1);
    struct Case {
        SDL_GameControllerButton button;
        int32_t vk;  // 0: presses no key
    };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_A, vk::space},
        {SDL_CONTROLLER_BUTTON_B, vk::enter},
        {SDL_CONTROLLER_BUTTON_X, vk::shift},
        {SDL_CONTROLLER_BUTTON_Y, vk::control},
        {SDL_CONTROLLER_BUTTON_START, vk::enter},
        {SDL_CONTROLLER_BUTTON_BACK, vk::escape},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, vk::up},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, vk::down},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, vk::left},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, vk::right},
        {SDL_CONTROLLER_BUTTON_GUIDE, 0},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0},
        {SDL_CONTROLLER_BUTTON_PADDLE1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(c.button));
        pad.button(c.button, true);
        pump();
        EXPECT_EQ(down_keys(), c.vk ? Keys{c.vk} : Keys{});
        if (c.vk) {
            EXPECT_TRUE(keys().went_down(c.vk));
            EXPECT_FALSE(keys().went_down(c.vk)) << "one press, one report";
        }
        pad.button(c.button, false);
        pump();
        EXPECT_EQ(down_keys(), Keys{});
        EXPECT_FALSE(c.vk && keys().went_down(c.vk));
    }
    // A press and release between two looks is still a press.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pump();
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    pump();
    EXPECT_FALSE(keys().is_down(vk::space));
    EXPECT_TRUE(keys().went_down(vk::space));
}

TEST_F(GamepadTest, TheLeftStickIsTheArrowsWithADeadZoneAndHysteresis) {
    start_with_pads("-- no script");
    TestPad pad;
    pump();
    struct Step {
        SDL_GameControllerAxis axis;
        int16_t value;
        Keys down;
        int32_t went_down;  // a key that must report a press now, or 0
    };
    const Step steps[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, 3000, {}, 0},   // resting slack
        {SDL_CONTROLLER_AXIS_LEFTX, 15000, {}, 0},  // not yet half way
        {SDL_CONTROLLER_AXIS_LEFTX, 17000, {vk::right}, vk::right},
        {SDL_CONTROLLER_AXIS_LEFTX, 32767, {vk::right}, 0},
        {SDL_CONTROLLER_AXIS_LEFTX, 11000, {vk::right}, 0},  // back below half: still held
        {SDL_CONTROLLER_AXIS_LEFTX, 16000, {vk::right}, 0},  // wobbling near the threshold
        {SDL_CONTROLLER_AXIS_LEFTX, 7000, {}, 0},            // inside the dead zone: let go
        {SDL_CONTROLLER_AXIS_LEFTX, 12000, {}, 0},           // not pressed again below half
        {SDL_CONTROLLER_AXIS_LEFTX, -20000, {vk::left}, vk::left},
        {SDL_CONTROLLER_AXIS_LEFTX, -9000, {vk::left}, 0},
        {SDL_CONTROLLER_AXIS_LEFTY, -30000, {vk::left, vk::up}, vk::up},  // diagonal, y is down
        {SDL_CONTROLLER_AXIS_LEFTX, 0, {vk::up}, 0},
        {SDL_CONTROLLER_AXIS_LEFTY, 30000, {vk::down}, vk::down},
        {SDL_CONTROLLER_AXIS_LEFTY, 0, {}, 0},
        // The right stick and the triggers press nothing by default.
        {SDL_CONTROLLER_AXIS_RIGHTX, 32767, {}, 0},
        {SDL_CONTROLLER_AXIS_RIGHTY, -32768, {}, 0},
        {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, {}, 0},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE("step " + std::to_string(n++));
        pad.axis(s.axis, s.value);
        pump();
        EXPECT_EQ(down_keys(), s.down);
        for (int32_t vk : {vk::left, vk::right, vk::up, vk::down})
            EXPECT_EQ(keys().went_down(vk), vk == s.went_down) << vk;
    }
}

TEST_F(GamepadTest, KeyboardAndPadHoldAKeyTogetherAndEachPressCountsOnce) {
    start_with_pads("-- no script");
    TestPad pad;
    pump();
    keyboard.press(vk::right);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pump();
    EXPECT_TRUE(keys().is_down(vk::right));
    // Both went down since the last look: one report.
    EXPECT_TRUE(keys().went_down(vk::right));
    EXPECT_FALSE(keys().went_down(vk::right));
    keyboard.release(vk::right);
    EXPECT_TRUE(keys().is_down(vk::right)) << "the pad still holds it";
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    pump();
    EXPECT_FALSE(keys().is_down(vk::right));

    // A press of the key while the pad holds it, and a press on the pad while the key holds
    // it, each count.
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pump();
    EXPECT_TRUE(keys().went_down(vk::right));
    keyboard.press(vk::right);
    EXPECT_TRUE(keys().went_down(vk::right));
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    pump();
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pump();
    EXPECT_TRUE(keys().went_down(vk::right));
    EXPECT_FALSE(keys().went_down(vk::right));
}

TEST_F(GamepadTest, PadsComeAndGoAndAPadUnpluggedLetsGoOfEverythingItHeld) {
    // A pad plugged in before the game starts is found at start.
    TestPad first;
    ASSERT_TRUE(first.plugged());
    start_with_pads("-- no script");
    EXPECT_EQ(pad_count(), 1);
    {
        TestPad second;
        pump();
        EXPECT_EQ(pad_count(), 2);
        // Both drive the same keys.
        first.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
        second.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
        second.button(SDL_CONTROLLER_BUTTON_A, true);
        pump();
        EXPECT_EQ(down_keys(), (Keys{vk::space, vk::right}));
        // The second goes while it holds right and the south button: right stays held by the
        // first pad's stick, space is let go.
        second.unplug();
        pump();
        EXPECT_EQ(pad_count(), 1);
        EXPECT_EQ(down_keys(), Keys{vk::right});
    }
    // The last pad goes while it holds a stick direction and three buttons.
    first.axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    first.button(SDL_CONTROLLER_BUTTON_B, true);
    first.button(SDL_CONTROLLER_BUTTON_X, true);
    first.button(SDL_CONTROLLER_BUTTON_BACK, true);
    pump();
    EXPECT_EQ(down_keys(), (Keys{vk::enter, vk::shift, vk::escape, vk::up, vk::right}));
    first.unplug();
    pump();
    EXPECT_EQ(pad_count(), 0);
    EXPECT_EQ(down_keys(), Keys{});

    // A pad plugged in again works as the first did.
    TestPad again;
    pump();
    EXPECT_EQ(pad_count(), 1);
    again.button(SDL_CONTROLLER_BUTTON_START, true);
    pump();
    EXPECT_EQ(down_keys(), Keys{vk::enter});
}

TEST_F(GamepadTest, ScriptsMapInputsToKeysAndClearThem) {
    start_with_pads(R"(
        local lf = LuaFunctions()
        lf:pad_map("south", 38)            -- jumps with the up arrow
        lf:pad_map("Left_Stick_Right", 0)  -- any case; 0: no key
        lf:pad_map("left_trigger", 65)     -- 'A'
        lf:pad_map("right_stick_down", 40)
        lf:pad_map("north", 256)           -- not a key: ignored
        lf:pad_map("north", -1)
        lf:pad_map("nothing", 13)          -- not an input: ignored
    )");
    TestPad pad;
    pump();
    struct Case {
        bool button;
        int id;
        int16_t pushed, rest;
        Keys down;
    };
    const Case cases[] = {
        {true, SDL_CONTROLLER_BUTTON_A, 1, 0, {vk::up}},
        {true, SDL_CONTROLLER_BUTTON_Y, 1, 0, {vk::control}},
        {true, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1, 0, {vk::right}},
        {false, SDL_CONTROLLER_AXIS_LEFTX, 32767, 0, {}},
        {false, SDL_CONTROLLER_AXIS_LEFTX, -32768, 0, {vk::left}},
        {false, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, -32768, {'A'}},
        {false, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0, -32768, {}},  // half pulled: not yet
        {false, SDL_CONTROLLER_AXIS_RIGHTY, 32767, 0, {vk::down}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + (c.button ? " button" : " axis"));
        c.button ? pad.button(c.id, true) : pad.axis(c.id, c.pushed);
        pump();
        EXPECT_EQ(down_keys(), c.down);
        c.button ? pad.button(c.id, false) : pad.axis(c.id, c.rest);
        pump();
        EXPECT_EQ(down_keys(), Keys{});
    }

    // A key held through an input follows the input's new map at once.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pump();
    ASSERT_EQ(lua("LuaFunctions():pad_map('south', 32)"), "");
    EXPECT_EQ(down_keys(), Keys{vk::space});
    ASSERT_EQ(lua("LuaFunctions():pad_map('south', 0)"), "");
    EXPECT_EQ(down_keys(), Keys{});
}

TEST_F(GamepadTest, TheControllerDatabaseInTheGameFolderMakesAnUnusualPadAPad) {
    // A stick SDL knows no layout for: two axes and four buttons.
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = 2;
    desc.nbuttons = 4;
    desc.vendor_id = 0x1209;
    desc.product_id = 0x7e57;
    desc.name = "Velden Test Arcade Stick";
    TestPad unusual(desc);
    ASSERT_TRUE(unusual.plugged());
    TestPad other(desc);  // the same make
    SDL_VirtualJoystickDesc strange = desc;
    strange.product_id = 0x7e58;  // a make the database does not name
    strange.name = "Velden Test Strange Stick";
    TestPad unknown(strange);
    ASSERT_NE(unusual.guid(), unknown.guid());

    // Its buttons 2 and 3 are the south and east buttons; the axes the left stick.
    write_file("gamecontrollerdb.txt",
               "# Game controller mappings for unusual pads\n" + unusual.guid() +
                   ",Velden Test Arcade Stick,a:b2,b:b3,x:b0,y:b1,leftx:a0,lefty:a1,"
                   "platform:Linux,\n");
    start_with_pads("-- no script");
    pump();
    EXPECT_EQ(pad_count(), 2);

    unusual.button(2, true);
    unusual.axis(0, 30000);
    pump();
    EXPECT_EQ(down_keys(), (Keys{vk::space, vk::right}));
    other.button(3, true);
    unknown.button(2, true);
    unknown.axis(0, -30000);
    pump();
    EXPECT_EQ(down_keys(), (Keys{vk::enter, vk::space, vk::right}));
}
