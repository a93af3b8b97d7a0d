#pragma once

// A point or direction in world units: x grows to the right, y upwards.
struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;

    Vector2() = default;
    constexpr Vector2(float x_, float y_) : x(x_), y(y_) {}

    constexpr Vector2 operator+(Vector2 o) const { return {x + o.x, y + o.y}; }
    constexpr Vector2 operator-(Vector2 o) const { return {x - o.x, y - o.y}; }
    constexpr Vector2 operator-() const { return {-x, -y}; }
    constexpr Vector2 operator*(float s) const { return {x * s, y * s}; }
    constexpr Vector2& operator+=(Vector2 o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr Vector2& operator-=(Vector2 o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr bool operator==(const Vector2&) const = default;
};

constexpr float dot(Vector2 a, Vector2 b) {
    return a.x * b.x + a.y * b.y;
}
constexpr float cross(Vector2 a, Vector2 b) {
    return a.x * b.y - a.y * b.x;
}
