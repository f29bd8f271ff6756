#include "platform/gfx/draw_context.h"
#include "tests/gfx/pixel_helpers.h"

#include <gtest/gtest.h>

namespace vexlo::gfx {
namespace {

using testing::ChangedBounds;
using testing::Filled;
using testing::MaxChannelDifference;

TEST(FillTest, EachFillWritesItsAlpha) {
    const ColorRef orange = MakeColorRef(255, 128, 0);
    struct Case {
        const char* name;
        void (*fill)(DrawContext&, const Rect&);
        uint32_t expected;
    };
    const Case cases[] = {
        {"clear", [](DrawContext& dc, const Rect& r) { dc.Clear(r); }, 0x00000000u},
        {"opaque", [](DrawContext& dc, const Rect& r) { dc.FillOpaque(r, MakeColorRef(255, 128, 0)); }, 0xFFFF8000u},
        {"gdi", [](DrawContext& dc, const Rect& r) { dc.FillGdi(r, MakeColorRef(255, 128, 0)); }, 0x00FF8000u},
        {"solid opaque", [](DrawContext& dc, const Rect& r) { dc.FillSolid(r, 0xFFFF8000u); }, 0xFFFF8000u},
    };
    (void)orange;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap b = Filled(6, 6, 0x80404040u);
        DrawContext dc(b);
        dc.SetOrigin({1, 1});
        c.fill(dc, Rect{0, 0, 3, 2});
        EXPECT_EQ(b.pixel(1, 1), c.expected);
        EXPECT_EQ(b.pixel(3, 2), c.expected);
        EXPECT_EQ(b.pixel(4, 2), 0x80404040u);
        EXPECT_EQ(b.pixel(1, 3), 0x80404040u);
    }
}

TEST(FillTest, SolidFillBlendsStraightColourPremultiplied) {
    Bitmap b = Filled(2, 2, 0xFF0000FFu);
    DrawContext dc(b);
    dc.FillSolid(Rect{0, 0, 2, 2}, MakeArgb(128, 255, 0, 0));  // half red over opaque blue
    EXPECT_LE(MaxChannelDifference(b.pixel(0, 0), 0xFF80007Fu), 1);
    Bitmap clear(1, 1);
    DrawContext clearDc(clear);
    clearDc.FillSolid(Rect{0, 0, 1, 1}, MakeArgb(128, 255, 255, 255));
    EXPECT_LE(MaxChannelDifference(clear.pixel(0, 0), 0x80808080u), 1);
}

TEST(FillTest, FillsHonourTheClip) {
    Bitmap b(10, 10);
    DrawContext dc(b);
    Region clip(Rect{0, 0, 10, 10});
    clip.Subtract(Rect{0, 0, 5, 10});
    dc.SetClipRegion(&clip);
    dc.FillOpaque(Rect{-100, -100, 100, 100}, 0);
    EXPECT_EQ(ChangedBounds(Bitmap(10, 10), b), (Rect{5, 0, 10, 10}));
}

TEST(GradientFillTest, InterpolatesEveryChannelAcrossTheRectangle) {
    Bitmap b(12, 6);
    DrawContext dc(b);
    dc.SetOrigin({2, 1});
    dc.GradientFill(Rect{0, 0, 8, 4}, 0x00000000u, 0x80FF4000u, GradientDirection::kHorizontal);
    for (int x = 0; x < 8; ++x) {
        const uint32_t p = b.pixel(x + 2, 1);
        EXPECT_EQ(AlphaOf(p), 0x80 * x / 8) << x;
        EXPECT_EQ(RedOf(p), 0xFF * x / 8) << x;
        EXPECT_EQ(GreenOf(p), 0x40 * x / 8) << x;
        EXPECT_EQ(b.pixel(x + 2, 4), p);  // every row alike
    }
    EXPECT_EQ(ChangedBounds(Bitmap(12, 6), b), (Rect{3, 1, 10, 5}));  // column 0 is all zero

    Bitmap v(1, 5);
    DrawContext vdc(v);
    vdc.GradientFill(Rect{0, 0, 1, 5}, 0xFF000000u, 0xFF0000FFu, GradientDirection::kVertical);
    for (int y = 0; y < 5; ++y) EXPECT_EQ(v.pixel(0, y), 0xFF000000u | (0xFF * y / 5)) << y;
}

TEST(GradientFillTest, AllZeroColoursClearAndClippedPartsKeepTheirPhase) {
    Bitmap b = Filled(8, 1, 0xFFFFFFFFu);
    DrawContext dc(b);
    dc.IntersectClipRect(Rect{4, 0, 6, 1});
    dc.GradientFill(Rect{0, 0, 8, 1}, 0u, 0u, GradientDirection::kHorizontal);
    EXPECT_EQ(b.pixel(4, 0), 0u);
    EXPECT_EQ(b.pixel(3, 0), 0xFFFFFFFFu);
    dc.GradientFill(Rect{0, 0, 8, 1}, 0xFF000000u, 0xFF000080u, GradientDirection::kHorizontal);
    EXPECT_EQ(b.pixel(5, 0), 0xFF000000u | (0x80 * 5 / 8));
}

}  // namespace
}  // namespace vexlo::gfx
