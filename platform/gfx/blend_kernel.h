#pragma once
// The hot path of window painting: an unscaled premultiplied source-over of one bitmap
// onto another. pixman does this with SSE2; on processors with AVX2 this kernel does the
// same arithmetic (the same rounding and saturation, bit for bit) twice as wide.
#include <cstdint>

namespace vexlo::gfx::detail {

// Blends `height` rows of `width` pixels; strides in pixels. Returns false, having done
// nothing, when the processor lacks AVX2 (the caller then uses pixman).
bool BlendOverRows(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int width, int height,
                   uint8_t constantAlpha);

// The per-pixel arithmetic both paths share, for tests and for the kernel's row tails.
constexpr uint32_t BlendOverPixel(uint32_t dst, uint32_t src, uint8_t constantAlpha) {
    auto mul = [](uint32_t a, uint32_t b) {
        uint32_t t = a * b + 0x80;
        return (t + (t >> 8)) >> 8;
    };
    uint32_t s = src;
    if (constantAlpha != 255) {
        s = 0;
        for (int shift = 0; shift < 32; shift += 8) s |= mul((src >> shift) & 0xFF, constantAlpha) << shift;
    }
    const uint32_t inverse = 255 - (s >> 24);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t v = ((s >> shift) & 0xFF) + mul((dst >> shift) & 0xFF, inverse);
        out |= (v > 255 ? 255 : v) << shift;
    }
    return out;
}

}  // namespace vexlo::gfx::detail
