#include "platform/image/pixel_convert.h"

#include <algorithm>

namespace vexlo::image {

void PremultiplyRowFromBgra(const uint8_t* bgra, uint32_t* out, int count) {
    for (int i = 0; i < count; ++i, bgra += 4) {
        out[i] = gfx::PremultipliedPixel(bgra[3], bgra[2], bgra[1], bgra[0]);
    }
}

void UnpremultiplyRowToBgra(const uint32_t* pixels, uint8_t* bgra, int count) {
    for (int i = 0; i < count; ++i, bgra += 4) {
        const uint32_t p = pixels[i];
        const unsigned a = gfx::AlphaOf(p);
        auto straight = [a](unsigned c) -> uint8_t {
            if (a == 0) return 0;
            return static_cast<uint8_t>(std::min(255u, (c * 255 + a / 2) / a));
        };
        bgra[0] = straight(gfx::BlueOf(p));
        bgra[1] = straight(gfx::GreenOf(p));
        bgra[2] = straight(gfx::RedOf(p));
        bgra[3] = static_cast<uint8_t>(a);
    }
}

}  // namespace vexlo::image
