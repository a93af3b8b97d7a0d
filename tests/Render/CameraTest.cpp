// The camera as an observable, and what scripts read of it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Render/Camera.h"
#include "Render/GLRendererFixture.h"

namespace {

// Writes what it is told into a shared log; detaches itself when its camera goes away, as the
// renderer does.
class LoggingListener : public CameraListener {
  public:
    LoggingListener(std::string name, std::vector<std::string>& log) : name_(name), log_(log) {}
    void camera_destroyed(Camera& camera) override {
        log_.push_back(name_ + " destroyed");
        camera.detach(this);
    }
    void camera_moved(Camera&) override { log_.push_back(name_ + " moved"); }
    void camera_projection_changed(Camera&) override { log_.push_back(name_ + " projection"); }

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(Camera, StartsAtTheOriginWithUnitBounds) {
    Camera cam;
    EXPECT_EQ(cam.position, (Vector2{0, 0}));
    EXPECT_EQ(cam.axis_x, (Vector2{1, 0}));
    EXPECT_EQ(cam.axis_y, (Vector2{0, 1}));
    EXPECT_EQ(cam.left, -1);
    EXPECT_EQ(cam.right, 1);
    EXPECT_EQ(cam.bottom, -1);
    EXPECT_EQ(cam.top, 1);
}

TEST(Camera, AttachTwiceAndDetachAbsentChangeNothing) {
    Log log;
    LoggingListener a("a", log), b("b", log), c("c", log);
    Camera cam;
    cam.attach(&a);
    cam.attach(&b);
    cam.attach(&a);
    cam.attach(nullptr);
    ASSERT_EQ(cam.listeners().size(), 2u);
    cam.detach(&c);
    cam.detach(nullptr);
    EXPECT_EQ(cam.listeners(), (std::vector<CameraListener*>{&a, &b}));
    cam.notify_moved();
    cam.notify_projection_changed();
    EXPECT_EQ(log, (Log{"a moved", "b moved", "a projection", "b projection"}));

    log.clear();
    cam.attach(&c);
    cam.detach(&a);
    EXPECT_EQ(cam.listeners(), (std::vector<CameraListener*>{&b, &c}));
    cam.notify_moved();
    EXPECT_EQ(log, (Log{"b moved", "c moved"}));
}

TEST(Camera, DestructionTellsEachListenerOnceInOrder) {
    Log log;
    LoggingListener a("a", log), b("b", log), c("c", log);
    {
        Camera cam;
        cam.attach(&a);
        cam.attach(&b);
        cam.attach(&c);
        cam.detach(&b);
        cam.attach(&b);
    }
    EXPECT_EQ(log, (Log{"a destroyed", "c destroyed", "b destroyed"}));
}

TEST_F(GLRendererFixture, RendererIsTheGameCamerasOnlyListenerAndFollowsIt) {
    start();
    EXPECT_EQ(gl().camera(), &camera());
    EXPECT_EQ(camera().listeners(), (std::vector<CameraListener*>{&gl()}));
    EXPECT_EQ(camera().left, -640);
    EXPECT_EQ(camera().right, 640);
    EXPECT_EQ(camera().bottom, -360);
    EXPECT_EQ(camera().top, 360);

    // Setting the same camera again attaches nothing twice.
    gl().set_camera(&camera());
    EXPECT_EQ(camera().listeners().size(), 1u);

    // The view matrix changes only when the camera says it moved.
    camera().position = {30, 40};
    EXPECT_EQ(gl().view_matrix()[12], 0);
    camera().notify_moved();
    EXPECT_EQ(gl().view_matrix()[12], -30);
    EXPECT_EQ(gl().view_matrix()[13], -40);

    // Another camera's news is not the renderer's business.
    Camera other;
    other.attach(&gl());
    other.position = {500, 500};
    other.notify_moved();
    EXPECT_EQ(gl().view_matrix()[12], -30);
    other.detach(&gl());

    // Moving to a new camera leaves the old one and takes the new view at once.
    Camera next;
    next.position = {-7, 9};
    gl().set_camera(&next);
    EXPECT_TRUE(camera().listeners().empty());
    EXPECT_EQ(next.listeners(), (std::vector<CameraListener*>{&gl()}));
    EXPECT_EQ(gl().view_matrix()[12], 7);
    EXPECT_EQ(gl().view_matrix()[13], -9);
    gl().set_camera(&camera());
    EXPECT_TRUE(next.listeners().empty());
    EXPECT_EQ(gl().view_matrix()[12], -30);
}

TEST_F(GLRendererFixture, ScriptsReadTheCameraPosition) {
    start("x0 = LuaFunctions():get_camera_x()\ny0 = LuaFunctions():get_camera_y()");
    EXPECT_EQ(lua_number("x0"), 0);
    EXPECT_EQ(lua_number("y0"), 0);
    move_camera(12.5f, -300.25f);
    EXPECT_EQ(lua("lf = LuaFunctions()\nx = lf:get_camera_x()\ny = lf:get_camera_y()"), "");
    EXPECT_EQ(lua_number("x"), 12.5);
    EXPECT_EQ(lua_number("y"), -300.25);
}
