// Pixel formats, composition over the screen, and window shapes: the parts of the
// presentation that need no server.
#include "platform/x11/pixel_format.h"
#include "platform/x11/window_shape.h"

#include <gtest/gtest.h>

namespace vexlo::x11 {
namespace {

TEST(PixelFormatTest, EncodesAndDecodesEveryLayout) {
    struct Case {
        const char* name;
        int depth;
        uint32_t r, g, b;
        uint32_t argb;       // in
        uint32_t encoded;    // the visual's value
        uint32_t decoded;    // back to 0xAARRGGBB
    };
    const Case cases[] = {
        {"24-bit RGB", 24, 0xFF0000, 0xFF00, 0xFF, 0x80402010, 0x00402010, 0xFF402010},
        {"32-bit ARGB keeps alpha", 32, 0xFF0000, 0xFF00, 0xFF, 0x80402010, 0x80402010, 0x80402010},
        {"24-bit BGR", 24, 0xFF, 0xFF00, 0xFF0000, 0xFF112233, 0x00332211, 0xFF112233},
        {"16-bit 565", 16, 0xF800, 0x07E0, 0x001F, 0xFFFF8000, 0xFC00, 0xFFFF8200},
        {"16-bit 565 white", 16, 0xF800, 0x07E0, 0x001F, 0xFFFFFFFF, 0xFFFF, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PixelFormat f(c.depth, c.r, c.g, c.b);
        EXPECT_EQ(f.Encode(c.argb), c.encoded);
        EXPECT_EQ(f.Decode(c.encoded), c.decoded);
    }
}

TEST(PixelFormatTest, OnlyTheStandardLayoutsGoOutUnconverted) {
    EXPECT_TRUE(PixelFormat(24, 0xFF0000, 0xFF00, 0xFF).IsNative());
    EXPECT_TRUE(PixelFormat(32, 0xFF0000, 0xFF00, 0xFF).IsNative());
    EXPECT_TRUE(PixelFormat(32, 0xFF0000, 0xFF00, 0xFF).hasAlpha());
    EXPECT_FALSE(PixelFormat(24, 0xFF, 0xFF00, 0xFF0000).IsNative());
    EXPECT_FALSE(PixelFormat(16, 0xF800, 0x07E0, 0x001F).IsNative());
}

TEST(ComposeTest, PremultipliedSourceOverAnOpaqueBackground) {
    struct Case {
        uint32_t source, background, expected;
    };
    const Case cases[] = {
        {0xFF123456, 0xFFFFFFFF, 0xFF123456},  // opaque: the source
        {0x00000000, 0xFF336699, 0xFF336699},  // transparent: the background
        {0x80800000, 0xFFFFFFFF, 0xFFFF7F7F},  // half red over white
        {0x40102030, 0xFF000000, 0xFF102030},  // over black: the premultiplied colour
        {0x10FFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},  // damaged (colour above alpha): clamped
    };
    for (const Case& c : cases) EXPECT_EQ(ComposeOverPixel(c.source, c.background), c.expected) << std::hex << c.source;
}

TEST(ComposeTest, WholeFramesAndABackgroundOfAnotherSize) {
    gfx::Bitmap frame(2, 1);
    frame.set_pixel(0, 0, 0x80800000);
    frame.set_pixel(1, 0, 0x00000000);
    gfx::Bitmap background(2, 1);
    background.set_pixel(0, 0, 0xFFFFFFFF);
    background.set_pixel(1, 0, 0xFF0000FF);
    gfx::Bitmap out;
    ComposeOver(frame, background, out);
    EXPECT_EQ(out.pixel(0, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(out.pixel(1, 0), 0xFF0000FFu);
    // A background that does not fit is taken as black rather than read out of bounds.
    ComposeOver(frame, gfx::Bitmap(1, 1), out);
    EXPECT_EQ(out.pixel(0, 0), 0xFF800000u);
    EXPECT_EQ(out.pixel(1, 0), 0xFF000000u);
}

TEST(WindowShapeTest, LayeredWindowsAreCutToTheirVisiblePixels) {
    gfx::Bitmap frame(10, 4);
    for (int x = 2; x < 8; ++x) frame.set_pixel(x, 1, 0x01000000);  // barely visible still counts
    const auto shape = ShapeForWindow(true, &frame, {}, {10, 4}, std::nullopt);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->Rects(), (std::vector<gfx::Rect>{{2, 1, 8, 2}}));

    // With a region, only what both keep.
    const auto cut = ShapeForWindow(true, &frame, {}, {10, 4}, gfx::Region(gfx::Rect{0, 0, 5, 4}));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->Rects(), (std::vector<gfx::Rect>{{2, 1, 5, 2}}));

    // A frame placed inside a larger window.
    const auto moved = ShapeForWindow(true, &frame, {3, 2}, {20, 20}, std::nullopt);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->Rects(), (std::vector<gfx::Rect>{{5, 3, 11, 4}}));
}

TEST(WindowShapeTest, WholeRectanglesNeedNoShape) {
    gfx::Bitmap opaque(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) opaque.set_pixel(x, y, 0xFF000000);
    }
    EXPECT_FALSE(ShapeForWindow(true, &opaque, {}, {4, 4}, std::nullopt));
    EXPECT_FALSE(ShapeForWindow(false, nullptr, {}, {4, 4}, std::nullopt));
    // A region larger than the window is the window.
    EXPECT_FALSE(ShapeForWindow(false, nullptr, {}, {4, 4}, gfx::Region(gfx::Rect{-5, -5, 50, 50})));
    // An ordinary window takes its region whatever its pixels are.
    const auto region = gfx::Region::RoundRect({0, 0, 41, 41}, 20, 20);
    const auto shaped = ShapeForWindow(false, &opaque, {}, {40, 40}, region);
    ASSERT_TRUE(shaped);
    EXPECT_EQ(*shaped, region);
    // Nothing visible at all is an empty shape, not the whole window.
    gfx::Bitmap clear(4, 4);
    const auto none = ShapeForWindow(true, &clear, {}, {4, 4}, std::nullopt);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->IsEmpty());
}

}  // namespace
}  // namespace vexlo::x11
