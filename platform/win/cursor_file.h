#pragma once
// Reading .cur and .ico files (a skin's cursor resources): the directory, then one image
// stored as PNG or as a device-independent bitmap with its AND mask.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"

#include <string_view>

namespace vexlo::win {

// Decodes the largest image of the file (at most 256 by 256) into premultiplied pixels.
// The hotspot comes from the cursor directory; an icon's is its centre. False for
// anything truncated, oversized or malformed; the outputs are then untouched.
bool DecodeCursorFile(std::string_view bytes, gfx::Bitmap* image, gfx::Point* hotspot);

}  // namespace vexlo::win
