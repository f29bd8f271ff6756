#include "platform/gfx/draw_context.h"

#include "platform/gfx/pixman_image.h"
#include "platform/text/text_format.h"

#include <algorithm>
#include <optional>

namespace vexlo::gfx {

namespace {

// Alpha bytes of a device rectangle, put back after text has been composited.
class SavedAlpha {
public:
    SavedAlpha(Bitmap& bitmap, const Rect& box) : bitmap_(bitmap), box_(box) {
        alpha_.reserve(static_cast<size_t>(box.width()) * box.height());
        for (int y = box.top; y < box.bottom; ++y) {
            const uint32_t* row = bitmap.row(y);
            for (int x = box.left; x < box.right; ++x) alpha_.push_back(AlphaOf(row[x]));
        }
    }
    void Restore() {
        size_t i = 0;
        for (int y = box_.top; y < box_.bottom; ++y) {
            uint32_t* row = bitmap_.row(y);
            for (int x = box_.left; x < box_.right; ++x) row[x] = (row[x] & 0x00FFFFFFu) | (uint32_t{alpha_[i++]} << 24);
        }
    }

private:
    Bitmap& bitmap_;
    Rect box_;
    std::vector<uint8_t> alpha_;
};

}  // namespace

text::FontPtr DrawContext::SelectFont(text::FontPtr font) {
    text::FontPtr previous = std::move(state_.font);
    state_.font = std::move(font);
    return previous;
}

text::FontPtr DrawContext::font() const { return state_.font ? state_.font : text::Font::DefaultGui(); }

ColorRef DrawContext::SetTextColor(ColorRef color) {
    const ColorRef previous = state_.textColor;
    state_.textColor = color & 0x00FFFFFFu;
    return previous;
}

Size DrawContext::GetTextExtent(std::u16string_view text) const { return text::MeasureLine(*font(), text); }

int DrawContext::DrawText(std::u16string_view text, Rect& rect, unsigned flags) {
    const text::FontPtr fontHeld = font();
    const text::Font& f = *fontHeld;
    const text::TextLayout layout = text::LayoutText(f, text, rect.width(), flags);
    if (layout.lines.empty()) {
        if (flags & text::DT_CALCRECT) rect.right = rect.left, rect.bottom = rect.top;
        return 0;
    }
    const int height = layout.height();
    if (flags & text::DT_CALCRECT) {
        rect.right = SaturatingAdd(rect.left, layout.width);
        rect.bottom = SaturatingAdd(rect.top, height);
        return height;
    }

    int y = rect.top;
    if (flags & text::DT_SINGLELINE) {
        if (flags & text::DT_VCENTER) {
            y = SaturateToInt(rect.top + (int64_t{rect.height()} - layout.lineHeight) / 2);
        } else if (flags & text::DT_BOTTOM) {
            y = SaturateToInt(int64_t{rect.bottom} - layout.lineHeight);
        }
    }
    Region clip = DeviceClip();
    if (!(flags & text::DT_NOCLIP)) clip.Intersect(ToDevice(rect));
    // Only pixels glyphs can reach have their alpha saved: lines may start left of the
    // rectangle (centred or right-aligned lines wider than it) and glyphs overhang.
    const text::FontMetrics& m = f.metrics();
    const int64_t reach = int64_t{m.maxCharWidth} + m.characterHeight;
    int64_t left = rect.left, right = rect.left;
    for (const text::LaidOutLine& line : layout.lines) {
        const int64_t x = int64_t{rect.left} + text::AlignedLineOffset(flags, rect.width(), line.width);
        left = std::min(left, x);
        right = std::max(right, x + line.width);
    }
    const Rect reachable = ToDevice(Rect{SaturateToInt(left - reach), SaturateToInt(int64_t{y} - reach),
                                         SaturateToInt(right + reach), SaturateToInt(int64_t{y} + height + reach)});
    clip.Intersect(reachable);
    const Rect affected = clip.Bounds();
    if (affected.IsEmpty()) return height;
    std::optional<SavedAlpha> savedAlpha;
    if (state_.textAlphaMode == TextAlphaMode::kPreserveAlpha) savedAlpha.emplace(*target_, affected);

    for (const text::LaidOutLine& line : layout.lines) {
        const int x = SaturatingAdd(rect.left, text::AlignedLineOffset(flags, rect.width(), line.width));
        if (!line.text.empty()) DrawGlyphs(f, line, x, SaturatingAdd(y, m.ascent), clip);
        y = SaturatingAdd(y, layout.lineHeight);
    }
    if (savedAlpha) savedAlpha->Restore();
    return height;
}

void DrawContext::DrawGlyphs(const text::Font& f, const text::LaidOutLine& line, int x, int baseline,
                             const Region& clip) {
    const text::FontMetrics& m = f.metrics();
    const Point device{SaturatingAdd(x, state_.origin.x), SaturatingAdd(baseline, state_.origin.y)};
    // Lines far outside the clip are skipped before any glyph is looked at.
    const Rect lineBox{SaturateToInt(int64_t{device.x} - m.maxCharWidth),
                       SaturateToInt(int64_t{device.y} - m.ascent - m.characterHeight),
                       SaturateToInt(int64_t{device.x} + line.width + m.maxCharWidth),
                       SaturateToInt(int64_t{device.y} + m.descent + m.characterHeight)};
    if (!clip.Intersects(lineBox)) return;

    detail::PixmanImage dst = detail::WrapTarget(*target_, &clip);
    detail::PixmanImage color = detail::SolidImage(OpaquePixel(state_.textColor));
    const pixman_color_t fill = detail::ToPixmanColor(OpaquePixel(state_.textColor));
    auto fillSpan = [&](int64_t left, int64_t right, int64_t top, int thickness) {
        const Rect box{SaturateToInt(left), SaturateToInt(top), SaturateToInt(right), SaturateToInt(top + thickness)};
        const Region span = Region(box).Intersect(clip);
        int count = 0;
        const pixman_box32_t* boxes = pixman_region32_rectangles(span.native(), &count);
        if (count > 0) pixman_image_fill_boxes(PIXMAN_OP_SRC, dst.get(), &fill, count, boxes);
    };

    int64_t penX = device.x;
    for (size_t i = 0; i < line.text.size();) {
        const size_t index = i;
        const text::Glyph glyph = f.GetGlyph(text::NextCodePoint(line.text, i));
        if (glyph.image && penX > -(int64_t{1} << 30) && penX < (int64_t{1} << 30)) {
            const text::GlyphImage& g = *glyph.image;
            const int gx = SaturateToInt(penX + g.left);
            const int gy = SaturateToInt(int64_t{device.y} - g.top);
            if (clip.Intersects(Rect::FromXYWH(gx, gy, g.width, g.height))) {
                detail::PixmanImage mask(pixman_image_create_bits(
                    PIXMAN_a8, g.width, g.height,
                    reinterpret_cast<uint32_t*>(const_cast<uint8_t*>(g.coverage.data())), g.stride));
                pixman_image_composite32(PIXMAN_OP_OVER, color.get(), mask.get(), dst.get(), 0, 0, 0, 0, gx, gy,
                                         g.width, g.height);
            }
        }
        if (std::binary_search(line.underlined.begin(), line.underlined.end(), static_cast<int>(index))) {
            fillSpan(penX, penX + glyph.advance, int64_t{device.y} + m.underlinePosition, m.underlineThickness);
        }
        penX += glyph.advance;
    }
    if (f.request().underline) fillSpan(device.x, penX, int64_t{device.y} + m.underlinePosition, m.underlineThickness);
    if (f.request().strikeout) fillSpan(device.x, penX, int64_t{device.y} - m.strikeoutPosition, m.strikeoutThickness);
}

}  // namespace vexlo::gfx
