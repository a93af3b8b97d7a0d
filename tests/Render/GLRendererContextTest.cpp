// Renderers and their contexts: a renderer that got no context, a second renderer beside the
// game's, and the projection loaded into the right context.
#include <cstring>

#include "Render/GLRendererFixture.h"
#include "Render/Texture.h"

namespace {

GLint get_int(GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

// The state a renderer without a context must not touch in someone else's context.
struct Snapshot {
    GLint blend_src, blend_dst, depth_func, front_face, cull_mode, binding, matrix_mode;
    GLboolean blend, depth_test, cull, scissor, depth_mask;
    GLint scissor_box[4], viewport[4], polygon[2];
    GLfloat clear_colour[4], clear_depth, colour[4], projection[16], model_view[16];

    static Snapshot take() {
        Snapshot s;
        std::memset(&s, 0, sizeof s);  // padding too, for the byte comparison
        s.blend_src = get_int(GL_BLEND_SRC);
        s.blend_dst = get_int(GL_BLEND_DST);
        s.depth_func = get_int(GL_DEPTH_FUNC);
        s.front_face = get_int(GL_FRONT_FACE);
        s.cull_mode = get_int(GL_CULL_FACE_MODE);
        s.binding = get_int(GL_TEXTURE_BINDING_2D);
        s.matrix_mode = get_int(GL_MATRIX_MODE);
        s.blend = glIsEnabled(GL_BLEND);
        s.depth_test = glIsEnabled(GL_DEPTH_TEST);
        s.cull = glIsEnabled(GL_CULL_FACE);
        s.scissor = glIsEnabled(GL_SCISSOR_TEST);
        glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depth_mask);
        glGetIntegerv(GL_SCISSOR_BOX, s.scissor_box);
        glGetIntegerv(GL_VIEWPORT, s.viewport);
        glGetIntegerv(GL_POLYGON_MODE, s.polygon);
        glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clear_colour);
        glGetFloatv(GL_DEPTH_CLEAR_VALUE, &s.clear_depth);
        glGetFloatv(GL_CURRENT_COLOR, s.colour);
        glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
        glGetFloatv(GL_MODELVIEW_MATRIX, s.model_view);
        return s;
    }
    bool operator==(const Snapshot& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

}  // namespace

TEST_F(GLRendererFixture, RendererWithoutAWindowDoesNothingHarmful) {
    start();
    Image img;
    img.width = 1;
    img.height = 1;
    img.pixels = {255, 0, 0, 255};
    Texture texture(&img, 0, 0, 0);
    ASSERT_TRUE(gl().upload(&texture));
    frame([] {});
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    const Snapshot before = Snapshot::take();

    Window::set_main(nullptr);
    {
        GLRenderer orphan;
        EXPECT_FALSE(orphan.has_context());
        EXPECT_EQ(orphan.get_width(), 0);
        EXPECT_EQ(orphan.get_height(), 0);
        EXPECT_FALSE(orphan.is_current());
        orphan.make_current();
        EXPECT_TRUE(gl().is_current());

        Camera cam;
        cam.left = -10;
        cam.right = 10;
        cam.bottom = -10;
        cam.top = 10;
        orphan.set_camera(&cam);
        cam.notify_moved();
        cam.notify_projection_changed();
        EXPECT_EQ(orphan.camera(), &cam);

        ASSERT_TRUE(orphan.begin_frame());
        orphan.set_clear_color({1, 1, 1, 1});
        orphan.set_clear_depth(0.5f);
        orphan.clear_color_buffer();
        orphan.clear_depth_buffer();
        orphan.set_scissor(10, 10, 10, 10);
        orphan.set_viewport(1, 2, 3, 4);
        orphan.set_blend_state(BlendState::additive());
        orphan.set_cull_state({true, 1, 1});
        orphan.set_depth_state({true, true, 3});
        orphan.set_polygon_mode({0, 1});
        auto corners = box(-5, -5, 5, 5);
        auto tex = unit_tex_coords();
        const Vector2 points[3] = {{0, 0}, {1, 0}, {0, 1}};
        orphan.draw_quad(Transform{}, corners.data(), {1, 1, 1, 1}, nullptr, nullptr);
        orphan.draw_quad(Transform{}, corners.data(), {1, 1, 1, 1}, &texture, tex.data());
        orphan.draw_circle(Transform{}, {0, 0}, 5, {1, 1, 1, 1});
        orphan.draw_polygon(Transform{}, points, 3, {1, 1, 1, 1});
        orphan.draw_line({0, 0}, {1, 1}, {1, 1, 1, 1});
        EXPECT_FALSE(orphan.upload(&texture));
        EXPECT_EQ(texture.handles().size(), 1u);
        orphan.update_texture_image(texture, img);
        orphan.end_frame();
        orphan.present();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_TRUE(Snapshot::take() == before);
    }
    EXPECT_TRUE(gl().is_current());
    EXPECT_TRUE(Snapshot::take() == before);
    EXPECT_TRUE(glIsTexture(static_cast<GLuint>(texture.handle_for(&gl()))));
}

TEST_F(GLRendererFixture, GameWithoutAWindowRunsItsFrames) {
    Window::set_main(nullptr);
    Game::instance().init();
    ASSERT_TRUE(Game::instance().renderer);
    EXPECT_EQ(Game::instance().renderer->camera(), Game::instance().camera.get());
    Game::instance().tick(0.01f);
    Game::instance().tick(0.01f);
    camera().position = {3, 4};
    camera().notify_moved();
    EXPECT_EQ(lua("x = LuaFunctions():get_camera_x()"), "");
    EXPECT_EQ(lua_number("x"), 3);
    Game::instance().shutdown();
    EXPECT_FALSE(Game::instance().renderer);
    EXPECT_TRUE(camera().listeners().empty());
}

TEST_F(GLRendererFixture, SecondRendererStartsWithTheConstructionDefaultsInItsOwnContext) {
    start();
    {
        GLRenderer second;
        ASSERT_TRUE(second.has_context());
        EXPECT_TRUE(second.is_current());
        EXPECT_FALSE(gl().is_current());
        EXPECT_EQ(second.get_width(), 1280);
        EXPECT_EQ(second.get_height(), 720);
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
        EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_EQ(get_int(GL_FRONT_FACE), GL_CCW);
        EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_BACK);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_TRUE);
        EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LESS);
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
        GLfloat m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;

        // A texture uploaded to both renderers has one pair for each.
        Image img;
        img.width = 1;
        img.height = 1;
        img.pixels = {0, 0, 255, 255};
        Texture texture(&img, 0, 0, 0);
        ASSERT_TRUE(second.upload(&texture));
        gl().make_current();
        ASSERT_TRUE(gl().upload(&texture));
        ASSERT_EQ(texture.handles().size(), 2u);
        EXPECT_EQ(texture.handles()[0].renderer, &second);
        EXPECT_EQ(texture.handles()[1].renderer, &gl());
        gl().release(&texture);
        ASSERT_EQ(texture.handles().size(), 1u);
        EXPECT_EQ(texture.handles()[0].renderer, &second);
        ASSERT_TRUE(gl().upload(&texture));
        ASSERT_TRUE(gl().is_current());
        // The second renderer leaves with the game's context current again.
    }
    EXPECT_TRUE(gl().is_current());
    auto corners = box(-50, -50, 50, 50);
    frame([&] { gl().draw_quad(Transform{}, corners.data(), {1, 0, 0, 1}, nullptr, nullptr); });
    EXPECT_EQ(at(640, 360), red);
}

TEST_F(GLRendererFixture, ProjectionGoesIntoTheRenderersOwnContextAndTheCurrentOneStays) {
    start();
    GLRenderer second;
    gl().make_current();
    ASSERT_TRUE(gl().is_current());
    GLfloat game_projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, game_projection);

    Camera cam;
    cam.left = 0;
    cam.right = 100;
    cam.bottom = 0;
    cam.top = 50;
    second.set_camera(&cam);
    EXPECT_TRUE(gl().is_current());
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], game_projection[i]) << i;

    second.make_current();
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    const Matrix4 expected = GLRenderer::projection_of(cam);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], expected[i]) << i;
    EXPECT_FLOAT_EQ(m[0], 0.02f);
    EXPECT_FLOAT_EQ(m[12], -1.0f);
    EXPECT_FLOAT_EQ(m[13], -1.0f);
    gl().make_current();
}
