#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "Render/Camera.h"
#include "Render/GLRenderer.h"
#include "Shell/Game.h"
#include "Support/EngineTest.h"

// The engine started in a window, with helpers to draw one frame through the game's renderer
// and to catch what OpenGL makes of the vertices.
class GLRendererFixture : public EngineTest {
  protected:
    GLRenderer& gl() { return static_cast<GLRenderer&>(*Game::instance().renderer); }
    Camera& camera() { return *Game::instance().camera; }

    void move_camera(float x, float y) {
        camera().position = {x, y};
        camera().notify_moved();
    }

    // Clears, runs the draw calls and presents, as a frame does.
    template <class Draw>
    void frame(Draw draw) {
        gl().make_current();
        ASSERT_TRUE(gl().begin_frame());
        gl().clear_color_buffer();
        gl().clear_depth_buffer();
        draw();
        gl().end_frame();
        gl().present();
    }

    // An axis-aligned box as four corners, counter-clockwise from the lower left.
    static std::array<Vector2, 4> box(float x0, float y0, float x1, float y1) {
        return {Vector2{x0, y0}, Vector2{x1, y0}, Vector2{x1, y1}, Vector2{x0, y1}};
    }
    static std::array<Vector2, 4> unit_tex_coords() { return box(0, 0, 1, 1); }

    // One primitive as OpenGL's feedback mode reports it, in window coordinates.
    struct Primitive {
        GLenum token;
        std::vector<Vector2> vertices;
    };

    template <class Draw>
    std::vector<Primitive> feedback(Draw draw) {
        std::vector<GLfloat> buffer(1 << 16);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        GLint n = glRenderMode(GL_RENDER);
        std::vector<Primitive> out;
        EXPECT_GE(n, 0) << "feedback buffer overflow";
        for (GLint i = 0; i < n;) {
            GLenum token = static_cast<GLenum>(buffer[i++]);
            int count = 0;
            if (token == GL_POINT_TOKEN)
                count = 1;
            else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN)
                count = 2;
            else if (token == GL_POLYGON_TOKEN)
                count = static_cast<int>(buffer[i++]);
            else {
                ADD_FAILURE() << "unexpected feedback token " << token;
                break;
            }
            Primitive p{token, {}};
            for (int k = 0; k < count; ++k, i += 2)
                p.vertices.push_back({buffer[i], buffer[i + 1]});
            out.push_back(p);
        }
        return out;
    }

    // The points of a primitive list, each primitive being one point (polygon mode points).
    // OpenGL may hand on the vertices of one polygon in another order than they were given.
    static std::vector<Vector2> points_of(const std::vector<Primitive>& prims) {
        std::vector<Vector2> out;
        for (const Primitive& p : prims) {
            EXPECT_EQ(p.token, static_cast<GLenum>(GL_POINT_TOKEN));
            out.insert(out.end(), p.vertices.begin(), p.vertices.end());
        }
        return out;
    }

    // True when both lists hold the same points (each within tolerance), in any order.
    static ::testing::AssertionResult same_points(std::vector<Vector2> actual,
                                                  const std::vector<Vector2>& expected,
                                                  float tolerance) {
        if (actual.size() != expected.size())
            return ::testing::AssertionFailure()
                   << actual.size() << " points instead of " << expected.size();
        for (Vector2 e : expected) {
            auto it = std::find_if(actual.begin(), actual.end(), [&](Vector2 a) {
                return std::abs(a.x - e.x) <= tolerance && std::abs(a.y - e.y) <= tolerance;
            });
            if (it == actual.end())
                return ::testing::AssertionFailure()
                       << "no point at (" << e.x << ", " << e.y << ")";
            actual.erase(it);
        }
        return ::testing::AssertionSuccess();
    }

    // The presented frame of 1280 x 720, bottom row first.
    std::vector<uint8_t> frame_pixels() {
        std::vector<uint8_t> pixels(static_cast<size_t>(1280) * 720 * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 1280, 720, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    // The colour of a presented pixel; the window may have no alpha channel, so alpha reads 0.
    Pixel at(int x, int y) {
        Pixel p = pixel(x, y);
        p.a = 0;
        return p;
    }

    static constexpr Pixel black{0, 0, 0, 0};
    static constexpr Pixel red{255, 0, 0, 0};
    static constexpr Pixel green{0, 255, 0, 0};
    static constexpr Pixel blue{0, 0, 255, 0};
};
