#include <gtest/gtest.h>

#include "platform/gfx/golden.h"
#include "ui/core/attribute_values.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/font_resource.h"
#include "ui/core/image_resource.h"
#include "ui/core/image_style.h"
#include "ui/core/library.h"
#include "ui/core/res_manager.h"
#include "ui/core/shape_styles.h"
#include "ui/core/state.h"
#include "ui/core/style_group.h"
#include "ui/core/text_style.h"

namespace vexlo::ui {
namespace {

TEST(PlaceStyleRect, OffsetsFixedSizesAndTheWholeRectangle) {
    const gfx::Rect c{0, 0, 100, 50};
    struct Case {
        StylePlacement p;
        gfx::Rect expected;
    } cases[] = {
        {{29, 8, 0, 0, 0, 0}, {29, 8, 100, 50}},
        {{-20, 0, 0, 0, 16, 0}, {80, 0, 96, 50}},
        {{0, -10, 0, 0, 0, 8}, {0, 40, 100, 48}},
        {{0, 0, 0, 0, 0, 0}, c},
        {{0, 0, -100, -50, 0, 0}, c},  // zero width and height: the control's rectangle
        {{8, 8, 0, 0, 16, 16}, {8, 8, 24, 24}},
        {{0, 0, 5, 5, 0, 0}, {0, 0, 105, 55}},
        {{INT32_MIN, 0, INT32_MAX, 0, 10, 0}, {INT32_MIN + 100, 0, INT32_MIN + 110, 50}},  // saturating, no overflow
    };
    for (const Case& k : cases) {
        gfx::Rect control = c;
        EXPECT_EQ(PlaceStyleRect(k.p, control), k.expected) << k.p.left << "," << k.p.top;
        EXPECT_EQ(control, c);
    }
}

// A style that records the order it is drawn in.
class Recorder : public duStyleBase {
public:
    Recorder(int kind, uint32_t state, std::vector<int>& log, int id) : kind_(kind), log_(log), id_(id) {
        SetState(state);
    }
    int GetStyleType() const override { return kind_; }
    void Draw(gfx::DrawContext&, const gfx::Rect&, std::u16string_view, int) override { log_.push_back(id_); }
    ObjectPtr<duStyleBase> Clone() const override { return nullptr; }

private:
    int kind_;
    std::vector<int>& log_;
    int id_;
};

class StyleGroups : public ::testing::Test {
protected:
    void SetUp() override { InitUILibrary(); }
    void TearDown() override { UninitUILibrary(); }
    duResManager manager;
};

TEST_F(StyleGroups, DrawTheStylesWhoseStateSharesABitInListOrder) {
    std::vector<int> log;
    duStyleGroup g;
    g.AddStyle(ObjectPtr<duStyleBase>(new Recorder(kStyleImage, kStateNormal, log, 1)));
    g.AddStyle(ObjectPtr<duStyleBase>(new Recorder(kStyleImage, kStateOver, log, 2)));
    g.AddStyle(ObjectPtr<duStyleBase>(new Recorder(kStyleText, kStateAll, log, 3)));
    g.AddStyle(ObjectPtr<duStyleBase>(new Recorder(kStyleText, kStateOver, log, 4)));
    g.AddStyle(ObjectPtr<duStyleBase>(new Recorder(kStyleRect, kStateCheckedAll, log, 5)));
    gfx::Bitmap canvas(4, 4);
    gfx::DrawContext dc(canvas);
    struct Case {
        uint32_t state;
        int variant;  // 0 all, 1 without text, 2 text only
        std::vector<int> drawn;
    } cases[] = {
        {kStateNormal, 0, {1, 3}},     {kStateOver, 0, {2, 3, 4}}, {kStateOver, 1, {2}},
        {kStateOver, 2, {3, 4}},       {kStateCheckedOver, 0, {3, 5}}, {0, 0, {}},
        {kStateNormal | kStateOver, 0, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        log.clear();
        if (c.variant == 0) g.Draw(dc, {0, 0, 4, 4}, c.state, u"t", 255);
        if (c.variant == 1) g.DrawWithoutText(dc, {0, 0, 4, 4}, c.state, u"t", 255);
        if (c.variant == 2) g.DrawTextOnly(dc, {0, 0, 4, 4}, c.state, u"t", 255);
        EXPECT_EQ(log, c.drawn) << "state " << c.state << " variant " << c.variant;
    }
}

TEST_F(StyleGroups, MovesAndDeletesStylesWithinBounds) {
    std::vector<int> log;
    duStyleGroup g;
    for (int i = 1; i <= 3; ++i) g.AddStyle(ObjectPtr<duStyleBase>(new Recorder(kStyleLine, 1, log, i)));
    auto order = [&] {
        log.clear();
        gfx::Bitmap b(1, 1);
        gfx::DrawContext dc(b);
        g.Draw(dc, {0, 0, 1, 1}, 1, u"", 255);
        return log;
    };
    EXPECT_EQ(g.MoveStyleDown(2), 0);
    EXPECT_EQ(g.MoveStyleUp(0), 0);
    EXPECT_EQ(g.MoveStyleUp(3), 0);
    EXPECT_EQ(g.MoveStyleDown(-1), 0);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(g.MoveStyleDown(0), 1);
    EXPECT_EQ(order(), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(g.MoveStyleUp(2), 1);
    EXPECT_EQ(order(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(g.DeleteStyle(3), 0);
    EXPECT_EQ(g.DeleteStyle(1), 1);
    EXPECT_EQ(order(), (std::vector<int>{2, 1}));
    EXPECT_EQ(g.GetStyleAt(2), nullptr);
    EXPECT_EQ(g.GetStyleAt(-1), nullptr);
}

TEST_F(StyleGroups, ReadStylesFromTheirElementsWithTheReadersOfEachKind) {
    auto doc = SkinDocument::Parse(
        u"<style name=\"g\"><IMAGE picfile=\"box_9\" paintmode=\"stretchpartall\" left_part=\"6\" selectwidth=\"21\" "
        u"state=\"all\"/><unknown/><text textcolor=\"RGB(14,151,230)\" font=\"default\" halign=\"Center\" "
        u"valign=\"bottom\" bsingleline=\"FALSE\" left=\"29\" top=\"8\"/><text/>"
        u"<rect fillcolor=\"RGB(1,2,3)\" bfill=\"true\" fill=\"false\" border=\"true\" bordertype=\"DashDot\"/>"
        u"<line color=\"RGB(9,9,9)\" linewidth=\"3\" startpoint=\"(1,2)\" endpoint=\"(-1,x)\"/></style>");
    duStyleGroup g;
    g.SetResManager(&manager);
    g.CreateFromXml(doc->TopLevel(u"style"));
    ASSERT_EQ(g.GetStyleCount(), 5);
    auto* image = dynamic_cast<duImageStyle*>(g.GetStyleAt(0));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetState(), uint32_t{kStateAll});
    EXPECT_EQ(image->GetLeftPart(), 6);
    EXPECT_EQ(image->GetSelectWidth(), 21);
    EXPECT_EQ(image->resManager(), &manager);
    auto* text = dynamic_cast<duTextStyle*>(g.GetStyleAt(1));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetTextColor(), 15111950u);
    EXPECT_EQ(text->GetSingleLine(), 0);
    EXPECT_EQ(text->Flags(), unsigned{kTextCenter | kTextBottom});
    EXPECT_EQ(text->GetLeft(), 29);
    auto* bare = dynamic_cast<duTextStyle*>(g.GetStyleAt(2));
    EXPECT_EQ(bare->GetTextColor(), kWhite) << "the common colour reader gives white when absent";
    EXPECT_EQ(bare->GetState(), uint32_t{kStateNormal});
    EXPECT_EQ(bare->Flags(), unsigned{kTextSingleLine});
    auto* rect = dynamic_cast<duRectStyle*>(g.GetStyleAt(3));
    EXPECT_EQ(rect->GetFill(), 0) << "the later attribute wins";
    EXPECT_EQ(rect->GetBorder(), 1);
    EXPECT_EQ(rect->GetBorderColor(), kWhite);
    EXPECT_EQ(rect->GetBorderWidth(), 0);
    EXPECT_EQ(DashStyleFromName(rect->GetBorderType()), gfx::DashStyle::kDashDot);
    auto* line = dynamic_cast<duLineStyle*>(g.GetStyleAt(4));
    EXPECT_EQ(line->GetLineWidth(), 3);
    EXPECT_EQ(line->GetStartPoint(), (gfx::Point{1, 2}));
    EXPECT_EQ(line->GetEndPoint(), (gfx::Point{-1, 0}));
}

TEST_F(StyleGroups, RectanglesAndLinesLandOnTheirPixels) {
    auto rect = manager.CreateStyle(kStyleRect);
    auto& r = static_cast<duRectStyle&>(*rect);
    r.SetBorder(1);
    r.SetBorderColor(0x0000FF);  // red
    r.SetBorderWidth(1);
    gfx::Bitmap canvas(12, 12);
    {
        gfx::DrawContext dc(canvas);
        r.Draw(dc, {0, 0, 10, 10}, u"", 255);
    }
    EXPECT_EQ(canvas.pixel(0, 5), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(9, 5), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(5, 9), 0xFFFF0000u);
    EXPECT_EQ(canvas.pixel(10, 5), 0u);
    EXPECT_EQ(canvas.pixel(5, 5), 0u) << "no fill";

    r.SetBorder(0);
    r.SetFill(1);
    r.SetFillColor(0x00FF00);
    gfx::Bitmap filled(12, 12);
    {
        gfx::DrawContext dc(filled);
        r.Draw(dc, {2, 2, 6, 6}, u"", 128);
    }
    EXPECT_EQ(filled.pixel(2, 2), gfx::PremultipliedPixel(128, 0, 255, 0));
    EXPECT_EQ(filled.pixel(5, 5), gfx::PremultipliedPixel(128, 0, 255, 0));
    EXPECT_EQ(filled.pixel(6, 6), 0u);

    auto lineStyle = manager.CreateStyle(kStyleLine);
    auto& l = static_cast<duLineStyle&>(*lineStyle);
    const gfx::Point end{-1, 0};
    l.SetEndPoint(&end);
    l.SetColor(0xFFFFFF);
    EXPECT_EQ(l.Ends({0, 0, 100, 10}).second, (gfx::Point{99, 0}));
    gfx::Bitmap line(120, 4);
    {
        gfx::DrawContext dc(line);
        l.Draw(dc, {0, 0, 100, 10}, u"", 255);
    }
    EXPECT_EQ(line.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(line.pixel(99, 0), 0xFFFFFFFFu);
    EXPECT_EQ(line.pixel(100, 0), 0u);
    EXPECT_EQ(line.pixel(50, 1), 0u);
}

TEST_F(StyleGroups, GreyDrawingRestoresEveryStyleAndLeavesNoResourceBehind) {
    ObjectPtr<duResBase> pic = manager.CreateResObj(u"pic", kResImage);
    auto* image = static_cast<duImage*>(pic.get());
    image->CreateBlank(2, 2);
    for (int i = 0; i < 4; ++i) image->GetBits()[i] = 0xFFFF0000u;
    manager.AddResObj(pic);
    duStyleGroup g;
    g.SetResManager(&manager);
    auto is = manager.CreateStyle(kStyleImage);
    static_cast<duImageStyle&>(*is).SetPicFile(u"pic");
    static_cast<duImageStyle&>(*is).SetPaintMode(u"stretch");
    g.AddStyle(std::move(is));
    auto rs = manager.CreateStyle(kStyleRect);
    auto& rect = static_cast<duRectStyle&>(*rs);
    rect.SetFill(1);
    rect.SetFillColor(0x0000FF);
    rect.SetLeft(2);
    g.AddStyle(std::move(rs));
    gfx::Bitmap canvas(4, 2);
    {
        gfx::DrawContext dc(canvas);
        g.DrawGray(dc, {0, 0, 4, 2}, kStateNormal, u"", 255);
    }
    const uint32_t grey = (255 * 306) / 1024;
    EXPECT_EQ(canvas.pixel(0, 0), 0xFF000000u | grey << 16 | grey << 8 | grey);
    EXPECT_EQ(canvas.pixel(3, 1), 0xFF000000u | grey << 16 | grey << 8 | grey);
    EXPECT_EQ(rect.GetFillColor(), 0x0000FFu);
    EXPECT_EQ(std::u16string_view(static_cast<duImageStyle*>(g.GetStyleAt(0))->GetPicFile()), u"pic");
    EXPECT_EQ(manager.GetResObjCount(kResImage), 1);
    EXPECT_EQ(GreyColor(0xE6970E), (0x0Eu * 306 + 0x97 * 601 + 0xE6 * 117) / 1024 * 0x010101u);
}

// The bounding box of pixels whose colour differs from `background`.
gfx::Rect Changed(const gfx::Bitmap& b, uint32_t background) {
    gfx::Rect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != background) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
    return r;
}

gfx::Bitmap Filled(int w, int h, uint32_t pixel) {
    gfx::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.set_pixel(x, y, pixel);
    return b;
}

TEST_F(StyleGroups, TextIsPlacedByItsAlignmentFlags) {
    ObjectPtr<duResBase> f = manager.CreateResObj(u"content", kResFont);
    auto* font = static_cast<duFont*>(f.get());
    font->SetHeight(12);
    font->CreateHFont();
    manager.AddResObj(f);
    const gfx::Size size = MeasureTextSize(font, u"Wg", true);
    ASSERT_GT(size.width, 0);
    ASSERT_GT(size.height, 0);
    const gfx::Rect d{10, 10, 110, 50};
    struct Case {
        unsigned flags;
        int left, top;  // where the text box starts
    } cases[] = {
        {kTextSingleLine, 10, 10},
        {kTextSingleLine | kTextCenter, 10 + (100 - size.width) / 2, 10},
        {kTextSingleLine | kTextRight, 110 - size.width, 10},
        {kTextSingleLine | kTextVCenter, 10, 10 + (40 - size.height) / 2},
        {kTextSingleLine | kTextBottom | kTextRight, 110 - size.width, 50 - size.height},
    };
    for (const Case& c : cases) {
        gfx::Bitmap canvas = Filled(120, 60, 0xFFFFFFFFu);
        {
            gfx::DrawContext dc(canvas);
            DrawTextAlpha(dc, font, 0x000000, u"Wg", d, c.flags);
        }
        const gfx::Rect ink = Changed(canvas, 0xFFFFFFFFu);
        const gfx::Rect box{c.left, c.top, c.left + size.width, c.top + size.height};
        EXPECT_TRUE(box.Contains(ink)) << "flags " << c.flags << ": ink " << ink.left << "," << ink.top << ","
                                       << ink.right << "," << ink.bottom;
        EXPECT_LT(ink.left - box.left, 4) << "flags " << c.flags;
    }

    auto ts = manager.CreateStyle(kStyleText);
    auto& t = static_cast<duTextStyle&>(*ts);
    t.SetFont(u"content");
    t.SetHAlign(u"Center");
    gfx::Size measured;
    t.CalcTextSize(u"Wg", &measured);
    EXPECT_EQ(measured, size);
    gfx::Bitmap canvas = Filled(120, 60, 0xFFFFFFFFu);
    {
        gfx::DrawContext dc(canvas);
        t.Draw(dc, d, u"Wg", 255);
    }
    const gfx::Rect ink = Changed(canvas, 0xFFFFFFFFu);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 60, 3) << "centred in any letter case";

    duStyleGroup g;
    g.SetResManager(&manager);
    g.AddStyle(manager.CreateStyle(kStyleImage));
    g.AddStyle(std::move(ts));
    gfx::Size out{5, 5};
    g.MeasureText(kStateOver, u"Wg", &out);
    EXPECT_EQ(out, (gfx::Size{0, 0})) << "no text style for this state";
    g.MeasureText(kStateNormal, u"Wg", &out);
    EXPECT_EQ(out, size);
}

TEST_F(StyleGroups, TextKeepsTheAlphaOfWhatIsUnderIt) {
    // Left third transparent, middle half-transparent grey, right opaque.
    gfx::Bitmap canvas(90, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 90; ++x)
            canvas.set_pixel(x, y, x < 30 ? 0u : x < 60 ? gfx::PremultipliedPixel(128, 200, 200, 200) : 0xFFC8C8C8u);
    const gfx::Bitmap before = canvas;
    {
        gfx::DrawContext dc(canvas);
        DrawTextAlpha(dc, nullptr, 0x0000FF, u"WWWWWWWWWWWWWWWW", {0, 0, 90, 20}, kTextSingleLine | kTextVCenter);
    }
    bool changed = false;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 90; ++x) {
            const uint32_t p = canvas.pixel(x, y);
            ASSERT_EQ(gfx::AlphaOf(p), gfx::AlphaOf(before.pixel(x, y))) << x << "," << y;
            ASSERT_LE(gfx::RedOf(p), gfx::AlphaOf(p));
            ASSERT_LE(gfx::GreenOf(p), gfx::AlphaOf(p));
            ASSERT_LE(gfx::BlueOf(p), gfx::AlphaOf(p));
            if (x < 30) {
                ASSERT_EQ(p, 0u) << "text on transparent pixels is not seen";
            }
            changed |= p != before.pixel(x, y);
        }
    }
    EXPECT_TRUE(changed);
    EXPECT_TRUE(gfx::CompareWithGolden(canvas, "ui/golden/text_alpha.png", 2));
}

TEST_F(StyleGroups, TextOutsideTheClipOrEmptyDrawsNothing) {
    gfx::Bitmap canvas = Filled(40, 20, 0xFFFFFFFFu);
    gfx::DrawContext dc(canvas);
    dc.SetClipRect({0, 0, 10, 10});
    DrawTextAlpha(dc, nullptr, 0, u"text", {20, 0, 40, 20}, kTextSingleLine);
    DrawTextAlpha(dc, nullptr, 0, u"", {0, 0, 40, 20}, kTextSingleLine);
    DrawTextAlpha(dc, nullptr, 0, u"text", {5, 5, 5, 20}, kTextSingleLine);
    EXPECT_EQ(canvas, Filled(40, 20, 0xFFFFFFFFu));
    // Partly inside: nothing outside the clip changes.
    DrawTextAlpha(dc, nullptr, 0, u"WWWWWW", {0, 0, 40, 20}, kTextSingleLine);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            if (x >= 10 || y >= 10) {
                ASSERT_EQ(canvas.pixel(x, y), 0xFFFFFFFFu) << x << "," << y;
            }
}

}  // namespace
}  // namespace vexlo::ui
