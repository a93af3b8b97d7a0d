#pragma once

// Red, green, blue, alpha; nominally 0..1, alpha 1 is opaque.
struct Color {
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;

    constexpr Color operator*(const Color& o) const { return {r * o.r, g * o.g, b * o.b, a * o.a}; }
    constexpr bool operator==(const Color&) const = default;
    const float* data() const { return &r; }
};
