// Render state through the game's renderer, read back from OpenGL.
#include "Render/GLRendererFixture.h"

namespace {

GLint get_int(GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

struct Box {
    GLint x, y, w, h;
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "(" << b.x << ", " << b.y << ", " << b.w << ", " << b.h << ")";
}

Box scissor_box() {
    GLint b[4];
    glGetIntegerv(GL_SCISSOR_BOX, b);
    return {b[0], b[1], b[2], b[3]};
}

struct BlendReading {
    bool enabled;
    GLint src, dst;
    bool operator==(const BlendReading&) const = default;
};

BlendReading blend_reading() {
    return {glIsEnabled(GL_BLEND) == GL_TRUE, get_int(GL_BLEND_SRC), get_int(GL_BLEND_DST)};
}

}  // namespace

TEST_F(GLRendererFixture, GameInstallsItsRenderStateOverTheConstructionDefaults) {
    start();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(get_int(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_FALSE);
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_ALWAYS);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(scissor_box(), (Box{0, 0, 1280, 720}));
    GLfloat clear[4], depth = -1;
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    for (float c : clear)
        EXPECT_EQ(c, 0.0f);
    EXPECT_EQ(depth, 1.0f);
    // The default viewport is the whole window.
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ((Box{vp[0], vp[1], vp[2], vp[3]}), (Box{0, 0, 1280, 720}));
    EXPECT_TRUE(gl().is_current());
    EXPECT_EQ(gl().reserved_query(), 0);
}

TEST_F(GLRendererFixture, ScissorBoxIsClippedToTheWindow) {
    start();
    struct Case {
        Box asked;
        Box set;
        bool enabled;
    };
    const Case cases[] = {
        {{0, 0, 1280, 720}, {0, 0, 1280, 720}, false},
        {{-10, 0, 1280, 720}, {0, 0, 1270, 720}, true},
        {{0, -20, 1280, 720}, {0, 0, 1280, 700}, true},
        {{10, 20, 30, 40}, {10, 20, 30, 40}, true},
        {{1000, 600, 500, 500}, {1000, 600, 280, 120}, true},
        {{-10, -10, 2000, 2000}, {0, 0, 1280, 720}, false},
        {{0, -5, 1280, 725}, {0, 0, 1280, 720}, false},
        // Wholly outside: an empty box, so nothing is drawn, instead of a refused one.
        {{1300, 0, 50, 50}, {1300, 0, 0, 50}, true},
        {{-100, 0, 50, 720}, {0, 0, 0, 720}, true},
        {{2147483000, 2147483000, 2147483000, 2147483000}, {2147483000, 2147483000, 0, 0}, true},
    };
    for (const Case& c : cases) {
        gl().set_scissor(c.asked.x, c.asked.y, c.asked.w, c.asked.h);
        EXPECT_EQ(scissor_box(), c.set) << c.asked;
        EXPECT_EQ(glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE, c.enabled) << c.asked;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << c.asked;
    }
}

TEST_F(GLRendererFixture, ScissorLimitsWhatAClearReaches) {
    start();
    auto clear_in = [&](Box box, Color colour) {
        gl().set_scissor(box.x, box.y, box.w, box.h);
        gl().set_clear_color(colour);
        gl().clear_color_buffer();
    };
    clear_in({0, 0, 1280, 720}, {0, 0, 0, 1});
    clear_in({0, 0, 640, 720}, {1, 0, 0, 1});
    gl().present();
    EXPECT_EQ(at(320, 360), red);
    EXPECT_EQ(at(960, 360), black);

    // Boxes wholly outside the window let nothing through.
    clear_in({0, 0, 1280, 720}, {0, 0, 0, 1});
    clear_in({1300, 0, 50, 50}, {0, 1, 0, 1});
    clear_in({-100, 0, 50, 720}, {0, 1, 0, 1});
    gl().present();
    EXPECT_EQ(at(5, 360), black);
    EXPECT_EQ(at(640, 360), black);
    EXPECT_EQ(at(1275, 5), black);
}

TEST_F(GLRendererFixture, ClearDepthIsClampedToZeroOne) {
    start();
    for (auto [asked, set] : {std::pair{-0.5f, 0.0f}, std::pair{3.0f, 1.0f},
                              std::pair{0.25f, 0.25f}, std::pair{1.0f, 1.0f}}) {
        gl().set_clear_depth(asked);
        GLfloat depth = -1;
        glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
        EXPECT_FLOAT_EQ(depth, set) << asked;
    }
}

TEST_F(GLRendererFixture, ClearColourIsSetAsGiven) {
    start();
    gl().set_clear_color({0.25f, 0.5f, 0.75f, 1.0f});
    GLfloat c[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    EXPECT_FLOAT_EQ(c[0], 0.25f);
    EXPECT_FLOAT_EQ(c[1], 0.5f);
    EXPECT_FLOAT_EQ(c[2], 0.75f);
    EXPECT_FLOAT_EQ(c[3], 1.0f);
}

TEST_F(GLRendererFixture, ViewportIsSetOnlyForANonNegativeSize) {
    start();
    gl().set_viewport(10, 20, 300, 400);
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ((Box{vp[0], vp[1], vp[2], vp[3]}), (Box{10, 20, 300, 400}));
    gl().set_viewport(0, 0, -1, 100);
    gl().set_viewport(0, 0, 100, -1);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ((Box{vp[0], vp[1], vp[2], vp[3]}), (Box{10, 20, 300, 400}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLRendererFixture, EveryAcceptedBlendFactorMapsToItsOpenGLFactor) {
    start();
    const std::pair<int, GLenum> sources[] = {{0, GL_ZERO},
                                              {1, GL_ONE},
                                              {4, GL_DST_COLOR},
                                              {5, GL_ONE_MINUS_DST_COLOR},
                                              {6, GL_SRC_ALPHA},
                                              {7, GL_ONE_MINUS_SRC_ALPHA},
                                              {8, GL_DST_ALPHA},
                                              {9, GL_ONE_MINUS_DST_ALPHA},
                                              {14, GL_SRC_ALPHA_SATURATE}};
    const std::pair<int, GLenum> destinations[] = {{0, GL_ZERO},      {1, GL_ONE},
                                                   {2, GL_SRC_COLOR}, {3, GL_ONE_MINUS_SRC_COLOR},
                                                   {6, GL_SRC_ALPHA}, {7, GL_ONE_MINUS_SRC_ALPHA},
                                                   {8, GL_DST_ALPHA}, {9, GL_ONE_MINUS_DST_ALPHA}};
    for (auto [src, src_gl] : sources)
        for (auto [dst, dst_gl] : destinations) {
            gl().set_blend_state({false, 0, 0, 1, 0, 1, 0, {}});
            BlendState state{true, 0, 0, src, dst, src, dst, {0.5f, 0.5f, 0.5f, 0.5f}};
            EXPECT_TRUE(gl().is_valid_blend_state(state));
            gl().set_blend_state(state);
            EXPECT_EQ(blend_reading(),
                      (BlendReading{true, static_cast<GLint>(src_gl), static_cast<GLint>(dst_gl)}))
                << src << " " << dst;
        }
}

TEST_F(GLRendererFixture, InvalidBlendStateLeavesBlendingExactlyAsItWas) {
    start();
    const BlendState invalid[] = {
        {true, 0, 0, 2, 7, 2, 7, {}},  // source colour is not a source factor
        {true, 0, 0, 5, 4, 5, 4, {}},  // destination colour is not a destination factor
        {true, 0, 0, 6, 7, 1, 7, {}},  // source alpha differs from source colour
        {true, 0, 0, 6, 7, 6, 1, {}},  // destination alpha differs
        {true, 1, 0, 6, 7, 6, 7, {}},  // selectors must be 0
        {true, 0, 2, 6, 7, 6, 7, {}},
        {true, 0, 0, 10, 7, 10, 7, {}},  // 10 to 13 are not accepted
        {true, 0, 0, 6, 13, 6, 13, {}},
        {true, 0, 0, 6, 14, 6, 14, {}},  // saturate is a source factor only
        {true, 0, 0, -1, 7, -1, 7, {}},
    };
    for (bool start_enabled : {true, false}) {
        gl().set_blend_state(start_enabled ? BlendState::additive()
                                           : BlendState{false, 0, 0, 1, 0, 1, 0, {}});
        const BlendReading before = blend_reading();
        for (const BlendState& s : invalid) {
            EXPECT_FALSE(gl().is_valid_blend_state(s));
            gl().set_blend_state(s);
            EXPECT_EQ(blend_reading(), before) << s.src_color << " " << s.dst_color;
        }
    }
}

TEST_F(GLRendererFixture, DisabledBlendStateDisablesBlendingWhateverItsFactors) {
    start();
    ASSERT_TRUE(glIsEnabled(GL_BLEND));
    BlendState odd{false, 5, 9, 2, 14, 3, 12, {}};
    EXPECT_TRUE(gl().is_valid_blend_state(odd));
    gl().set_blend_state(odd);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // The factors are left alone.
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(GLRendererFixture, DepthFunctionsFollowTheEngineNumbering) {
    start();
    const GLenum expected[8] = {GL_NEVER,   GL_LESS,     GL_LEQUAL, GL_EQUAL,
                                GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
    for (DepthFunc f = 0; f < 8; ++f) {
        const bool on = f % 2 == 0;
        gl().set_depth_state({on, !on, f});
        EXPECT_EQ(get_int(GL_DEPTH_FUNC), static_cast<GLint>(expected[f])) << f;
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, on);
        EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK) == GL_TRUE, !on);
    }
    gl().set_depth_state({true, true, 2});
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
    gl().set_depth_state({true, true, 3});
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_EQUAL);
    for (DepthFunc bad : {8u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(gl().is_valid_depth_state({false, false, bad}));
        gl().set_depth_state({false, false, bad});
        EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_EQUAL);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(get_int(GL_DEPTH_WRITEMASK), GL_TRUE);
    }
}

TEST_F(GLRendererFixture, CullStateSetsFaceAndMode) {
    start();
    gl().set_cull_state({true, 1, 1});
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(get_int(GL_FRONT_FACE), GL_CW);
    EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_FRONT);
    // Compared unsigned: negative numbers are out of range too.
    for (CullState bad : {CullState{false, 2, 0}, CullState{false, 0, 2}, CullState{false, -1, 0},
                          CullState{false, 0, -1}}) {
        EXPECT_FALSE(gl().is_valid_cull_state(bad));
        gl().set_cull_state(bad);
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        EXPECT_EQ(get_int(GL_FRONT_FACE), GL_CW);
        EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_FRONT);
    }
    gl().set_cull_state({false, 0, 0});
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(get_int(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(get_int(GL_CULL_FACE_MODE), GL_BACK);
}

TEST_F(GLRendererFixture, PolygonModeSetsBackThenFront) {
    start();
    GLint modes[2];  // front, back
    gl().set_polygon_mode({0, 1});
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_EQ(modes[1], GL_POINT);
    for (PolygonModeState bad : {PolygonModeState{3, 2}, PolygonModeState{2, 3},
                                 PolygonModeState{-1, 2}, PolygonModeState{2, -1}}) {
        EXPECT_FALSE(gl().is_valid_polygon_mode(bad));
        gl().set_polygon_mode(bad);
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_EQ(modes[0], GL_LINE);
        EXPECT_EQ(modes[1], GL_POINT);
    }
}
