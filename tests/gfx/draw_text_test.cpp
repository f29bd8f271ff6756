#include "platform/gfx/draw_context.h"
#include "platform/text/text_format.h"
#include "tests/gfx/pixel_helpers.h"

#include <gtest/gtest.h>

namespace vexlo::gfx {
namespace {

using namespace vexlo::text;
using testing::ChangedBounds;
using testing::Filled;

class DrawTextTest : public ::testing::Test {
protected:
    FontPtr font_ = Font::Create(FontRequest{u"微软雅黑", -12});
    int LineHeight() const { return font_->metrics().height; }
    int Width(std::u16string_view s) const { return MeasureLine(*font_, s).width; }
    // Where ink lands when the text is drawn into a white rectangle.
    Rect Ink(std::u16string_view s, Rect rect, unsigned flags, Size size = {100, 60}) {
        Bitmap b = Filled(size.width, size.height, 0xFFFFFFFFu);
        const Bitmap before = b;
        DrawContext dc(b);
        dc.SelectFont(font_);
        dc.DrawText(s, rect, flags);
        return ChangedBounds(before, b);
    }
};

TEST_F(DrawTextTest, ColourBytesChangeAndAlphaStays) {
    // Every pixel a different alpha, colour bytes at or below it (valid premultiplied).
    Bitmap b(60, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const uint8_t a = static_cast<uint8_t>((x * 7 + y * 13) % 256);
            b.set_pixel(x, y, PremultipliedPixel(a, 200, 200, 200));
        }
    const Bitmap before = b;
    DrawContext dc(b);
    dc.SelectFont(font_);
    dc.SetTextColor(MakeColorRef(255, 0, 0));
    Rect r{0, 0, 60, 20};
    EXPECT_EQ(dc.DrawText(u"更新 Vexlo", r, DT_SINGLELINE | DT_VCENTER), LineHeight());
    int changed = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(AlphaOf(b.pixel(x, y)), AlphaOf(before.pixel(x, y))) << x << "," << y;
            if (b.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                EXPECT_LE(GreenOf(b.pixel(x, y)), GreenOf(before.pixel(x, y)));  // towards red
            }
        }
    EXPECT_GT(changed, 50);
    // A fully covered pixel takes the text colour in its colour bytes whatever its alpha.
    bool sawFullCoverage = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if ((b.pixel(x, y) & 0x00FFFFFFu) == 0x00FF0000u && AlphaOf(b.pixel(x, y)) < 255) sawFullCoverage = true;
    EXPECT_TRUE(sawFullCoverage);
}

TEST_F(DrawTextTest, TextOnTransparentPixelsStaysTransparentUnlessBlended) {
    Bitmap preserved(40, 20), blended(40, 20);
    for (Bitmap* b : {&preserved, &blended}) {
        DrawContext dc(*b);
        dc.SelectFont(font_);
        dc.SetTextColor(MakeColorRef(0, 0, 255));
        if (b == &blended) dc.SetTextAlphaMode(TextAlphaMode::kBlend);
        Rect r{0, 0, 40, 20};
        dc.DrawText(u"安装", r, DT_SINGLELINE);
    }
    bool colourWithoutAlpha = false, alphaFromText = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            EXPECT_EQ(AlphaOf(preserved.pixel(x, y)), 0);
            if (BlueOf(preserved.pixel(x, y)) > 0) colourWithoutAlpha = true;
            const uint32_t p = blended.pixel(x, y);
            EXPECT_LE(BlueOf(p), AlphaOf(p));  // valid premultiplied
            if (AlphaOf(p) > 200 && BlueOf(p) + 2 >= AlphaOf(p)) alphaFromText = true;
        }
    EXPECT_TRUE(colourWithoutAlpha);
    EXPECT_TRUE(alphaFromText);
}

TEST_F(DrawTextTest, AlignmentPlacesTheLine) {
    const std::u16string text = u"下载";
    const int w = Width(text);
    const Rect box{10, 5, 90, 55};
    struct Case {
        unsigned flags;
        int left;  // expected start of the line box
        int top;
    };
    const Case cases[] = {
        {DT_SINGLELINE, 10, 5},
        {DT_SINGLELINE | DT_CENTER, 10 + (80 - w) / 2, 5},
        {DT_SINGLELINE | DT_RIGHT, 90 - w, 5},
        {DT_SINGLELINE | DT_VCENTER, 10, 5 + (50 - LineHeight()) / 2},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 90 - w, 55 - LineHeight()},
        {DT_VCENTER | DT_BOTTOM, 10, 5},  // vertical placement needs a single line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        const Rect ink = Ink(text, box, c.flags);
        ASSERT_FALSE(ink.IsEmpty());
        EXPECT_GE(ink.left, c.left);
        EXPECT_LE(ink.right, c.left + w + 1);
        EXPECT_LE(ink.left, c.left + 2);
        EXPECT_GE(ink.top, c.top);
        EXPECT_LE(ink.bottom, c.top + LineHeight());
    }
}

TEST_F(DrawTextTest, CalcRectMeasuresWithoutDrawing) {
    Bitmap b(100, 100);
    DrawContext dc(b);
    dc.SelectFont(font_);
    Rect single{5, 5, 6, 6};
    EXPECT_EQ(dc.DrawText(u"更新下载", single, DT_SINGLELINE | DT_CALCRECT), LineHeight());
    EXPECT_EQ(single, (Rect{5, 5, 5 + Width(u"更新下载"), 5 + LineHeight()}));
    Rect wrapped{0, 0, Width(u"更新"), 0};
    EXPECT_EQ(dc.DrawText(u"更新下载完成", wrapped, DT_WORDBREAK | DT_CALCRECT), 3 * LineHeight());
    EXPECT_EQ(wrapped, (Rect{0, 0, Width(u"更新"), 3 * LineHeight()}));
    Rect empty{3, 3, 50, 50};
    EXPECT_EQ(dc.DrawText(u"", empty, DT_CALCRECT), 0);
    EXPECT_EQ(empty, (Rect{3, 3, 3, 3}));
    EXPECT_EQ(b, Bitmap(100, 100));
    EXPECT_EQ(dc.GetTextExtent(u"更新"), (Size{Width(u"更新"), LineHeight()}));
}

