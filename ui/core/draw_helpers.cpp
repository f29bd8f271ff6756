#include "ui/core/draw_helpers.h"

#include <algorithm>

#include "platform/text/text_format.h"
#include "ui/core/font_resource.h"
#include "ui/core/image_resource.h"

namespace vexlo::ui {
namespace {

const gfx::Bitmap* PictureOf(const duImage* image) {
    if (!image) return nullptr;
    const gfx::Bitmap* b = image->GetHBitmap();
    return (b && !b->empty()) ? b : nullptr;
}

gfx::Rect Bounds(const gfx::Bitmap& b) { return {0, 0, b.width(), b.height()}; }

void Blend(gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Bitmap& b, const gfx::Rect& src, uint8_t alpha) {
    if (dest.IsEmpty() || src.IsEmpty()) return;
    dc.AlphaBlend(dest, b, src, alpha, gfx::ScaleFilter::kNearest);
}

text::FontPtr FontOf(const duFont* font) {
    text::FontPtr f = font ? font->GetHFont() : nullptr;
    return f ? f : text::Font::DefaultGui();
}

}  // namespace

void BlitImage(const duImage* image, gfx::DrawContext& dc, int x, int y, int width, int height, int sx, int sy,
               uint8_t alpha) {
    const gfx::Bitmap* b = PictureOf(image);
    if (!b || width <= 0 || height <= 0) return;
    const gfx::Rect wanted = gfx::Rect::FromXYWH(sx, sy, width, height);
    const gfx::Rect src = wanted.Intersect(Bounds(*b));
    if (src.IsEmpty()) return;
    const gfx::Rect dest = src.Offset(x - sx, y - sy);
    Blend(dc, dest, *b, src, alpha);
}

void StretchImage(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Rect& source,
                  uint8_t alpha) {
    const gfx::Bitmap* b = PictureOf(image);
    if (!b || !Bounds(*b).Contains(source)) return;
    Blend(dc, dest, *b, source, alpha);
}

void TileImage(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Rect& source,
               uint8_t alpha) {
    const gfx::Bitmap* b = PictureOf(image);
    if (!b || dest.IsEmpty() || source.IsEmpty() || !Bounds(*b).Contains(source)) return;
    dc.TileBlend(dest, *b, source, alpha);
}

void DrawThreePartVert(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& d, const gfx::Rect& s, int top,
                       int bottom, uint8_t alpha) {
    const gfx::Bitmap* b = PictureOf(image);
    if (!b || d.IsEmpty() || s.IsEmpty() || !Bounds(*b).Contains(s)) return;
    // The bands cannot take more rows than the source has.
    const int t = std::clamp(top, 0, s.height());
    const int bo = std::clamp(bottom, 0, s.height() - t);
    if (t >= d.height()) {
        Blend(dc, d, *b, {s.left, s.top, s.right, s.top + d.height()}, alpha);
        return;
    }
    const gfx::Rect middle{s.left, s.top + t, s.right, s.bottom - bo};
    Blend(dc, {d.left, d.top, d.right, d.top + t}, *b, {s.left, s.top, s.right, s.top + t}, alpha);
    if (d.height() < t + bo) {
        Blend(dc, {d.left, d.top + t, d.right, d.bottom}, *b, middle, alpha);
        return;
    }
    Blend(dc, {d.left, d.top + t, d.right, d.bottom - bo}, *b, middle, alpha);
    Blend(dc, {d.left, d.bottom - bo, d.right, d.bottom}, *b, {s.left, s.bottom - bo, s.right, s.bottom}, alpha);
}

void DrawThreePartHorz(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& d, const gfx::Rect& s, int left,
                       int right, uint8_t alpha) {
    const gfx::Bitmap* b = PictureOf(image);
    if (!b || d.IsEmpty() || s.IsEmpty() || !Bounds(*b).Contains(s)) return;
    const int l = std::clamp(left, 0, s.width());
    const int r = std::clamp(right, 0, s.width() - l);
    if (l >= d.width()) {
        Blend(dc, d, *b, {s.left, s.top, s.left + d.width(), s.bottom}, alpha);
        return;
    }
    const gfx::Rect middle{s.left + l, s.top, s.right - r, s.bottom};
    Blend(dc, {d.left, d.top, d.left + l, d.bottom}, *b, {s.left, s.top, s.left + l, s.bottom}, alpha);
    if (d.width() < l + r) {
        Blend(dc, {d.left + l, d.top, d.right, d.bottom}, *b, middle, alpha);
        return;
    }
    Blend(dc, {d.left + l, d.top, d.right - r, d.bottom}, *b, middle, alpha);
    Blend(dc, {d.right - r, d.top, d.right, d.bottom}, *b, {s.right - r, s.top, s.right, s.bottom}, alpha);
}

void DrawNinePart(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& d, const gfx::Rect& s, int left,
                  int top, int right, int bottom, uint8_t alpha) {
    const gfx::Bitmap* b = PictureOf(image);
    if (!b || d.IsEmpty() || s.IsEmpty() || !Bounds(*b).Contains(s)) return;
    // Margins are confined to the source so that no piece reaches outside it.
    const int l = std::clamp(left, 0, s.width());
    const int r = std::clamp(right, 0, s.width() - l);
    const int t = std::clamp(top, 0, s.height());
    const int bo = std::clamp(bottom, 0, s.height() - t);
    const int sx[4] = {s.left, s.left + l, s.right - r, s.right};
    const int sy[4] = {s.top, s.top + t, s.bottom - bo, s.bottom};
    const int dx[4] = {d.left, d.left + l, d.right - r, d.right};
    const int dy[4] = {d.top, d.top + t, d.bottom - bo, d.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            Blend(dc, {dx[col], dy[row], dx[col + 1], dy[row + 1]}, *b, {sx[col], sy[row], sx[col + 1], sy[row + 1]},
                  alpha);
        }
    }
}

