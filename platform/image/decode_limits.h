#pragma once
// Bounds every decoder checks before allocating, so that a hostile skin package cannot
// exhaust memory: a size is refused before any pixel is decoded.
#include <cstdint>

namespace vexlo::image {

struct DecodeLimits {
    int maxWidth = 8192;
    int maxHeight = 8192;
    int maxFrames = 1000;
    // All frames of one image together, in bytes of 32-bit pixels.
    int64_t maxTotalBytes = int64_t{64} * 1024 * 1024;

    bool AllowsFrame(int64_t width, int64_t height) const {
        return width > 0 && height > 0 && width <= maxWidth && height <= maxHeight &&
               width * height * 4 <= maxTotalBytes;
    }
    bool AllowsFrames(int64_t width, int64_t height, int64_t frames) const {
        return AllowsFrame(width, height) && frames > 0 && frames <= maxFrames &&
               width * height * 4 * frames <= maxTotalBytes;
    }
};

inline constexpr DecodeLimits kDefaultDecodeLimits{};

}  // namespace vexlo::image