TEST_F(DrawTextTest, WrappedLinesAreCentredOneByOne) {
    const Rect box{0, 0, Width(u"更新下"), 60};
    const Rect ink = Ink(u"更新下载", box, DT_WORDBREAK | DT_CENTER);
    EXPECT_GT(ink.bottom, LineHeight());  // two lines
    // The second line ("载") is centred: nothing of it in the first or last quarter.
    Bitmap b = Filled(100, 60, 0xFFFFFFFFu);
    DrawContext dc(b);
    dc.SelectFont(font_);
    Rect r = box;
    dc.DrawText(u"更新下载", r, DT_WORDBREAK | DT_CENTER);
    const Rect secondLine = ChangedBounds(Filled(100, 60, 0xFFFFFFFFu), [&] {
        Bitmap only = Filled(100, 60, 0xFFFFFFFFu);
        for (int y = LineHeight(); y < 60; ++y)
            for (int x = 0; x < 100; ++x) only.set_pixel(x, y, b.pixel(x, y));
        return only;
    }());
    const int expectedLeft = (box.width() - Width(u"载")) / 2;
    EXPECT_GE(secondLine.left, expectedLeft);
    EXPECT_LE(secondLine.right, expectedLeft + Width(u"载") + 1);
}

TEST_F(DrawTextTest, TextIsCutAtTheRectangleUnlessNoClip) {
    const Rect box{10, 10, 20, 30};
    const Rect cut = Ink(u"更新下载完成", box, DT_SINGLELINE);
    EXPECT_GE(cut.left, 10);
    EXPECT_LE(cut.right, 20);
    const Rect free = Ink(u"更新下载完成", box, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(free.right, 40);
    // The context's clip and origin apply as well.
    Bitmap b = Filled(100, 60, 0xFFFFFFFFu);
    DrawContext dc(b);
    dc.SelectFont(font_);
    dc.SetOrigin({30, 20});
    dc.IntersectClipRect(Rect{0, 0, 12, 100});
    Rect r{0, 0, 100, 30};
    dc.DrawText(u"更新下载", r, DT_SINGLELINE);
    const Rect ink = ChangedBounds(Filled(100, 60, 0xFFFFFFFFu), b);
    EXPECT_GE(ink.left, 30);
    EXPECT_LE(ink.right, 42);
    EXPECT_GE(ink.top, 20);
}

TEST_F(DrawTextTest, UnderlinesFromTheFontAndFromPrefixes) {
    const FontPtr underlined = Font::Create(FontRequest{u"微软雅黑", -12, 400, false, true});
    Bitmap b = Filled(100, 30, 0xFFFFFFFFu);
    DrawContext dc(b);
    dc.SelectFont(underlined);
    Rect r{0, 0, 100, 30};
    dc.DrawText(u"a b", r, DT_SINGLELINE);
    const int y = underlined->metrics().ascent + underlined->metrics().underlinePosition;
    // The line runs under the whole text, the space included.
    for (int x = 0; x < Width(u"a b"); ++x) EXPECT_EQ(b.pixel(x, y) & 0x00FFFFFFu, 0u) << x;
    EXPECT_EQ(b.pixel(Width(u"a b") + 1, y), 0xFFFFFFFFu);

    Bitmap p = Filled(100, 30, 0xFFFFFFFFu);
    DrawContext pdc(p);
    pdc.SelectFont(font_);
    Rect pr{0, 0, 100, 30};
    pdc.DrawText(u"x&y", pr, DT_SINGLELINE);
    const int py = font_->metrics().ascent + font_->metrics().underlinePosition;
    EXPECT_EQ(p.pixel(Width(u"x") + 1, py) & 0x00FFFFFFu, 0u);  // under y
    EXPECT_EQ(p.pixel(1, py), 0xFFFFFFFFu);  // not under x
}

TEST_F(DrawTextTest, DefaultFontAndStateRestore) {
    Bitmap b(10, 10);
    DrawContext dc(b);
    EXPECT_EQ(dc.font(), Font::DefaultGui());
    dc.Save();
    dc.SelectFont(font_);
    dc.SetTextColor(MakeColorRef(1, 2, 3));
    EXPECT_EQ(dc.font(), font_);
    dc.Restore();
    EXPECT_EQ(dc.font(), Font::DefaultGui());
    EXPECT_EQ(dc.textColor(), 0u);
    EXPECT_EQ(dc.SetTextColor(0x12345678u), 0u);
    EXPECT_EQ(dc.textColor(), 0x00345678u);
}

TEST_F(DrawTextTest, HostileRectanglesDoNotOverflow) {
    Bitmap b(20, 20);
    DrawContext dc(b);
    dc.SelectFont(font_);
    const int big = std::numeric_limits<int>::max();
    const int small = std::numeric_limits<int>::min();
    for (Rect r : {Rect{small, small, big, big}, Rect{big - 1, big - 1, big, big}, Rect{small, 0, small + 1, 20}}) {
        for (unsigned flags : {DT_SINGLELINE | DT_CENTER | DT_VCENTER, DT_WORDBREAK | DT_RIGHT, DT_CALCRECT}) {
            Rect copy = r;
            dc.DrawText(u"更新 download", copy, flags);
        }
    }
    SUCCEED();
}

}  // namespace
}  // namespace vexlo::gfx
