#include <gtest/gtest.h>

#include "platform/gfx/golden.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/image_resource.h"
#include "ui/core/image_style.h"
#include "ui/core/library.h"
#include "ui/core/res_manager.h"

namespace vexlo::ui {
namespace {

// Every pixel tells where it came from: red 12 x column, green 16 x row.
uint32_t SourcePixel(int x, int y) { return 0xFF0000C8u | uint32_t(x * 12) << 16 | uint32_t(y * 16) << 8; }

class PaintModes : public ::testing::Test {
protected:
    void SetUp() override {
        InitUILibrary();
        ObjectPtr<duResBase> r = manager.CreateResObj(u"pic", kResImage);
        image = static_cast<duImage*>(r.get());
        manager.AddResObj(r);
    }
    void TearDown() override { UninitUILibrary(); }

    void MakePicture(int w, int h) {
        ASSERT_EQ(image->CreateBlank(w, h), 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image->GetBits()[y * w + x] = SourcePixel(x, y);
    }
    duImageStyle& Style(const char16_t* mode) {
        style = manager.CreateStyle(kStyleImage);
        auto& s = static_cast<duImageStyle&>(*style);
        s.SetPicFile(u"pic");
        s.SetPaintMode(mode);
        return s;
    }
    gfx::Bitmap Draw(int canvasW, int canvasH, const gfx::Rect& control, int alpha = 255) {
        gfx::Bitmap canvas(canvasW, canvasH);
        gfx::DrawContext dc(canvas);
        style->Draw(dc, control, u"", alpha);
        return canvas;
    }

    duResManager manager;
    duImage* image = nullptr;
    ObjectPtr<duStyleBase> style;
};

TEST_F(PaintModes, NineGridKeepsCornersAndStretchesEdgesAndCentre) {
    MakePicture(21, 15);
    duImageStyle& s = Style(u"StretchPartAll");
    s.SetLeftPart(6);
    s.SetTopPart(6);
    s.SetRightPart(6);
    s.SetBottomPart(6);
    s.SetSelectWidth(21);
    s.SetSelectHeight(15);
    gfx::Bitmap out = Draw(198, 80, {0, 0, 198, 80});
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(out.pixel(x, y), SourcePixel(x, y));
            EXPECT_EQ(out.pixel(192 + x, y), SourcePixel(15 + x, y));
            EXPECT_EQ(out.pixel(x, 74 + y), SourcePixel(x, 9 + y));
            EXPECT_EQ(out.pixel(192 + x, 74 + y), SourcePixel(15 + x, 9 + y));
        }
    }
    // Edges: the 9 middle columns stretched to 186, the 3 middle rows to 68.
    EXPECT_EQ(out.pixel(6, 0), SourcePixel(6, 0));
    EXPECT_EQ(out.pixel(191, 3), SourcePixel(14, 3));
    EXPECT_EQ(out.pixel(2, 6), SourcePixel(2, 6));
    EXPECT_EQ(out.pixel(2, 73), SourcePixel(2, 8));
    EXPECT_EQ(out.pixel(99, 40), SourcePixel(6 + 93 * 9 / 186, 6 + 34 * 3 / 68));
    EXPECT_TRUE(gfx::CompareWithGolden(out, "ui/golden/nine_grid.png"));
}

TEST_F(PaintModes, TileCutsTheLastColumnAndRowAtTheEdges) {
    MakePicture(8, 8);
    Style(u"tile");
    gfx::Bitmap out = Draw(24, 12, {0, 0, 20, 10});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) EXPECT_EQ(out.pixel(x, y), SourcePixel(x % 8, y % 8)) << x << "," << y;
    }
    for (int y = 0; y < 12; ++y) EXPECT_EQ(out.pixel(20, y), 0u);
    for (int x = 0; x < 24; ++x) EXPECT_EQ(out.pixel(x, 10), 0u);
}

TEST_F(PaintModes, NormalDrawsTheTopLeftPartOrTheWholeSelectionAtItsSize) {
    MakePicture(23, 11);
    duImageStyle& s = Style(u"normal");
    s.SetSelectLeft(12);
    s.SetSelectWidth(11);
    s.SetSelectHeight(11);
    // Larger selection than the place: its top-left part.
    gfx::Bitmap small = Draw(30, 30, {5, 5, 11, 9});
    EXPECT_EQ(small.pixel(5, 5), SourcePixel(12, 0));
    EXPECT_EQ(small.pixel(10, 8), SourcePixel(17, 3));
    EXPECT_EQ(small.pixel(11, 5), 0u);
    EXPECT_EQ(small.pixel(5, 9), 0u);
    // Smaller selection: all of it at its own size.
    gfx::Bitmap large = Draw(30, 30, {0, 0, 20, 20});
    EXPECT_EQ(large.pixel(10, 10), SourcePixel(22, 10));
    EXPECT_EQ(large.pixel(11, 0), 0u);
}

