#pragma once
// Turning premultiplied 0xAARRGGBB frames into the pixel values of an X visual and back,
// and composing a frame over what lies beneath it when the server cannot blend.
#include "platform/gfx/bitmap.h"

#include <cstdint>

namespace vexlo::x11 {

// A TrueColor pixel layout given by its channel masks. For a 32-bit visual with an alpha
// channel, the bits that no colour mask covers hold alpha.
class PixelFormat {
public:
    PixelFormat() = default;
    PixelFormat(int depth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask);

    int depth() const { return depth_; }
    bool hasAlpha() const { return alphaMask_ != 0; }
    // 0xFF0000 / 0xFF00 / 0xFF (and alpha 0xFF000000 when present): frames go out as they are.
    bool IsNative() const { return native_; }

    // A pixel 0xAARRGGBB into the visual's value; alpha is dropped without an alpha channel.
    uint32_t Encode(uint32_t argb) const;
    // A visual's value into 0xFFRRGGBB (alpha, when present, into the top byte).
    uint32_t Decode(uint32_t pixel) const;

private:
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        int bits = 0;
    };
    static Channel Describe(uint32_t mask);
    static uint32_t Put(const Channel& c, uint32_t value8);
    static uint32_t Take(const Channel& c, uint32_t pixel);

    int depth_ = 24;
    Channel red_, green_, blue_, alpha_;
    uint32_t alphaMask_ = 0;
    bool native_ = true;
};

// Source-over of a premultiplied frame onto an opaque background of the same size; the
// result is opaque. Colour values above their alpha (a damaged frame) are clamped.
void ComposeOver(const gfx::Bitmap& frame, const gfx::Bitmap& background, gfx::Bitmap& out);
// One pixel of the same.
uint32_t ComposeOverPixel(uint32_t source, uint32_t background);

// Every pixel through the format's Encode, in place.
void EncodePixels(const PixelFormat& format, gfx::Bitmap& pixels);

}  // namespace vexlo::x11
