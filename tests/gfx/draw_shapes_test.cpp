#include "platform/gfx/draw_context.h"
#include "tests/gfx/pixel_helpers.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace vexlo::gfx {
namespace {

using testing::ChangedBounds;
using testing::Filled;
using testing::MaxChannelDifference;

std::string RowPattern(const Bitmap& b, int y, int from, int to) {
    std::string s;
    for (int x = from; x < to; ++x) s += AlphaOf(b.pixel(x, y)) > 127 ? '#' : '.';
    return s;
}

TEST(ShapeTest, OnePixelRectangleOutlineRunsThroughTheEdgePixels) {
    for (Smoothing smoothing : {Smoothing::kNone, Smoothing::kAntiAlias}) {
        Bitmap b(12, 12);
        DrawContext dc(b);
        dc.SetSmoothing(smoothing);
        dc.SetOrigin({1, 1});
        // A rect style on (0, 0, 10, 10) draws (0, 0, 9, 9).
        dc.DrawRectangle(Pen{0xFF0000FFu, 1}, 0, 0, 9, 9);
        EXPECT_EQ(ChangedBounds(Bitmap(12, 12), b), (Rect{1, 1, 11, 11}));
        for (int i = 1; i <= 10; ++i) {
            EXPECT_EQ(b.pixel(i, 1), 0xFF0000FFu);
            EXPECT_EQ(b.pixel(i, 10), 0xFF0000FFu);
            EXPECT_EQ(b.pixel(1, i), 0xFF0000FFu);
            EXPECT_EQ(b.pixel(10, i), 0xFF0000FFu);
        }
        EXPECT_EQ(b.pixel(2, 2), 0u);
        EXPECT_EQ(b.pixel(9, 9), 0u);
    }
}

TEST(ShapeTest, LineCoversBothEndPixelsWithPremultipliedColour) {
    Bitmap b(100, 3);
    DrawContext dc(b);
    dc.DrawLine(Pen{MakeArgb(128, 255, 0, 0), 1}, 0, 1, 99, 1);
    EXPECT_EQ(ChangedBounds(Bitmap(100, 3), b), (Rect{0, 1, 100, 2}));
    EXPECT_LE(MaxChannelDifference(b.pixel(99, 1), 0x80800000u), 1);
    // A zero width draws the thinnest line, not nothing.
    Bitmap thin(5, 1);
    DrawContext thinDc(thin);
    thinDc.DrawLine(Pen{0xFFFFFFFFu, 0}, 0, 0, 4, 0);
    EXPECT_EQ(RowPattern(thin, 0, 0, 5), "#####");
}

TEST(ShapeTest, DashStylesFollowThePenPatterns) {
    struct Case {
        DashStyle dash;
        const char* pattern;
    };
    const Case cases[] = {
        {DashStyle::kSolid, "########################"},
        {DashStyle::kDash, "###.###.###.###.###.###."},
        {DashStyle::kDot, "#.#.#.#.#.#.#.#.#.#.#.#."},
        {DashStyle::kDashDot, "###.#.###.#.###.#.###.#."},
        {DashStyle::kDashDotDot, "###.#.#.###.#.#.###.#.#."},
    };
    for (const Case& c : cases) {
        Bitmap b(24, 1);
        DrawContext dc(b);
        dc.DrawLine(Pen{0xFF000000u, 1, c.dash}, 0, 0, 23, 0);
        EXPECT_EQ(RowPattern(b, 0, 0, 24), c.pattern) << static_cast<int>(c.dash);
    }
    // Patterns scale with the pen width, and the stroke is as wide as the pen.
    Bitmap wide(24, 4);
    DrawContext dc(wide);
    dc.DrawLine(Pen{0xFF000000u, 3, DashStyle::kDash}, 0, 1, 23, 1);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(RowPattern(wide, y, 0, 24), "#########...#########...") << y;
    EXPECT_EQ(RowPattern(wide, 3, 0, 24), "........................");
}

TEST(ShapeTest, FillRectangleAntialiasedHasPartialEdges) {
    Bitmap crisp(6, 6), soft(6, 6);
    DrawContext crispDc(crisp), softDc(soft);
    crispDc.FillRectangle(0xFF00FF00u, 1, 1, 4, 4);
    EXPECT_EQ(ChangedBounds(Bitmap(6, 6), crisp), (Rect{1, 1, 5, 5}));
    softDc.SetSmoothing(Smoothing::kAntiAlias);
    softDc.FillRectangle(0xFF00FF00u, 1.5f, 1, 3, 4);
    EXPECT_NEAR(AlphaOf(soft.pixel(1, 2)), 128, 2);
    EXPECT_EQ(soft.pixel(2, 2), 0xFF00FF00u);
    EXPECT_NEAR(GreenOf(soft.pixel(4, 2)), 128, 2);  // premultiplied: green follows alpha
}

TEST(ShapeTest, EllipseAndPieCoverTheirAreas) {
    Bitmap b(40, 40);
    DrawContext dc(b);
    dc.SetSmoothing(Smoothing::kAntiAlias);
    dc.FillEllipse(0xFFFFFFFFu, 0, 0, 40, 40);
    EXPECT_EQ(b.pixel(20, 20), 0xFFFFFFFFu);
    EXPECT_EQ(b.pixel(0, 0), 0u);
    EXPECT_EQ(b.pixel(39, 39), 0u);
    EXPECT_EQ(b.pixel(20, 1), 0xFFFFFFFFu);

    // A pie from twelve o'clock, clockwise over a quarter: the top-right quadrant only.
    Bitmap pie(40, 40);
    DrawContext pieDc(pie);
    pieDc.SetSmoothing(Smoothing::kAntiAlias);
    pieDc.FillPie(0xFFFF0000u, 0, 0, 40, 40, 270, 90);
    EXPECT_EQ(pie.pixel(30, 10), 0xFFFF0000u);
    EXPECT_EQ(pie.pixel(10, 10), 0u);
    EXPECT_EQ(pie.pixel(30, 30), 0u);
    EXPECT_EQ(pie.pixel(10, 30), 0u);
    // Three quarters: everything but the top-left quadrant.
    Bitmap most(40, 40);
    DrawContext mostDc(most);
    mostDc.FillPie(0xFFFF0000u, 0, 0, 40, 40, 270, 270);
    EXPECT_EQ(most.pixel(30, 30), 0xFFFF0000u);
    EXPECT_EQ(most.pixel(10, 30), 0xFFFF0000u);
    EXPECT_EQ(most.pixel(10, 10), 0u);
    // On an ellipse, angles are true angles: 45 degrees passes through the corner
    // direction of a wide box's diagonal only for a circle.
    Bitmap wide(80, 20);
    DrawContext wideDc(wide);
    wideDc.FillPie(0xFFFF0000u, 0, 0, 80, 20, 0, 45);
    EXPECT_EQ(wide.pixel(50, 13), 0xFFFF0000u);  // 12 degrees below the x axis
    EXPECT_EQ(wide.pixel(44, 18), 0u);  // 63 degrees
}

TEST(ShapeTest, ShapesHonourClipAndRejectNonFiniteInput) {
    Bitmap b(10, 10);
    DrawContext dc(b);
    dc.IntersectClipRect(Rect{0, 0, 5, 10});
    dc.FillEllipse(0xFFFFFFFFu, 0, 0, 10, 10);
    EXPECT_EQ(ChangedBounds(Bitmap(10, 10), b).right, 5);
    const Bitmap before = b;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    dc.DrawLine(Pen{0xFFFFFFFFu, 1}, 0, 0, nan, 3);
    dc.FillRectangle(0xFFFFFFFFu, 0, 0, inf, 3);
    dc.DrawRectangle(Pen{0xFFFFFFFFu, inf}, 0, 0, 3, 3);
    dc.FillPie(0xFFFFFFFFu, 0, 0, 10, 10, 0, nan);
    EXPECT_EQ(b, before);
}

}  // namespace
}  // namespace vexlo::gfx