TEST_F(PaintModes, ThreePartBandsByTheSpaceAvailable) {
    MakePicture(4, 10);
    duImageStyle& s = Style(u"stretchvert");
    s.SetTopPart(3);
    s.SetBottomPart(2);
    // Three bands: top 3 rows 1:1, bottom 2 rows at the bottom, the middle 5 stretched to 15.
    gfx::Bitmap tall = Draw(4, 20, {0, 0, 4, 20});
    EXPECT_EQ(tall.pixel(1, 2), SourcePixel(1, 2));
    EXPECT_EQ(tall.pixel(1, 3), SourcePixel(1, 3));
    EXPECT_EQ(tall.pixel(1, 17), SourcePixel(1, 7));
    EXPECT_EQ(tall.pixel(1, 18), SourcePixel(1, 8));
    EXPECT_EQ(tall.pixel(1, 19), SourcePixel(1, 9));
    // Less room than both bands: the top band, then the middle rows over the rest.
    gfx::Bitmap squeezed = Draw(4, 4, {0, 0, 4, 4});
    EXPECT_EQ(squeezed.pixel(0, 2), SourcePixel(0, 2));
    const int sampledRow = gfx::GreenOf(squeezed.pixel(0, 3)) / 16;
    EXPECT_TRUE(sampledRow >= 3 && sampledRow <= 7) << "a middle row, got " << sampledRow;
    // Top band taller than the place: only its first rows, stretched in width.
    s.SetTopPart(6);
    gfx::Bitmap low = Draw(8, 2, {0, 0, 8, 2});
    EXPECT_EQ(low.pixel(0, 1), SourcePixel(0, 1));
    EXPECT_EQ(low.pixel(7, 1), SourcePixel(3, 1));

    duImageStyle& h = Style(u"STRETCHHORZ");
    h.SetLeftPart(1);
    h.SetRightPart(1);
    gfx::Bitmap wide = Draw(12, 10, {0, 0, 12, 10});
    EXPECT_EQ(wide.pixel(0, 4), SourcePixel(0, 4));
    EXPECT_EQ(wide.pixel(11, 4), SourcePixel(3, 4));
    EXPECT_EQ(wide.pixel(5, 4), SourcePixel(1 + 4 * 2 / 10, 4));
}

TEST_F(PaintModes, StretchAndConstantAlpha) {
    MakePicture(4, 4);
    Style(u"stretch");
    gfx::Bitmap out = Draw(8, 8, {0, 0, 8, 8}, 128);
    EXPECT_EQ(gfx::AlphaOf(out.pixel(7, 7)), 128);
    EXPECT_LE(gfx::RedOf(out.pixel(7, 7)), 128);
    EXPECT_TRUE(gfx::CompareWithGolden(out, "ui/golden/stretch_half_alpha.png"));
    EXPECT_EQ(Draw(8, 8, {0, 0, 8, 8}, 0), gfx::Bitmap(8, 8)) << "alpha 0 draws nothing";
}

TEST_F(PaintModes, SelectionsAndPartsNeverReachOutsideThePicture) {
    MakePicture(6, 6);
    struct Case {
        const char16_t* mode;
        int selLeft, selTop, selWidth, selHeight, part;
    } cases[] = {
        {u"normal", 4, 4, 100, 100, 0},       {u"stretch", -50, -50, 60, 60, 0}, {u"tile", 5, 5, 9, 9, 0},
        {u"stretchpartall", 0, 0, 6, 6, 500}, {u"stretchvert", 2, 2, 50, 50, -3}, {u"stretchhorz", 0, 0, 0, 0, 99},
        {u"stretch", 100, 100, 5, 5, 0},      {u"tile", INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0},
    };
    for (const Case& c : cases) {
        duImageStyle& s = Style(c.mode);
        s.SetSelectLeft(c.selLeft);
        s.SetSelectTop(c.selTop);
        s.SetSelectWidth(c.selWidth);
        s.SetSelectHeight(c.selHeight);
        s.SetLeftPart(c.part);
        s.SetTopPart(c.part);
        s.SetRightPart(c.part);
        s.SetBottomPart(c.part);
        gfx::Bitmap out = Draw(20, 20, {0, 0, 20, 20});  // the sanitizer build catches a stray read
        if (c.selLeft == 4 && c.mode == std::u16string_view(u"normal")) {
            EXPECT_EQ(out.pixel(0, 0), SourcePixel(4, 4)) << "cut to the picture";
            EXPECT_EQ(out.pixel(2, 0), 0u);
        }
    }
    // A selection wholly outside the picture draws nothing.
    duImageStyle& outside = Style(u"stretch");
    outside.SetSelectLeft(100);
    outside.SetSelectWidth(5);
    outside.SetSelectHeight(5);
    EXPECT_EQ(Draw(10, 10, {0, 0, 10, 10}), gfx::Bitmap(10, 10));
}

TEST_F(PaintModes, NothingIsDrawnWithoutAPictureOrAKnownMode) {
    MakePicture(4, 4);
    Style(u"mirror");
    EXPECT_EQ(Draw(8, 8, {0, 0, 8, 8}), gfx::Bitmap(8, 8));
    duImageStyle& s = Style(u"stretch");
    s.SetPicFile(u"absent");
    EXPECT_EQ(Draw(8, 8, {0, 0, 8, 8}), gfx::Bitmap(8, 8));
    gfx::Bitmap canvas(4, 4);
    gfx::DrawContext dc(canvas);
    BlitImage(nullptr, dc, 0, 0, 4, 4, 0, 0, 255);
    duImage empty;
    DrawNinePart(&empty, dc, {0, 0, 4, 4}, {0, 0, 4, 4}, 1, 1, 1, 1, 255);
    EXPECT_EQ(canvas, gfx::Bitmap(4, 4));
}

}  // namespace
}  // namespace vexlo::ui
