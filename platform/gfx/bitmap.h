#pragma once
// A 32-bit premultiplied-alpha bitmap, rows top-down. A pixel is one native uint32_t
// 0xAARRGGBB (bytes B, G, R, A in memory on little-endian machines), the layout that
// pixman's a8r8g8b8 and cairo's ARGB32 use, so both can draw into it without copies.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexlo::gfx {

class Bitmap {
public:
    Bitmap() = default;
    // Caps keep a hostile size from exhausting memory; a refused size gives an empty bitmap.
    static constexpr int kMaxDimension = 16384;
    static constexpr int64_t kMaxPixels = int64_t{64} * 1024 * 1024;

    Bitmap(int width, int height) { Reset(width, height); }

    // Reallocates and clears to transparent. Returns false (and leaves an empty bitmap)
    // when the size is refused.
    bool Reset(int width, int height) {
        pixels_.clear();
        width_ = height_ = 0;
        if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
            int64_t{width} * height > kMaxPixels) {
            return false;
        }
        pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
        width_ = width;
        height_ = height;
        return true;
    }

    bool empty() const { return pixels_.empty(); }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return width_ * 4; }  // bytes per row
    uint32_t* data() { return pixels_.data(); }
    const uint32_t* data() const { return pixels_.data(); }
    uint32_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    uint32_t pixel(int x, int y) const { return contains(x, y) ? row(y)[x] : 0u; }
    void set_pixel(int x, int y, uint32_t value) {
        if (contains(x, y)) row(y)[x] = value;
    }
    bool operator==(const Bitmap& other) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Premultiplied pixel from straight components.
constexpr uint32_t PremultipliedPixel(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    auto mul = [](unsigned c, unsigned alpha) { return (c * alpha + 127) / 255; };
    return (uint32_t{a} << 24) | (mul(r, a) << 16) | (mul(g, a) << 8) | mul(b, a);
}
constexpr uint8_t AlphaOf(uint32_t p) { return static_cast<uint8_t>(p >> 24); }
constexpr uint8_t RedOf(uint32_t p) { return static_cast<uint8_t>(p >> 16); }
constexpr uint8_t GreenOf(uint32_t p) { return static_cast<uint8_t>(p >> 8); }
constexpr uint8_t BlueOf(uint32_t p) { return static_cast<uint8_t>(p); }

}  // namespace vexlo::gfx
