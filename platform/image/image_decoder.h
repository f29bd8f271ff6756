#pragma once
// Decoding of the image files a skin may carry (PNG, GIF with all its frames, JPEG, BMP)
// into premultiplied 32-bit bitmaps. Every decoder checks the sizes against DecodeLimits
// before allocating and refuses corrupt or truncated data.
#include "platform/gfx/bitmap.h"
#include "platform/image/decode_limits.h"

#include <string_view>
#include <vector>

namespace vexlo::image {

struct ImageFrame {
    gfx::Bitmap bitmap;
    int delayMs = 0;  // for animations: ten times the stored delay in hundredths of a second
};

// One frame for still images; every frame composited at the image's full size for
// animations.
struct DecodedImage {
    std::vector<ImageFrame> frames;
    int width() const { return frames.empty() ? 0 : frames.front().bitmap.width(); }
    int height() const { return frames.empty() ? 0 : frames.front().bitmap.height(); }
};

enum class ImageFormat { kUnknown, kPng, kGif, kJpeg, kBmp };

ImageFormat SniffImageFormat(std::string_view bytes);

// False (and no frames) for an unknown format or data a decoder refuses.
bool DecodeImage(std::string_view bytes, DecodedImage& out, const DecodeLimits& limits = kDefaultDecodeLimits);

bool DecodeGif(std::string_view bytes, DecodedImage& out, const DecodeLimits& limits = kDefaultDecodeLimits);
bool DecodeJpeg(std::string_view bytes, gfx::Bitmap& out, const DecodeLimits& limits = kDefaultDecodeLimits);
bool DecodeBmp(std::string_view bytes, gfx::Bitmap& out, const DecodeLimits& limits = kDefaultDecodeLimits);

}  // namespace vexlo::image
