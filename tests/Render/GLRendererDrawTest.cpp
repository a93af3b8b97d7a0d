// Drawing through the game's renderer: where world points land in the window, the exact
// vertices OpenGL receives, and the frame the game draws and presents.
#include <cmath>
#include <numbers>

#include "Render/GLRendererFixture.h"
#include "Render/Texture.h"

namespace {

constexpr Color red_color{1, 0, 0, 1};
constexpr Color green_color{0, 1, 0, 1};

struct WindowSize {
    int32_t width, height;
};

class ViewPlacement : public GLRendererFixture, public ::testing::WithParamInterface<WindowSize> {};

}  // namespace

TEST_P(ViewPlacement, CameraPositionIsTheCentreAndTheViewCornerIsTheLowerLeft) {
    const auto [w, h] = GetParam();
    start("", w, h);
    ASSERT_EQ(gl().get_width(), w);
    ASSERT_EQ(gl().get_height(), h);
    move_camera(100, 50);

    frame([&] {
        auto centre = box(80, 30, 120, 70);
        auto corner = box(-540, -310, -500, -270);
        gl().draw_quad(Transform{}, centre.data(), red_color, nullptr, nullptr);
        gl().draw_quad(Transform{}, corner.data(), green_color, nullptr, nullptr);
    });

    // One pixel is 1280 / w world units across and 720 / h up.
    auto px = [&](float world_x) { return static_cast<int>((world_x + 540) * w / 1280.0f); };
    auto py = [&](float world_y) { return static_cast<int>((world_y + 310) * h / 720.0f); };
    EXPECT_EQ(at(w / 2, h / 2), red);
    EXPECT_EQ(at(px(100), py(50)), red);
    EXPECT_EQ(at(px(140), py(50)), black);
    EXPECT_EQ(at(px(100), py(90)), black);
    EXPECT_EQ(at(0, 0), green);
    EXPECT_EQ(at(px(-520), py(-290)), green);
    EXPECT_EQ(at(px(-480), py(-290)), black);
    EXPECT_EQ(at(px(-520), py(-250)), black);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ViewPlacement,
                         ::testing::Values(WindowSize{1280, 720}, WindowSize{800, 600},
                                           WindowSize{1024, 768}, WindowSize{1280, 800}));

TEST_F(GLRendererFixture, ProjectionIsTheOrthographicViewOfTheCameraBounds) {
    start();
    GLfloat loaded[16], expected[16];
    glGetFloatv(GL_PROJECTION_MATRIX, loaded);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-640, 640, -360, 360, -1, 1);
    glGetFloatv(GL_PROJECTION_MATRIX, expected);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(loaded[i], expected[i]) << i;

    // New bounds reach OpenGL only when the camera says so.
    camera().left = 0;
    camera().right = 100;
    camera().bottom = -50;
    camera().top = 150;
    glGetFloatv(GL_PROJECTION_MATRIX, loaded);
    EXPECT_FLOAT_EQ(loaded[0], expected[0]);
    camera().notify_projection_changed();
    glGetFloatv(GL_PROJECTION_MATRIX, loaded);
    EXPECT_FLOAT_EQ(loaded[0], 2.0f / 100);
    EXPECT_FLOAT_EQ(loaded[5], 2.0f / 200);
    EXPECT_FLOAT_EQ(loaded[10], -1);
    EXPECT_FLOAT_EQ(loaded[12], -1);
    EXPECT_FLOAT_EQ(loaded[13], -0.5f);
    EXPECT_FLOAT_EQ(loaded[15], 1);
}

TEST_F(GLRendererFixture, ModelAndViewMatricesHaveTheirExactElements) {
    Transform t;
    t.position = {3, -4};
    t.set_rotation(0.5f);
    t.scale = 2;
    Matrix4 m = GLRenderer::model_matrix(t);
    const float c = std::cos(0.5f), s = std::sin(0.5f);
    const float expected_model[16] = {2 * c, 2 * s, 0, 0, -2 * s, 2 * c, 0, 0,
                                      0,     0,     1, 0, 3,      -4,    0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], expected_model[i]) << i;

    // A rotated camera maps a world point p to R^T (p - c).
    Camera cam;
    cam.position = {10, 20};
    cam.axis_x = {0, 1};
    cam.axis_y = {-1, 0};
    Matrix4 v = GLRenderer::view_matrix_of(cam);
    const float expected_view[16] = {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, -20, 10, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(v[i], expected_view[i]) << i;
    // The point one unit along the camera's own x axis lies at (1, 0) in view space.
    const float px = 10, py = 21;
    EXPECT_FLOAT_EQ(v[0] * px + v[4] * py + v[12], 1);
    EXPECT_FLOAT_EQ(v[1] * px + v[5] * py + v[13], 0);
}

