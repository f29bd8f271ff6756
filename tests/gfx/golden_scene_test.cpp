// Whole scenes compared with reviewed images: a change in any drawing path shows up as
// a difference image under the build's test-output folder.
#include "platform/gfx/draw_context.h"
#include "platform/gfx/golden.h"
#include "platform/text/text_format.h"

#include <gtest/gtest.h>

namespace vexlo::gfx {
namespace {

using namespace vexlo::text;

// A 21 by 15 frame picture with 6-pixel margins, drawn as nine pieces like a skin's
// nine-grid image style.
Bitmap FramePicture() {
    Bitmap p(21, 15);
    DrawContext dc(p);
    dc.FillSolid(Rect{0, 0, 21, 15}, MakeArgb(235, 250, 250, 255));
    dc.SetSmoothing(Smoothing::kAntiAlias);
    dc.DrawRectangle(Pen{MakeArgb(255, 120, 160, 200), 1}, 0, 0, 20, 14);
    dc.GradientFill(Rect{1, 1, 20, 6}, PremultipliedPixel(255, 220, 235, 250), PremultipliedPixel(255, 250, 250, 255),
                    GradientDirection::kVertical);
    return p;
}

void DrawNineGrid(DrawContext& dc, const Bitmap& pic, const Rect& d, int m) {
    const int w = pic.width(), h = pic.height();
    const int xs[] = {0, m, w - m, w}, ys[] = {0, m, h - m, h};
    const int xd[] = {d.left, d.left + m, d.right - m, d.right}, yd[] = {d.top, d.top + m, d.bottom - m, d.bottom};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            dc.AlphaBlend(Rect{xd[i], yd[j], xd[i + 1], yd[j + 1]}, pic, Rect{xs[i], ys[j], xs[i + 1], ys[j + 1]});
}

TEST(GoldenSceneTest, PopupFrameShapesAndBlends) {
    Bitmap b(198, 80);
    DrawContext dc(b);
    DrawNineGrid(dc, FramePicture(), Rect{0, 0, 198, 80}, 6);
    dc.SetSmoothing(Smoothing::kAntiAlias);
    dc.FillEllipse(0xFF0E97E6u, 8, 8, 16, 16);
    dc.FillPie(0xFFFFFFFFu, 10, 10, 12, 12, 270, 250);
    dc.DrawLine(Pen{0xFF0B6BA6u, 1, DashStyle::kDashDot}, 30, 30, 190, 30);
    dc.DrawLine(Pen{0x80FF0000u, 3}, 30, 40, 120, 70);
    dc.SetSmoothing(Smoothing::kNone);
    dc.DrawRectangle(Pen{0xFFC3C3C3u, 1, DashStyle::kDot}, 130, 40, 50, 25);
    Bitmap badge(10, 10);
    DrawContext badgeDc(badge);
    badgeDc.SetSmoothing(Smoothing::kAntiAlias);
    badgeDc.FillEllipse(0xFF20C020u, 0, 0, 10, 10);
    dc.AlphaBlend(Rect{140, 45, 160, 65}, badge, Rect{0, 0, 10, 10}, 160, ScaleFilter::kSmooth);
    dc.TileBlend(Rect{165, 45, 178, 62}, badge, Rect{2, 2, 7, 7}, 255);
    const GoldenResult result = CompareWithGolden(b, "gfx/golden/popup_shapes.png", 2);
    EXPECT_TRUE(result.matched) << result.message;
}

TEST(GoldenSceneTest, PopupTexts) {
    Bitmap b(198, 80);
    DrawContext dc(b);
    dc.FillOpaque(Rect{0, 0, 198, 80}, MakeColorRef(255, 255, 255));
    dc.Clear(Rect{150, 0, 198, 30});  // transparent corner: text there keeps alpha 0
    dc.SelectFont(Font::Create(FontRequest{u"微软雅黑", -13}));
    dc.SetTextColor(MakeColorRef(14, 151, 230));
    Rect caption{29, 8, 198, 30};
    dc.DrawText(u"Mirto压缩-更新", caption, DT_SINGLELINE);
    dc.SelectFont(Font::Create(FontRequest{u"微软雅黑", -12}));
    dc.SetTextColor(MakeColorRef(0, 0, 0));
    Rect status{12, 39, 198, 59};
    dc.DrawText(u"更新下载完成，下次启动时安装", status, DT_SINGLELINE | DT_VCENTER);
    dc.SetTextColor(MakeColorRef(11, 107, 166));
    Rect button{126, 60, 182, 80};
    dc.DrawText(u"立即安装", button, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    dc.SelectFont(Font::Create(FontRequest{u"Tahoma", -11, 700}));
    Rect latin{4, 60, 120, 80};
    dc.DrawText(u"&Retry download", latin, DT_SINGLELINE | DT_BOTTOM);
    // Glyph rasterisation may differ by a few levels between FreeType releases.
    const GoldenResult result = CompareWithGolden(b, "gfx/golden/popup_texts.png", 24);
    EXPECT_TRUE(result.matched) << result.message;
}

}  // namespace
}  // namespace vexlo::gfx
