#include "platform/gfx/draw_context.h"

#include "platform/gfx/pixman_image.h"

#include <algorithm>

namespace vexlo::gfx {

DrawContext::DrawContext(Bitmap& target) : target_(&target) {}
DrawContext::~DrawContext() = default;

Point DrawContext::SetOrigin(Point origin) {
    const Point previous = state_.origin;
    state_.origin = origin;
    return previous;
}

Point DrawContext::OffsetOrigin(int dx, int dy) {
    const Point previous = state_.origin;
    state_.origin = {SaturatingAdd(previous.x, dx), SaturatingAdd(previous.y, dy)};
    return previous;
}

void DrawContext::SetClipRegion(const Region* deviceRegion) {
    if (deviceRegion) {
        state_.clip = *deviceRegion;
    } else {
        state_.clip.reset();
    }
}

void DrawContext::SetClipRect(const Rect& logical) { state_.clip = Region(ToDevice(logical)); }

void DrawContext::IntersectClipRect(const Rect& logical) {
    if (!state_.clip) state_.clip = Region(Rect{0, 0, target_->width(), target_->height()});
    state_.clip->Intersect(ToDevice(logical));
}

void DrawContext::ExcludeClipRect(const Rect& logical) {
    if (!state_.clip) state_.clip = Region(Rect{0, 0, target_->width(), target_->height()});
    state_.clip->Subtract(ToDevice(logical));
}

Region DrawContext::DeviceClip() const {
    Region clip(Rect{0, 0, target_->width(), target_->height()});
    if (state_.clip) clip.Intersect(*state_.clip);
    return clip;
}

Region DrawContext::ClipWithin(const Rect& deviceRect) const {
    Region clip = DeviceClip();
    clip.Intersect(deviceRect);
    return clip;
}

Rect DrawContext::GetClipBox() const {
    const Rect box = DeviceClip().Bounds();
    if (box.IsEmpty()) return {};
    return box.Offset(-state_.origin.x, -state_.origin.y);
}

bool DrawContext::IsVisible(const Rect& logical) const { return DeviceClip().Intersects(ToDevice(logical)); }

void DrawContext::Save() { saved_.push_back(state_); }

bool DrawContext::Restore() {
    if (saved_.empty()) return false;
    state_ = std::move(saved_.back());
    saved_.pop_back();
    return true;
}

void DrawContext::FillPixel(const Rect& rect, uint32_t pixel) {
    const Region clip = ClipWithin(ToDevice(rect));
    for (const Rect& r : clip.Rects()) {
        pixman_fill(target_->data(), target_->width(), 32, r.left, r.top, r.width(), r.height(), pixel);
    }
}

void DrawContext::Clear(const Rect& rect) { FillPixel(rect, 0u); }
void DrawContext::FillOpaque(const Rect& rect, ColorRef color) { FillPixel(rect, OpaquePixel(color)); }
void DrawContext::FillGdi(const Rect& rect, ColorRef color) { FillPixel(rect, OpaquePixel(color) & 0x00FFFFFFu); }

void DrawContext::FillSolid(const Rect& rect, Argb color) {
    if (AlphaOf(color) == 0) return;
    const Region clip = ClipWithin(ToDevice(rect));
    if (clip.IsEmpty()) return;
    detail::PixmanImage dst = detail::WrapTarget(*target_);
    const pixman_color_t c = detail::ToPixmanColor(PremultiplyArgb(color));
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(clip.native(), &count);
    pixman_image_fill_boxes(AlphaOf(color) == 255 ? PIXMAN_OP_SRC : PIXMAN_OP_OVER, dst.get(), &c, count, boxes);
}

void DrawContext::GradientFill(const Rect& rect, uint32_t fromPixel, uint32_t toPixel, GradientDirection direction) {
    const Rect device = ToDevice(rect);
    const Region clip = ClipWithin(device);
    if (clip.IsEmpty()) return;
    const bool horizontal = direction == GradientDirection::kHorizontal;
    // Only the visible span is computed; position i of n has from + (to - from) * i / n.
    const Rect bounds = clip.Bounds();
    const int64_t n = horizontal ? device.width() : device.height();
    const int first = horizontal ? bounds.left - device.left : bounds.top - device.top;
    const int count = horizontal ? bounds.width() : bounds.height();
    Bitmap strip(horizontal ? count : 1, horizontal ? 1 : count);
    if (strip.empty()) return;
    for (int k = 0; k < count; ++k) {
        const int64_t i = first + k;
        uint32_t pixel = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int64_t a = (fromPixel >> shift) & 0xFF;
            const int64_t b = (toPixel >> shift) & 0xFF;
            const int64_t c = a + (b - a) * i / n;
            pixel |= static_cast<uint32_t>(c) << shift;
        }
        strip.data()[k] = pixel;
    }
    detail::PixmanImage dst = detail::WrapTarget(*target_, &clip);
    detail::PixmanImage src = detail::WrapSource(strip, Rect{0, 0, strip.width(), strip.height()});
    pixman_image_set_repeat(src.get(), PIXMAN_REPEAT_PAD);
    pixman_image_composite32(PIXMAN_OP_SRC, src.get(), nullptr, dst.get(), 0, 0, 0, 0, bounds.left, bounds.top,
                             bounds.width(), bounds.height());
}

}  // namespace vexlo::gfx
