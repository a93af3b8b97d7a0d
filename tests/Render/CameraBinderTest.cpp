// The camera binder: following a target inside an area, held at its edges.
#include <gtest/gtest.h>

#include <limits>

#include "Render/Camera.h"
#include "Render/CameraBinder.h"

namespace {

class CountingListener : public CameraListener {
  public:
    void camera_destroyed(Camera& camera) override { camera.detach(this); }
    void camera_moved(Camera&) override { ++moves; }
    void camera_projection_changed(Camera&) override {}
    int moves = 0;
};

class CameraBinderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cam.left = -640;
        cam.right = 640;
        cam.bottom = -360;
        cam.top = 360;
        cam.attach(&listener);
    }
    void TearDown() override { cam.detach(&listener); }

    // Follows and reports how many notifications that made.
    int follow(Vector2 target) {
        int before = listener.moves;
        binder.follow(cam, target);
        return listener.moves - before;
    }

    Camera cam;
    CountingListener listener;
    CameraBinder binder{-1000, 1000, -500, 500};
};

}  // namespace

TEST_F(CameraBinderTest, StartsFollowing) {
    EXPECT_EQ(binder.mode, CameraBinder::following);
    EXPECT_TRUE(binder.x_free);
}

TEST_F(CameraBinderTest, TargetWithTheViewInsideIsFollowedExactly) {
    EXPECT_EQ(follow({100, 0}), 1);
    EXPECT_EQ(cam.position, (Vector2{100, 0}));
    EXPECT_EQ(follow({-360, 140}), 1);
    EXPECT_EQ(cam.position, (Vector2{-360, 140}));
    EXPECT_EQ(binder.mode, CameraBinder::following);
}

TEST_F(CameraBinderTest, ViewCrossingOneEdgeHoldsThatAxisOnly) {
    follow({100, 0});
    // The view's right edge would be at 1040.
    EXPECT_EQ(follow({400, 30}), 1);
    EXPECT_EQ(binder.mode, CameraBinder::held);
    EXPECT_FALSE(binder.x_free);
    EXPECT_TRUE(binder.y_free);
    EXPECT_EQ(cam.position, (Vector2{100, 30}));
    // Still held: y keeps following, x stays.
    EXPECT_EQ(follow({420, -100}), 1);
    EXPECT_EQ(cam.position, (Vector2{100, -100}));
}

TEST_F(CameraBinderTest, HeldWithBothAxesBlockedStaysAndTellsNobody) {
    follow({100, 0});
    follow({400, 30});
    EXPECT_EQ(follow({400, 200}), 0);
    EXPECT_FALSE(binder.x_free);
    EXPECT_FALSE(binder.y_free);
    EXPECT_EQ(cam.position, (Vector2{100, 30}));
    // The first step out crossing both edges at once also stays put.
    CameraBinder fresh{-1000, 1000, -500, 500};
    cam.position = {0, 0};
    int before = listener.moves;
    fresh.follow(cam, {900, -900});
    EXPECT_EQ(listener.moves, before);
    EXPECT_EQ(fresh.mode, CameraBinder::held);
    EXPECT_EQ(cam.position, (Vector2{0, 0}));
}

TEST_F(CameraBinderTest, TargetBackInsideJumpsAtOnce) {
    follow({100, 0});
    follow({400, 30});
    follow({400, 200});
    EXPECT_EQ(follow({100, 0}), 1);
    EXPECT_EQ(binder.mode, CameraBinder::following);
    EXPECT_EQ(cam.position, (Vector2{100, 0}));
}

TEST_F(CameraBinderTest, TouchingAnEdgeFitsWhileFollowingButIsNotStrictlyInsideWhenHeld) {
    // t.x + right = 1000 = max_x exactly.
    EXPECT_EQ(follow({360, 0}), 1);
    EXPECT_EQ(binder.mode, CameraBinder::following);
    EXPECT_EQ(cam.position, (Vector2{360, 0}));

    follow({400, 10});  // held, x blocked
    ASSERT_EQ(binder.mode, CameraBinder::held);
    ASSERT_FALSE(binder.x_free);
    EXPECT_EQ(follow({360, 20}), 1);
    EXPECT_EQ(binder.mode, CameraBinder::held);
    EXPECT_TRUE(binder.x_free);
    EXPECT_TRUE(binder.y_free);
    // Only x follows while held with x free, even though y is free too.
    EXPECT_EQ(cam.position, (Vector2{360, 10}));
}

