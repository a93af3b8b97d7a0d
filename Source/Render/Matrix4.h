#pragma once

#include <array>

// 16 floats in column-major order, as OpenGL loads them.
struct Matrix4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Matrix4 zero() {
        Matrix4 r;
        r.m.fill(0.0f);
        return r;
    }
    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    const float* data() const { return m.data(); }

    // out(r, c) = sum over k of this(r, k) * o(k, c).
    Matrix4 operator*(const Matrix4& o) const {
        Matrix4 out = zero();
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) {
                float sum = 0.0f;
                for (int k = 0; k < 4; ++k)
                    sum += m[k * 4 + r] * o.m[c * 4 + k];
                out.m[c * 4 + r] = sum;
            }
        return out;
    }
};
