#include "platform/gfx/region.h"

#include <gtest/gtest.h>

#include <vector>

namespace vexlo::gfx {
namespace {

int PixelCount(const Region& region) {
    int count = 0;
    for (const Rect& r : region.Rects()) count += r.width() * r.height();
    return count;
}

TEST(RegionTest, RectangleExcludesRightAndBottomEdges) {
    Region region(Rect{2, 3, 5, 7});
    EXPECT_TRUE(region.Contains(2, 3));
    EXPECT_TRUE(region.Contains(4, 6));
    EXPECT_FALSE(region.Contains(5, 6));
    EXPECT_FALSE(region.Contains(4, 7));
    EXPECT_EQ(region.Bounds(), (Rect{2, 3, 5, 7}));
    EXPECT_TRUE(Region(Rect{5, 5, 5, 9}).IsEmpty());
    EXPECT_TRUE(Region(Rect{5, 5, 2, 9}).IsEmpty());
    EXPECT_EQ(Region().Bounds(), Rect{});
}

TEST(RegionTest, CombinationsGiveExpectedPixels) {
    const Region a(Rect{0, 0, 10, 10});
    const Region b(Rect{5, 5, 15, 15});
    struct Case {
        const char* name;
        Region result;
        int pixels;
        Point inside;
        Point outside;
    };
    const std::vector<Case> cases = {
        {"union", Region(a).Union(b), 175, {12, 12}, {12, 2}},
        {"difference", Region(a).Subtract(b), 75, {2, 8}, {7, 7}},
        {"intersection", Region(a).Intersect(b), 25, {7, 7}, {2, 2}},
        {"xor", Region(a).Xor(b), 150, {12, 12}, {7, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PixelCount(c.result), c.pixels);
        EXPECT_TRUE(c.result.Contains(c.inside));
        EXPECT_FALSE(c.result.Contains(c.outside));
    }
    EXPECT_TRUE(Region(a).Intersect(Rect{20, 20, 30, 30}).IsEmpty());
    EXPECT_TRUE(Region(a).Intersect(Rect{}).IsEmpty());
}

TEST(RegionTest, OffsetMovesEveryRectangle) {
    Region region(Rect{0, 0, 4, 4});
    region.Union(Rect{10, 0, 12, 2}).Offset(-3, 5);
    EXPECT_EQ(region.Bounds(), (Rect{-3, 5, 9, 9}));
    EXPECT_TRUE(region.Contains(-3, 5));
    EXPECT_TRUE(region.Contains(8, 6));
    EXPECT_FALSE(region.Contains(8, 8));
}

TEST(RegionTest, IntersectsReportsPartialOverlap) {
    const Region region(Rect{0, 0, 10, 10});
    EXPECT_TRUE(region.Intersects(Rect{9, 9, 20, 20}));
    EXPECT_FALSE(region.Intersects(Rect{10, 0, 20, 10}));
    EXPECT_FALSE(region.Intersects(Rect{5, 5, 5, 6}));
}

TEST(RegionTest, RoundRectIsOnePixelSmallerAndCutsCorners) {
    // The skin's window region: (0, 0, w + 1, h + 1) with 15 by 15 corners covers w by h.
    const Region region = Region::RoundRect(Rect{0, 0, 199, 81}, 15, 15);
    EXPECT_EQ(region.Bounds(), (Rect{0, 0, 198, 80}));
    for (Point corner : {Point{0, 0}, Point{197, 0}, Point{0, 79}, Point{197, 79}, Point{1, 1}}) {
        EXPECT_FALSE(region.Contains(corner)) << corner.x << "," << corner.y;
    }
    for (Point p : {Point{7, 0}, Point{190, 0}, Point{0, 7}, Point{197, 40}, Point{99, 79}, Point{4, 4}}) {
        EXPECT_TRUE(region.Contains(p)) << p.x << "," << p.y;
    }
    // Corners are symmetric: every row's span is mirrored left to right.
    for (const Rect& r : region.Rects()) EXPECT_EQ(r.left, 198 - r.right);
    // Rows of the top corner band mirror those of the bottom band.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) EXPECT_EQ(region.Contains(x, y), region.Contains(x, 79 - y)) << x << "," << y;
    }
}

TEST(RegionTest, RoundRectDegenerateInputs) {
    EXPECT_TRUE(Region::RoundRect(Rect{0, 0, 1, 1}, 5, 5).IsEmpty());
    EXPECT_EQ(Region::RoundRect(Rect{0, 0, 11, 11}, 0, 0), Region(Rect{0, 0, 10, 10}));
    // An ellipse larger than the shape is limited to it: a circle-ish shape, no overflow.
    const Region huge = Region::RoundRect(Rect{0, 0, 21, 21}, 1 << 30, -(1 << 30));
    EXPECT_EQ(huge.Bounds(), (Rect{0, 0, 20, 20}));
    EXPECT_TRUE(huge.Contains(10, 10));
    EXPECT_FALSE(huge.Contains(1, 1));
}

TEST(RegionTest, FromRectsScalesAndUnites) {
    const std::vector<Rect> rects = {{0, 0, 10, 5}, {0, 5, 4, 10}, {2, 2, 2, 8}};
    const Region same = Region::FromRects(rects);
    EXPECT_EQ(PixelCount(same), 70);
    const Region scaled = Region::FromRects(rects, 2.0f, 0.5f);
    EXPECT_EQ(scaled.Bounds(), (Rect{0, 0, 20, 5}));
    EXPECT_TRUE(scaled.Contains(19, 2));
    EXPECT_FALSE(scaled.Contains(19, 3));
    EXPECT_TRUE(scaled.Contains(7, 4));
    EXPECT_TRUE(Region::FromRects({}).IsEmpty());
    // Rectangles that shrink to nothing are dropped rather than kept inverted.
    const std::vector<Rect> thin = {{0, 0, 1, 1}};
    EXPECT_TRUE(Region::FromRects(thin, 0.1f, 0.1f).IsEmpty());
}

TEST(RegionTest, FromAlphaKeepsEveryPixelThatIsNotTransparent) {
    Bitmap b(5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) b.set_pixel(x, y, 0x01000000u);
    b.set_pixel(0, 0, 0x00FFFFFFu);  // colour without alpha still counts as transparent
    b.set_pixel(4, 0, 0);
    b.set_pixel(2, 2, 0);
    const Region region = Region::FromAlpha(b);
    EXPECT_EQ(PixelCount(region), 17);
    EXPECT_FALSE(region.Contains(0, 0));
    EXPECT_FALSE(region.Contains(2, 2));
    EXPECT_TRUE(region.Contains(1, 0));
    EXPECT_TRUE(region.Contains(4, 3));
    EXPECT_EQ(region.Bounds(), (Rect{0, 0, 5, 4}));
    EXPECT_TRUE(Region::FromAlpha(Bitmap(3, 3)).IsEmpty());
    EXPECT_TRUE(Region::FromAlpha(Bitmap()).IsEmpty());
}

TEST(RegionTest, CopiesAndMovesAreIndependent) {
    Region original(Rect{0, 0, 5, 5});
    Region copy = original;
    copy.Union(Rect{10, 10, 12, 12});
    EXPECT_FALSE(original.Contains(10, 10));
    Region moved = std::move(copy);
    EXPECT_TRUE(moved.Contains(10, 10));
    moved = original;
    EXPECT_EQ(moved, original);
}

}  // namespace
}  // namespace vexlo::gfx
