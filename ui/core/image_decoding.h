#pragma once
// Turns the bytes of a skin picture into premultiplied 32-bit frames through the
// platform's decoders.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace vexlo::ui {

struct DecodedPicture {
    std::vector<gfx::Bitmap> frames;   // at least one on success, all of one size
    std::vector<int32_t> delaysMs;     // one per frame of an animated picture, else empty
};

bool DecodePicture(std::span<const uint8_t> bytes, DecodedPicture& out);

}  // namespace vexlo::ui
