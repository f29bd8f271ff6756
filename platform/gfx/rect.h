#pragma once
// Points, sizes and rectangles in pixels. Rectangles have the Windows meaning: left/top
// inclusive, right/bottom exclusive, so width = right - left.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace vexlo::gfx {

// Coordinates come from skins and window sizes; arithmetic on them saturates instead of
// overflowing.
constexpr int SaturateToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
constexpr int SaturatingAdd(int a, int b) { return SaturateToInt(int64_t{a} + b); }

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect FromXYWH(int x, int y, int width, int height) {
        return {x, y, SaturatingAdd(x, width), SaturatingAdd(y, height)};
    }

    constexpr int width() const { return SaturateToInt(int64_t{right} - left); }
    constexpr int height() const { return SaturateToInt(int64_t{bottom} - top); }
    constexpr Size size() const { return {width(), height()}; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool Contains(const Rect& r) const {
        return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
    }
    constexpr Rect Offset(int dx, int dy) const {
        return {SaturatingAdd(left, dx), SaturatingAdd(top, dy), SaturatingAdd(right, dx), SaturatingAdd(bottom, dy)};
    }
    // All zero when the two do not overlap, like IntersectRect.
    constexpr Rect Intersect(const Rect& other) const {
        const Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                     std::min(bottom, other.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    constexpr bool Intersects(const Rect& other) const { return !Intersect(other).IsEmpty(); }
    bool operator==(const Rect&) const = default;
};

}  // namespace vexlo::gfx