TEST_F(GLRendererFixture, QuadCornersGoThroughTheModelThenTheView) {
    start();
    move_camera(100, 50);
    gl().set_polygon_mode({0, 0});  // each vertex comes back as one point

    Transform t;
    t.position = {30, -20};
    t.set_rotation(std::numbers::pi_v<float> / 2);
    t.scale = 2;
    auto corners = box(-10, -5, 10, 5);
    auto prims = feedback([&] { gl().draw_quad(t, corners.data(), red_color, nullptr, nullptr); });

    // Rotated a quarter turn and doubled: (x, y) -> (-2y, 2x), then moved to (30, -20), then
    // seen from the camera at (100, 50) in the middle of the window.
    std::vector<Vector2> expected;
    for (Vector2 c : corners)
        expected.push_back({30 - 2 * c.y - 100 + 640, -20 + 2 * c.x - 50 + 360});
    EXPECT_TRUE(same_points(points_of(prims), expected, 1e-3f));
}

TEST_F(GLRendererFixture, CircleHasSixtyThreeVerticesWhateverItsRadius) {
    start();
    move_camera(-20, 10);
    gl().set_polygon_mode({0, 0});
    Transform t;
    t.position = {5, 7};
    t.scale = 1.5f;
    const Vector2 centre{4, -2};
    for (float radius : {0.5f, 30.0f, 200.0f}) {
        auto prims = feedback([&] { gl().draw_circle(t, centre, radius, green_color); });
        std::vector<Vector2> expected;
        for (float a = 0; expected.size() < 63; a += 0.1f)
            expected.push_back({5 + 1.5f * (centre.x + radius * std::cos(a)) + 20 + 640,
                                7 + 1.5f * (centre.y + radius * std::sin(a)) - 10 + 360});
        EXPECT_TRUE(same_points(points_of(prims), expected, 1e-2f)) << radius;
    }
}

TEST_F(GLRendererFixture, FilledCircleIsOneFanOverItsSixtyThreeVertices) {
    start();
    auto prims = feedback([&] { gl().draw_circle(Transform{}, {0, 0}, 100, green_color); });
    // OpenGL hands a filled polygon of n vertices on as n - 2 triangles.
    EXPECT_EQ(prims.size(), 61u);
    for (const Primitive& p : prims) {
        ASSERT_EQ(p.vertices.size(), 3u);
        for (Vector2 v : p.vertices)
            EXPECT_NEAR(std::hypot(v.x - 640, v.y - 360), 100, 1e-2);
    }
}

TEST_F(GLRendererFixture, PolygonGoesThroughItsPointsInOrder) {
    start();
    move_camera(10, 10);
    const Vector2 points[5] = {{0, 0}, {50, -10}, {80, 30}, {40, 70}, {-10, 40}};
    Transform t;
    t.position = {-100, 0};
    auto window = [](Vector2 p) { return Vector2{p.x - 100 - 10 + 640, p.y - 10 + 360}; };

    gl().set_polygon_mode({0, 0});
    auto prims = feedback([&] { gl().draw_polygon(t, points, 5, red_color); });
    std::vector<Vector2> expected;
    for (Vector2 p : points)
        expected.push_back(window(p));
    EXPECT_TRUE(same_points(points_of(prims), expected, 1e-3f));

    // As outlines, the edges join consecutive points and close the loop.
    gl().set_polygon_mode({1, 1});
    prims = feedback([&] { gl().draw_polygon(t, points, 5, red_color); });
    ASSERT_EQ(prims.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const Vector2 a = window(points[i]), b = window(points[(i + 1) % 5]);
        auto joins = [&](const Primitive& p) {
            return p.vertices.size() == 2 && ((same_points({p.vertices[0]}, {a}, 1e-3f) &&
                                               same_points({p.vertices[1]}, {b}, 1e-3f)) ||
                                              (same_points({p.vertices[0]}, {b}, 1e-3f) &&
                                               same_points({p.vertices[1]}, {a}, 1e-3f)));
        };
        EXPECT_EQ(std::count_if(prims.begin(), prims.end(), joins), 1) << i;
    }

    // Nothing to draw for no points at all.
    EXPECT_TRUE(feedback([&] { gl().draw_polygon(t, points, 0, red_color); }).empty());
    EXPECT_TRUE(feedback([&] { gl().draw_polygon(t, nullptr, 3, red_color); }).empty());
}

