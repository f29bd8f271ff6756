#include "platform/gfx/blend_kernel.h"
#include "platform/gfx/pixman_image.h"
#include "tests/gfx/pixel_helpers.h"

#include <gtest/gtest.h>

#include <random>

namespace vexlo::gfx {
namespace {

// pixman's OVER is the reference: the fast kernel must give the same bytes.
Bitmap PixmanOver(const Bitmap& dst, const Bitmap& src, uint8_t ca) {
    Bitmap out = dst;
    detail::PixmanImage d = detail::WrapTarget(out);
    detail::PixmanImage s = detail::WrapSource(src, Rect{0, 0, src.width(), src.height()});
    detail::PixmanImage m;
    if (ca != 255) m = detail::SolidImage(uint32_t{ca} << 24);
    pixman_image_composite32(PIXMAN_OP_OVER, s.get(), m.get(), d.get(), 0, 0, 0, 0, 0, 0, out.width(), out.height());
    return out;
}

TEST(BlendKernelTest, MatchesPixmanBitForBit) {
    std::mt19937 random(12345);
    auto pixel = [&](int kind) -> uint32_t {
        const uint32_t v = random();
        switch (kind % 4) {
            case 0: return v | 0xFF000000u;  // opaque
            case 1: return 0;  // transparent
            case 2: {  // valid premultiplied
                const uint8_t a = static_cast<uint8_t>(v >> 24);
                return PremultipliedPixel(a, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                                          static_cast<uint8_t>(v >> 16));
            }
            default: return v;  // colour above alpha: saturation matters
        }
    };
    for (int width : {1, 7, 8, 9, 16, 31, 37}) {
        for (uint8_t ca : {uint8_t{255}, uint8_t{128}, uint8_t{1}}) {
            for (int layout = 0; layout < 4; ++layout) {
                Bitmap src(width, 3), dst(width, 3);
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x) {
                        // Runs of one kind test the kernel's opaque and transparent shortcuts.
                        const int kind = layout == 3 ? static_cast<int>(random() % 4) : layout;
                        src.set_pixel(x, y, pixel(kind));
                        dst.set_pixel(x, y, pixel(static_cast<int>(random() % 4)));
                    }
                const Bitmap expected = PixmanOver(dst, src, ca);
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x)
                        ASSERT_EQ(detail::BlendOverPixel(dst.pixel(x, y), src.pixel(x, y), ca), expected.pixel(x, y))
                            << testing::Hex(dst.pixel(x, y)) << " + " << testing::Hex(src.pixel(x, y));
                Bitmap fast = dst;
                if (detail::BlendOverRows(fast.data(), fast.width(), src.data(), src.width(), width, 3, ca)) {
                    ASSERT_EQ(fast, expected) << "width " << width << " alpha " << int(ca) << " layout " << layout;
                }
            }
        }
    }
}

}  // namespace
}  // namespace vexlo::gfx