TEST_F(CameraBinderTest, EvaluateKeepsTheFlagsWhenTheModeStaysOrReturns) {
    // Following and fitting: 0, flags untouched.
    binder.x_free = false;
    binder.y_free = false;
    EXPECT_EQ(binder.evaluate(cam, {0, 0}), 0);
    EXPECT_FALSE(binder.x_free);
    EXPECT_FALSE(binder.y_free);
    // Following and leaving: 2, flags from the target.
    EXPECT_EQ(binder.evaluate(cam, {0, 200}), 2);
    EXPECT_TRUE(binder.x_free);
    EXPECT_FALSE(binder.y_free);
    // Held and strictly inside: 1, flags untouched.
    binder.mode = CameraBinder::held;
    EXPECT_EQ(binder.evaluate(cam, {0, 0}), 1);
    EXPECT_FALSE(binder.y_free);
    // Held and not inside: 0, flags from the target.
    EXPECT_EQ(binder.evaluate(cam, {-400, 0}), 0);
    EXPECT_FALSE(binder.x_free);
    EXPECT_TRUE(binder.y_free);
    // evaluate alone never moves the camera.
    EXPECT_EQ(cam.position, (Vector2{0, 0}));
    EXPECT_EQ(listener.moves, 0);
}

TEST_F(CameraBinderTest, UnknownModeDoesNothing) {
    binder.mode = 3;
    EXPECT_EQ(binder.evaluate(cam, {900, 900}), 0);
    EXPECT_TRUE(binder.x_free);
    EXPECT_EQ(follow({50, 50}), 0);
    EXPECT_EQ(cam.position, (Vector2{0, 0}));
    EXPECT_EQ(binder.mode, 3);
}

TEST_F(CameraBinderTest, AreaSmallerThanTheViewKeepsThatAxisBlocked) {
    CameraBinder narrow{-1000, 1000, -100, 100};
    cam.position = {0, 42};
    for (Vector2 target : {Vector2{0, 0}, Vector2{50, 70}, Vector2{-200, -30}, Vector2{0, 0}}) {
        int before = listener.moves;
        narrow.follow(cam, target);
        EXPECT_EQ(narrow.mode, CameraBinder::held);
        EXPECT_TRUE(narrow.x_free);
        EXPECT_FALSE(narrow.y_free);
        EXPECT_EQ(cam.position, (Vector2{target.x, 42}));
        EXPECT_EQ(listener.moves, before + 1);
    }
}

TEST_F(CameraBinderTest, BoundsAreTakenFromTheCamera) {
    // A smaller view fits where the standard one would not.
    cam.left = -100;
    cam.right = 100;
    cam.bottom = -50;
    cam.top = 50;
    EXPECT_EQ(follow({850, 400}), 1);
    EXPECT_EQ(binder.mode, CameraBinder::following);
    EXPECT_EQ(cam.position, (Vector2{850, 400}));
}

// Clamping: the camera goes as near the target as the area lets the whole view go.
TEST_F(CameraBinderTest, ClampingKeepsTheViewInsideTheAreaOnEachAxis) {
    binder.clamp = true;
    struct Case {
        Vector2 target;
        Vector2 camera;
    };
    // The view is 1280 x 720, the area -1000..1000 x -500..500: the centre may go from -360 to
    // 360 across and from -140 to 140 up.
    const Case cases[] = {
        {{100, 0}, {100, 0}},       {{400, 30}, {360, 30}},  {{-2000, 200}, {-360, 140}},
        {{360, -140}, {360, -140}}, {{0, -9000}, {0, -140}}, {{359.5f, 0}, {359.5f, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(follow(c.target), 1) << c.target.x << ", " << c.target.y;
        EXPECT_EQ(cam.position, c.camera) << c.target.x << ", " << c.target.y;
    }
    // An area narrower than the view keeps the view centred on it.
    CameraBinder narrow{500, 1100, -100, 100};
    narrow.clamp = true;
    narrow.follow(cam, {0, 0});
    EXPECT_EQ(cam.position, (Vector2{800, 0}));
}

// Bounds a script gave beyond a float's range arrive as infinities. An open side still clamps
// the other; an area with no finite centre leaves that axis to the target, never at infinity.
TEST_F(CameraBinderTest, ClampingWithInfiniteBoundsKeepsTheCameraFinite) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        CameraBinder binder;
        Vector2 target;
        Vector2 camera;
    };
    const Case cases[] = {
        // Open to the left and below: only the right and top edges hold the view.
        {{-inf, 1000, -inf, 500}, {-5000, 900}, {-5000, 140}},
        // Nothing fits between -411 and minus infinity: x follows, y clamps as usual.
        {{-411, -inf, -500, 500}, {70, 900}, {70, 140}},
        {{inf, -inf, -500, 500}, {-20, 0}, {-20, 0}},
        {{nan, 1000, -500, nan}, {30, 40}, {30, 40}},
    };
    for (const Case& c : cases) {
        CameraBinder binder = c.binder;
        binder.clamp = true;
        binder.follow(cam, c.target);
        EXPECT_EQ(cam.position, c.camera) << c.target.x << ", " << c.target.y;
    }
}
