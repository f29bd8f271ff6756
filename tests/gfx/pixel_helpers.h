#pragma once
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vexlo::gfx::testing {

inline Bitmap Filled(int w, int h, uint32_t pixel) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.row(y)[x] = pixel;
    return b;
}

// Bounding box of the pixels that differ between two bitmaps of one size.
inline Rect ChangedBounds(const Bitmap& before, const Bitmap& after) {
    Rect r{after.width(), after.height(), 0, 0};
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
    return r.IsEmpty() ? Rect{} : r;
}

inline int MaxChannelDifference(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int s = 0; s < 32; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)));
    return worst;
}

inline std::string Hex(uint32_t p) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", p);
    return buf;
}

}  // namespace vexlo::gfx::testing
