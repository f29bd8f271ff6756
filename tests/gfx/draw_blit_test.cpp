#include "platform/gfx/draw_context.h"
#include "tests/gfx/pixel_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexlo::gfx {
namespace {

using testing::ChangedBounds;
using testing::Filled;
using testing::Hex;
using testing::MaxChannelDifference;

// AlphaBlend with AC_SRC_ALPHA: every channel c' = s * k + d * (1 - sa * k), k = ca / 255,
// with the sum saturating at 255.
uint32_t ExpectedBlend(uint32_t dst, uint32_t src, unsigned ca) {
    const double k = ca / 255.0;
    const double sa = AlphaOf(src) / 255.0;
    uint32_t out = 0;
    for (int s = 0; s < 32; s += 8) {
        const double v = ((src >> s) & 0xFF) * k + ((dst >> s) & 0xFF) * (1 - sa * k);
        out |= static_cast<uint32_t>(std::min(255.0, std::round(v))) << s;
    }
    return out;
}

TEST(AlphaBlendTest, PremultipliedSourceOverWithConstantAlpha) {
    struct Case {
        uint32_t dst, src;
        uint8_t alpha;
    };
    const Case cases[] = {
        {0xFF102030, 0xFF804020, 255},  // opaque source replaces
        {0xFF102030, 0x00000000, 255},  // transparent source keeps
        {0xFF102030, 0x80400000, 255},  // half-transparent premultiplied red
        {0x00000000, 0x80402010, 255},  // onto transparent: the source as it is
        {0x80402010, 0x80402010, 128},  // constant alpha scales source and its coverage
        {0xFFFFFFFF, 0xFF000000, 64},
        {0x40202020, 0xC0806040, 200},
    };
    for (const Case& c : cases) {
        Bitmap dst = Filled(3, 2, c.dst);
        const Bitmap src = Filled(3, 2, c.src);
        DrawContext dc(dst);
        ASSERT_TRUE(dc.AlphaBlend(Rect{0, 0, 3, 2}, src, Rect{0, 0, 3, 2}, c.alpha));
        const uint32_t expected = ExpectedBlend(c.dst, c.src, c.alpha);
        EXPECT_LE(MaxChannelDifference(dst.pixel(2, 1), expected), 1)
            << Hex(c.dst) << " + " << Hex(c.src) << " @" << int(c.alpha) << " gave " << Hex(dst.pixel(2, 1))
            << ", expected " << Hex(expected);
    }
}

TEST(AlphaBlendTest, ColourAboveAlphaSaturates) {
    // Text repaired by the UI library can leave colour bytes above alpha; blending such a
    // pixel must clamp, not wrap around.
    Bitmap dst = Filled(1, 1, 0xFFF0F0F0);
    const Bitmap src = Filled(1, 1, 0x10FFFFFF);
    DrawContext dc(dst);
    ASSERT_TRUE(dc.AlphaBlend(0, 0, src));
    EXPECT_EQ(dst.pixel(0, 0), 0xFFFFFFFFu);
}

TEST(AlphaBlendTest, RefusesBadRectanglesWithoutDrawing) {
    const Bitmap src = Filled(4, 4, 0xFFFF0000);
    struct Case {
        const char* name;
        Rect dest, source;
        bool drawable;
    };
    const Case cases[] = {
        {"inside", {0, 0, 4, 4}, {0, 0, 4, 4}, true},
        {"past the right edge", {0, 0, 4, 4}, {1, 0, 5, 4}, false},
        {"above the top", {0, 0, 4, 4}, {0, -1, 4, 3}, false},
        {"far outside", {0, 0, 4, 4}, {1000000, 1000000, 1000004, 1000004}, false},
        {"empty source", {0, 0, 4, 4}, {2, 2, 2, 4}, false},
        {"inverted source", {0, 0, 4, 4}, {3, 3, 1, 1}, false},
        {"inverted destination", {4, 4, 0, 0}, {0, 0, 4, 4}, false},
        {"zero-width destination", {1, 1, 1, 3}, {0, 0, 4, 4}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap dst(8, 8);
        DrawContext dc(dst);
        EXPECT_EQ(dc.AlphaBlend(c.dest, src, c.source), c.drawable);
        EXPECT_EQ(dst.pixel(0, 0) != 0, c.drawable);
    }
    Bitmap dst(4, 4);
    DrawContext dc(dst);
    EXPECT_FALSE(dc.AlphaBlend(Rect{0, 0, 4, 4}, Bitmap(), Rect{0, 0, 1, 1}));
    EXPECT_TRUE(dc.AlphaBlend(Rect{0, 0, 4, 4}, src, Rect{0, 0, 4, 4}, 0));  // nothing to draw is no failure
    EXPECT_EQ(dst, Bitmap(4, 4));
}

TEST(AlphaBlendTest, OriginAndClipRegionLimitDrawing) {
    const Bitmap src = Filled(10, 10, 0xFF00FF00);
    Bitmap dst(20, 20);
    DrawContext dc(dst);
    dc.SetOrigin({5, 6});
    Region clip(Rect{0, 0, 12, 12});
    clip.Subtract(Rect{8, 8, 10, 10});
    dc.SetClipRegion(&clip);
    ASSERT_TRUE(dc.AlphaBlend(Rect{0, 0, 10, 10}, src, Rect{0, 0, 10, 10}));
    EXPECT_EQ(ChangedBounds(Bitmap(20, 20), dst), (Rect{5, 6, 12, 12}));
    EXPECT_EQ(dst.pixel(8, 8), 0u);  // the hole
    EXPECT_EQ(dst.pixel(7, 8), 0xFF00FF00u);
    EXPECT_EQ(dc.GetClipBox(), (Rect{-5, -6, 7, 6}));
}

TEST(AlphaBlendTest, ClipIsSavedRestoredAndIntersected) {
    const Bitmap src = Filled(10, 10, 0xFFFFFFFF);
    Bitmap dst(10, 10);
    DrawContext dc(dst);
    dc.IntersectClipRect(Rect{2, 2, 8, 8});
    {
        DrawContext::StateSaver saver(dc);
        dc.OffsetOrigin(3, 0);
        dc.IntersectClipRect(Rect{0, 0, 1, 10});  // logical: device column 3
        dc.AlphaBlend(Rect{-3, 0, 7, 10}, src, Rect{0, 0, 10, 10});
        EXPECT_EQ(ChangedBounds(Bitmap(10, 10), dst), (Rect{3, 2, 4, 8}));
    }
    EXPECT_EQ(dc.origin(), (Point{0, 0}));
    EXPECT_EQ(dc.GetClipBox(), (Rect{2, 2, 8, 8}));
    dc.ExcludeClipRect(Rect{4, 4, 6, 6});
    dc.AlphaBlend(Rect{0, 0, 10, 10}, src, Rect{0, 0, 10, 10});
    EXPECT_EQ(dst.pixel(5, 5), 0u);
    EXPECT_EQ(dst.pixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(dst.pixel(1, 1), 0u);
    EXPECT_FALSE(dc.IsVisible(Rect{4, 4, 6, 6}));
    EXPECT_TRUE(dc.IsVisible(Rect{0, 0, 3, 3}));
    EXPECT_FALSE(dc.Restore());
}

TEST(AlphaBlendTest, NearestStretchRepeatsAndPicksPixels) {
    Bitmap src(2, 2);
    src.set_pixel(0, 0, 0xFF000001);
    src.set_pixel(1, 0, 0xFF000002);
    src.set_pixel(0, 1, 0xFF000003);
    src.set_pixel(1, 1, 0xFF000004);
    Bitmap up(4, 6);
    DrawContext upDc(up);
    ASSERT_TRUE(upDc.AlphaBlend(Rect{0, 0, 4, 6}, src, Rect{0, 0, 2, 2}));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(up.pixel(x, y), src.pixel(x / 2, y / 3)) << x << "," << y;

    Bitmap big(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) big.set_pixel(x, y, 0xFF000000u | (y << 8) | x);
    Bitmap down(2, 2);
    DrawContext downDc(down);
    ASSERT_TRUE(downDc.AlphaBlend(Rect{0, 0, 2, 2}, big, Rect{0, 0, 8, 8}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            // Each destination pixel takes a source pixel from the block it covers.
            EXPECT_EQ(BlueOf(down.pixel(x, y)) / 4, x);
            EXPECT_EQ(GreenOf(down.pixel(x, y)) / 4, y);
        }
}

TEST(AlphaBlendTest, StretchedDestinationPartlyOffTheBitmapSamplesTheRightPart) {
    // A 16-pixel-wide source stretched over 1600 pixels, of which only 10 are visible at
    // the far end: the visible pixels must come from the last source column.
    Bitmap src(16, 1);
    for (int x = 0; x < 16; ++x) src.set_pixel(x, 0, 0xFF000000u | x);
    Bitmap dst(10, 1);
    DrawContext dc(dst);
    ASSERT_TRUE(dc.AlphaBlend(Rect{-1590, 0, 10, 1}, src, Rect{0, 0, 16, 1}));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(dst.pixel(x, 0), 0xFF00000Fu) << x;
}

TEST(AlphaBlendTest, SmoothScalingKeepsFlatAreasAndStaysInsideTheSourceRectangle) {
    // Two adjacent cells as in a picture strip; scaling the left one must not pick up the
    // right one at its edge.
    Bitmap strip(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) strip.set_pixel(x, y, x < 4 ? 0xFFFF0000u : 0xFF0000FFu);
    for (Size size : {Size{13, 7}, Size{2, 3}, Size{4, 4}, Size{40, 1}}) {
        Bitmap dst(size.width, size.height);
        DrawContext dc(dst);
        ASSERT_TRUE(dc.DrawImage(strip, Rect{0, 0, 4, 4}, Rect{0, 0, size.width, size.height}));
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                ASSERT_LE(MaxChannelDifference(dst.pixel(x, y), 0xFFFF0000u), 1)
                    << size.width << "x" << size.height << " at " << x << "," << y << ": " << Hex(dst.pixel(x, y));
    }
}

TEST(AlphaBlendTest, SmoothScalingInterpolatesAndAverages) {
    Bitmap src(2, 1);
    src.set_pixel(0, 0, 0xFF000000);
    src.set_pixel(1, 0, 0xFFFFFFFF);
    Bitmap grown(8, 1);
    DrawContext dc(grown);
    dc.DrawImage(src, Rect{0, 0, 2, 1}, Rect{0, 0, 8, 1});
    for (int x = 1; x < 8; ++x) EXPECT_GE(RedOf(grown.pixel(x, 0)), RedOf(grown.pixel(x - 1, 0)));
    EXPECT_LT(RedOf(grown.pixel(0, 0)), 40);
    EXPECT_GT(RedOf(grown.pixel(7, 0)), 215);
    EXPECT_GT(RedOf(grown.pixel(4, 0)), 60);
    EXPECT_LT(RedOf(grown.pixel(4, 0)), 200);

    // A fine checkerboard shrunk by four averages to grey; nearest would keep black or white.
    Bitmap checker(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) checker.set_pixel(x, y, ((x + y) % 2) ? 0xFFFFFFFFu : 0xFF000000u);
    const Bitmap shrunk = ScaledCopy(checker, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_NEAR(RedOf(shrunk.pixel(x, y)), 128, 8) << x << "," << y;
    EXPECT_TRUE(ScaledCopy(checker, 0, 4).empty());
}

TEST(TileBlendTest, RepeatsCellsAndCutsTheLastOnes) {
    // An 8 by 8 cell into 20 by 10: columns 8, 8, 4 and rows 8, 2.
    Bitmap cell(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) cell.set_pixel(x, y, 0xFF000000u | (y << 8) | x);
    Bitmap dst(30, 20);
    DrawContext dc(dst);
    dc.SetOrigin({3, 4});
    ASSERT_TRUE(dc.TileBlend(Rect{0, 0, 20, 10}, cell, Rect{0, 0, 8, 8}));
    EXPECT_EQ(ChangedBounds(Bitmap(30, 20), dst), (Rect{3, 4, 23, 14}));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(dst.pixel(x + 3, y + 4), cell.pixel(x % 8, y % 8)) << x << "," << y;
    // The tile phase follows the destination corner even when only its end is visible.
    Bitmap tail(4, 1);
    DrawContext tailDc(tail);
    ASSERT_TRUE(tailDc.TileBlend(Rect{-1000003, 0, 4, 1}, cell, Rect{0, 0, 8, 8}));
    EXPECT_EQ(tail.pixel(0, 0), cell.pixel(1000003 % 8, 0));
    EXPECT_FALSE(tailDc.TileBlend(Rect{0, 0, 4, 1}, cell, Rect{0, 0, 9, 8}));
}

TEST(CopyTest, CopiesAlphaAsItIsAndClipsTheSource) {
    Bitmap src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.set_pixel(x, y, 0x01000000u * (x + 1) | 0x00FF0000u);  // colour above alpha
    Bitmap dst = Filled(6, 6, 0xFFFFFFFF);
    DrawContext dc(dst);
    ASSERT_TRUE(dc.Copy(Rect{0, 0, 6, 6}, src, Point{-1, -1}));
    // Only the part inside the source moves; the rest of the destination stays.
    EXPECT_EQ(ChangedBounds(Filled(6, 6, 0xFFFFFFFF), dst), (Rect{1, 1, 5, 5}));
    EXPECT_EQ(dst.pixel(1, 1), src.pixel(0, 0));
    EXPECT_EQ(dst.pixel(4, 4), src.pixel(3, 3));
    EXPECT_EQ(dst.pixel(0, 0), 0xFFFFFFFFu);
}

TEST(CopyTest, OverlappingCopyWithinOneBitmap) {
    Bitmap b(6, 1);
    for (int x = 0; x < 6; ++x) b.set_pixel(x, 0, x + 1);
    DrawContext dc(b);
    ASSERT_TRUE(dc.Copy(Rect{1, 0, 6, 1}, b, Point{0, 0}));
    for (int x = 1; x < 6; ++x) EXPECT_EQ(b.pixel(x, 0), uint32_t(x)) << x;
    EXPECT_EQ(b.pixel(0, 0), 1u);
}

}  // namespace
}  // namespace vexlo::gfx
