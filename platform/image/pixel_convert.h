#pragma once
// Conversions between straight-alpha BGRA bytes (what codecs read and write) and the
// premultiplied 0xAARRGGBB pixels of gfx::Bitmap.
#include "platform/gfx/bitmap.h"

#include <cstdint>

namespace vexlo::image {

// bgra: 4 bytes per pixel, B G R A, straight alpha.
void PremultiplyRowFromBgra(const uint8_t* bgra, uint32_t* out, int count);
// Inverse of the above, rounding to nearest; colour bytes above alpha (invalid
// premultiplied values) saturate at 255.
void UnpremultiplyRowToBgra(const uint32_t* pixels, uint8_t* bgra, int count);

}  // namespace vexlo::image