gfx::Size MeasureTextSize(const duFont* font, std::u16string_view text, bool singleLine) {
    gfx::Bitmap scratch(1, 1);
    gfx::DrawContext dc(scratch);
    dc.SelectFont(FontOf(font));
    gfx::Rect r{0, 0, 0, 0};
    dc.DrawText(text, r, text::DT_CALCRECT | (singleLine ? text::DT_SINGLELINE : text::DT_WORDBREAK));
    return {r.width(), r.height()};
}

void DrawTextAlpha(gfx::DrawContext& dc, const duFont* font, uint32_t color, std::u16string_view text,
                   const gfx::Rect& d, unsigned flags) {
    if (text.empty() || d.IsEmpty() || !dc.IsVisible(d)) return;
    const text::FontPtr f = FontOf(font);
    const bool singleLine = (flags & kTextSingleLine) != 0;
    const unsigned hAlign = flags & (kTextCenter | kTextRight);

    // The text box: the measured text, at most the rectangle.
    gfx::Rect measured{0, 0, singleLine ? 0 : d.width(), 0};
    {
        gfx::Bitmap scratch(1, 1);
        gfx::DrawContext m(scratch);
        m.SelectFont(f);
        m.DrawText(text, measured, text::DT_CALCRECT | (singleLine ? text::DT_SINGLELINE : text::DT_WORDBREAK));
    }
    const int w = std::min(d.width(), measured.width());
    const int h = std::min(d.height(), measured.height());
    if (w <= 0 || h <= 0) return;
    int x = d.left;
    if (flags & kTextCenter) x = d.left + (d.width() - w) / 2;
    else if (flags & kTextRight) x = d.right - w;
    int y = d.top;
    if (flags & kTextVCenter) y = d.top + (d.height() - h) / 2;
    else if (flags & kTextBottom) y = d.bottom - h;
    const gfx::Rect box{x, y, x + w, y + h};

    // The pixels under the box (only those inside the clip; the rest stay transparent).
    gfx::Bitmap under(w, h);
    if (under.empty()) return;
    const gfx::Rect deviceBox = box.Offset(dc.origin().x, dc.origin().y);
    const gfx::Region clip = dc.DeviceClip();
    const gfx::Bitmap& target = dc.target();
    for (const gfx::Rect& piece : clip.Rects()) {
        const gfx::Rect part = piece.Intersect(deviceBox);
        for (int py = part.top; py < part.bottom; ++py) {
            const uint32_t* src = target.row(py);
            uint32_t* dst = under.row(py - deviceBox.top);
            for (int px = part.left; px < part.right; ++px) dst[px - deviceBox.left] = src[px];
        }
    }

    // Only the colour bytes take the text; the alpha bytes stay as they were.
    {
        gfx::DrawContext t(under);
        t.SelectFont(f);
        t.SetTextColor(color & 0xFFFFFF);
        t.SetTextAlphaMode(gfx::TextAlphaMode::kPreserveAlpha);
        gfx::Rect inner{0, 0, w, h};
        t.DrawText(text, inner, (singleLine ? text::DT_SINGLELINE : text::DT_WORDBREAK) | hAlign);
    }
    // A colour byte above its alpha is no valid premultiplied pixel: saturate.
    for (int py = 0; py < h; ++py) {
        uint32_t* row = under.row(py);
        for (int px = 0; px < w; ++px) {
            const uint32_t p = row[px];
            const uint32_t a = p >> 24;
            const uint32_t r = std::min<uint32_t>((p >> 16) & 0xFF, a);
            const uint32_t g = std::min<uint32_t>((p >> 8) & 0xFF, a);
            const uint32_t b = std::min<uint32_t>(p & 0xFF, a);
            row[px] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    dc.Clear(box);
    dc.AlphaBlend(box, under, {0, 0, w, h}, 255);
}

}  // namespace vexlo::ui