TEST_F(GLRendererFixture, LineIsInWorldUnitsWithoutAModelTransform) {
    start();
    move_camera(-200, 100);
    auto prims = feedback([&] { gl().draw_line({-300, 50}, {0, 200}, red_color); });
    ASSERT_EQ(prims.size(), 1u);
    EXPECT_TRUE(prims[0].token == GL_LINE_TOKEN || prims[0].token == GL_LINE_RESET_TOKEN);
    EXPECT_NEAR(prims[0].vertices[0].x, -300 + 200 + 640, 1e-3);
    EXPECT_NEAR(prims[0].vertices[0].y, 50 - 100 + 360, 1e-3);
    EXPECT_NEAR(prims[0].vertices[1].x, 0 + 200 + 640, 1e-3);
    EXPECT_NEAR(prims[0].vertices[1].y, 200 - 100 + 360, 1e-3);
}

TEST_F(GLRendererFixture, DrawingLeavesTheModelViewStackAsItWas) {
    start();
    GLint depth_before = 0, depth_after = 0;
    GLfloat before[16], after[16];
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_before);
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    auto corners = box(0, 0, 10, 10);
    const Vector2 points[3] = {{0, 0}, {1, 0}, {0, 1}};
    frame([&] {
        Transform t;
        t.position = {40, 40};
        gl().draw_quad(t, corners.data(), red_color, nullptr, nullptr);
        gl().draw_circle(t, {0, 0}, 5, red_color);
        gl().draw_polygon(t, points, 3, red_color);
        gl().draw_line({0, 0}, {5, 5}, red_color);
    });
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth_after);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(depth_after, depth_before);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], before[i]);
}

TEST_F(GLRendererFixture, ColourIsPassedAsTheVertexColour) {
    start();
    // Alpha blending is on: half-transparent red over the black clear colour.
    frame([&] {
        auto corners = box(-50, -50, 50, 50);
        gl().draw_quad(Transform{}, corners.data(), {1, 0, 0, 0.5f}, nullptr, nullptr);
    });
    Pixel p = at(640, 360);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.b, 0);
}

TEST_F(GLRendererFixture, AFrameOfTheGameClearsToTheClearColourAndPresents) {
    start();
    frame([&] {
        auto corners = box(-640, -360, 640, 360);
        gl().draw_quad(Transform{}, corners.data(), red_color, nullptr, nullptr);
    });
    ASSERT_EQ(at(640, 360), red);
    gl().set_clear_color({0, 0, 1, 1});
    tick();
    EXPECT_EQ(at(640, 360), blue);
    EXPECT_EQ(at(3, 3), blue);
    gl().set_clear_color({0, 1, 0, 1});
    tick();
    EXPECT_EQ(at(640, 360), green);
}

TEST_F(GLRendererFixture, NoCameraMeansNothingDrawnAndNoStateChanged) {
    start();
    Texture texture(nullptr, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&texture));
    gl().set_camera(nullptr);
    EXPECT_EQ(camera().listeners().size(), 0u);

    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
    const uint32_t cached = gl().bound_texture();
    auto corners = box(-640, -360, 640, 360);
    auto tex = unit_tex_coords();
    const Vector2 points[3] = {{-500, -300}, {500, -300}, {0, 300}};
    std::vector<Primitive> prims;
    frame([&] {
        prims = feedback([&] {
            gl().draw_quad(Transform{}, corners.data(), red_color, nullptr, nullptr);
            gl().draw_quad(Transform{}, corners.data(), red_color, &texture, tex.data());
            gl().draw_circle(Transform{}, {0, 0}, 300, red_color);
            gl().draw_polygon(Transform{}, points, 3, red_color);
            gl().draw_line({-600, 0}, {600, 0}, red_color);
        });
        gl().draw_quad(Transform{}, corners.data(), red_color, nullptr, nullptr);
        gl().draw_circle(Transform{}, {0, 0}, 300, red_color);
    });
    EXPECT_TRUE(prims.empty());
    EXPECT_EQ(at(640, 360), black);

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
    GLint binding = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
    EXPECT_EQ(binding, 0);
    EXPECT_EQ(gl().bound_texture(), cached);

    // Attached again, it draws.
    gl().set_camera(&camera());
    frame([&] { gl().draw_quad(Transform{}, corners.data(), red_color, nullptr, nullptr); });
    EXPECT_EQ(at(640, 360), red);
}

TEST_F(GLRendererFixture, RendererLeftWithoutACameraByItsDestructionDrawsNothing) {
    start();
    auto doomed = std::make_unique<Camera>();
    doomed->left = -640;
    doomed->right = 640;
    doomed->bottom = -360;
    doomed->top = 360;
    gl().set_camera(doomed.get());
    EXPECT_EQ(camera().listeners().size(), 0u);
    EXPECT_EQ(gl().camera(), doomed.get());
    doomed.reset();
    EXPECT_EQ(gl().camera(), nullptr);

    auto corners = box(-640, -360, 640, 360);
    frame([&] { gl().draw_quad(Transform{}, corners.data(), red_color, nullptr, nullptr); });
    EXPECT_EQ(at(640, 360), black);
    // The game keeps running its frames.
    tick(2);
}
