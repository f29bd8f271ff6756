#include "platform/x11/pixel_format.h"

#include <algorithm>
#include <bit>

namespace vexlo::x11 {

PixelFormat::PixelFormat(int depth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask)
    : depth_(depth), red_(Describe(redMask)), green_(Describe(greenMask)), blue_(Describe(blueMask)) {
    const uint32_t depthMask = depth >= 32 ? 0xFFFFFFFFu : ((1u << std::max(depth, 0)) - 1u);
    alphaMask_ = depthMask & ~(redMask | greenMask | blueMask);
    alpha_ = Describe(alphaMask_);
    native_ = redMask == 0xFF0000u && greenMask == 0xFF00u && blueMask == 0xFFu &&
              (alphaMask_ == 0 || alphaMask_ == 0xFF000000u);
}

PixelFormat::Channel PixelFormat::Describe(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
    return c;
}

uint32_t PixelFormat::Put(const Channel& c, uint32_t value8) {
    if (c.bits == 0) return 0;
    uint32_t v;
    if (c.bits == 8) {
        v = value8;
    } else if (c.bits < 8) {
        v = value8 >> (8 - c.bits);
    } else {
        const uint64_t max = (uint64_t{1} << std::min(c.bits, 32)) - 1;
        v = static_cast<uint32_t>((value8 * max + 127) / 255);
    }
    return (v << c.shift) & c.mask;
}

uint32_t PixelFormat::Take(const Channel& c, uint32_t pixel) {
    if (c.bits == 0) return 0;
    const uint64_t v = (pixel & c.mask) >> c.shift;
    if (c.bits == 8) return static_cast<uint32_t>(v);
    const uint64_t max = (uint64_t{1} << std::min(c.bits, 32)) - 1;
    return static_cast<uint32_t>((v * 255 + max / 2) / max);
}

uint32_t PixelFormat::Encode(uint32_t argb) const {
    if (native_) return alphaMask_ ? argb : (argb & 0x00FFFFFFu);
    return Put(red_, gfx::RedOf(argb)) | Put(green_, gfx::GreenOf(argb)) | Put(blue_, gfx::BlueOf(argb)) |
           Put(alpha_, gfx::AlphaOf(argb));
}

uint32_t PixelFormat::Decode(uint32_t pixel) const {
    const uint32_t a = alphaMask_ ? Take(alpha_, pixel) : 0xFFu;
    if (native_) return (a << 24) | (pixel & 0x00FFFFFFu);
    return (a << 24) | (Take(red_, pixel) << 16) | (Take(green_, pixel) << 8) | Take(blue_, pixel);
}

uint32_t ComposeOverPixel(uint32_t source, uint32_t background) {
    const uint32_t a = gfx::AlphaOf(source);
    if (a == 255) return source;
    const uint32_t rest = 255 - a;
    auto channel = [&](int shift) {
        const uint32_t s = (source >> shift) & 0xFF;
        const uint32_t b = (background >> shift) & 0xFF;
        return std::min<uint32_t>(255, s + (b * rest + 127) / 255);
    };
    return 0xFF000000u | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

void ComposeOver(const gfx::Bitmap& frame, const gfx::Bitmap& background, gfx::Bitmap& out) {
    if (!out.Reset(frame.width(), frame.height())) return;
    const bool sameSize = background.width() == frame.width() && background.height() == frame.height();
    for (int y = 0; y < frame.height(); ++y) {
        const uint32_t* in = frame.row(y);
        const uint32_t* under = sameSize ? background.row(y) : nullptr;
        uint32_t* to = out.row(y);
        for (int x = 0; x < frame.width(); ++x) to[x] = ComposeOverPixel(in[x], under ? under[x] : 0xFF000000u);
    }
}

void EncodePixels(const PixelFormat& format, gfx::Bitmap& pixels) {
    if (format.IsNative() && format.hasAlpha()) return;
    for (int y = 0; y < pixels.height(); ++y) {
        uint32_t* row = pixels.row(y);
        for (int x = 0; x < pixels.width(); ++x) row[x] = format.Encode(row[x]);
    }
}

}  // namespace vexlo::x11
