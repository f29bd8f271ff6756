#include "platform/gfx/draw_context.h"

#include "platform/gfx/pixman_image.h"

#include <cstdlib>
#include <cstring>

namespace vexlo::gfx {

namespace {

bool SourceRectValid(const Bitmap& source, const Rect& rect) {
    return !source.empty() && rect.width() > 0 && rect.height() > 0 &&
           Rect{0, 0, source.width(), source.height()}.Contains(rect);
}

// A source that shares pixels with the target is copied first: pixman does not
// composite overlapping images.
const Bitmap* Unaliased(const Bitmap& source, const Bitmap& target, Rect& sourceRect, Bitmap& copy) {
    if (source.data() != target.data()) return &source;
    copy.Reset(sourceRect.width(), sourceRect.height());
    for (int y = 0; y < sourceRect.height(); ++y) {
        std::memcpy(copy.row(y), source.row(sourceRect.top + y) + sourceRect.left,
                    static_cast<size_t>(sourceRect.width()) * 4);
    }
    sourceRect = Rect{0, 0, sourceRect.width(), sourceRect.height()};
    return &copy;
}

void SetSmoothFilter(pixman_image_t* image, double scaleX, double scaleY) {
    // Shrinking averages every source pixel the destination pixel covers; growing
    // interpolates between the nearest four.
    const bool shrinkX = scaleX > 1.0;
    const bool shrinkY = scaleY > 1.0;
    int count = 0;
    pixman_fixed_t* params = pixman_filter_create_separable_convolution(
        &count, pixman_double_to_fixed(shrinkX ? scaleX : 1.0), pixman_double_to_fixed(shrinkY ? scaleY : 1.0),
        PIXMAN_KERNEL_LINEAR, PIXMAN_KERNEL_LINEAR, shrinkX ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_IMPULSE,
        shrinkY ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_IMPULSE, shrinkX ? 4 : 2, shrinkY ? 4 : 2);
    if (params) {
        pixman_image_set_filter(image, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
        std::free(params);
    } else {
        pixman_image_set_filter(image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
}

}  // namespace

bool DrawContext::AlphaBlend(const Rect& dest, const Bitmap& source, const Rect& sourceRectIn, uint8_t constantAlpha,
                             ScaleFilter filter) {
    if (!SourceRectValid(source, sourceRectIn) || dest.width() <= 0 || dest.height() <= 0) return false;
    if (constantAlpha == 0) return true;
    const Rect device = ToDevice(dest);
    const Region clip = ClipWithin(device);
    if (clip.IsEmpty()) return true;
    const Rect visible = clip.Bounds();

    Rect sourceRect = sourceRectIn;
    Bitmap copy;
    const Bitmap* src = Unaliased(source, *target_, sourceRect, copy);
    const bool scaled = device.width() != sourceRect.width() || device.height() != sourceRect.height();
    detail::PixmanImage srcImage = detail::WrapSource(*src, sourceRect);
    detail::PixmanImage dstImage = detail::WrapTarget(*target_, &clip);
    detail::PixmanImage mask;
    if (constantAlpha != 255) mask = detail::SolidImage(uint32_t{constantAlpha} << 24);

    int srcX = visible.left - device.left;
    int srcY = visible.top - device.top;
    if (scaled) {
        // Destination pixel (x, y) samples the source at ((x - dest.left + 0.5) * sx, ...);
        // the offset of the visible part goes into the transform so that pixman's
        // coordinates stay small whatever the size of the destination rectangle.
        const double sx = static_cast<double>(sourceRect.width()) / device.width();
        const double sy = static_cast<double>(sourceRect.height()) / device.height();
        pixman_transform_t transform;
        pixman_transform_init_identity(&transform);
        transform.matrix[0][0] = pixman_double_to_fixed(sx);
        transform.matrix[1][1] = pixman_double_to_fixed(sy);
        transform.matrix[0][2] = pixman_double_to_fixed(sx * srcX);
        transform.matrix[1][2] = pixman_double_to_fixed(sy * srcY);
        pixman_image_set_transform(srcImage.get(), &transform);
        if (filter == ScaleFilter::kSmooth) {
            SetSmoothFilter(srcImage.get(), sx, sy);
            pixman_image_set_repeat(srcImage.get(), PIXMAN_REPEAT_PAD);  // edges stay inside the source rectangle
        } else {
            pixman_image_set_filter(srcImage.get(), PIXMAN_FILTER_NEAREST, nullptr, 0);
        }
        srcX = srcY = 0;
    }
    pixman_image_composite32(PIXMAN_OP_OVER, srcImage.get(), mask.get(), dstImage.get(), srcX, srcY, 0, 0,
                             visible.left, visible.top, visible.width(), visible.height());
    return true;
}

bool DrawContext::AlphaBlend(int x, int y, const Bitmap& source, uint8_t constantAlpha) {
    return AlphaBlend(Rect::FromXYWH(x, y, source.width(), source.height()), source,
                      Rect{0, 0, source.width(), source.height()}, constantAlpha);
}

bool DrawContext::TileBlend(const Rect& dest, const Bitmap& source, const Rect& sourceRectIn, uint8_t constantAlpha) {
    if (!SourceRectValid(source, sourceRectIn) || dest.width() <= 0 || dest.height() <= 0) return false;
    if (constantAlpha == 0) return true;
    const Rect device = ToDevice(dest);
    const Region clip = ClipWithin(device);
    if (clip.IsEmpty()) return true;
    const Rect visible = clip.Bounds();
    Rect sourceRect = sourceRectIn;
    Bitmap copy;
    const Bitmap* src = Unaliased(source, *target_, sourceRect, copy);
    detail::PixmanImage srcImage = detail::WrapSource(*src, sourceRect);
    pixman_image_set_repeat(srcImage.get(), PIXMAN_REPEAT_NORMAL);
    detail::PixmanImage dstImage = detail::WrapTarget(*target_, &clip);
    detail::PixmanImage mask;
    if (constantAlpha != 255) mask = detail::SolidImage(uint32_t{constantAlpha} << 24);
    // Tile phase: the offset of the visible part from the destination's corner, reduced
    // to one tile so that it stays small.
    const int srcX = static_cast<int>((int64_t{visible.left} - device.left) % sourceRect.width());
    const int srcY = static_cast<int>((int64_t{visible.top} - device.top) % sourceRect.height());
    pixman_image_composite32(PIXMAN_OP_OVER, srcImage.get(), mask.get(), dstImage.get(), srcX, srcY, 0, 0,
                             visible.left, visible.top, visible.width(), visible.height());
    return true;
}

bool DrawContext::Copy(const Rect& dest, const Bitmap& source, Point sourceTopLeft) {
    if (source.empty() || dest.width() <= 0 || dest.height() <= 0) return false;
    // The part of the source rectangle inside the source bitmap, and where it lands.
    const Rect wanted = Rect::FromXYWH(sourceTopLeft.x, sourceTopLeft.y, dest.width(), dest.height());
    const Rect available = wanted.Intersect(Rect{0, 0, source.width(), source.height()});
    if (available.IsEmpty()) return true;
    const Rect device = ToDevice(dest);
    const int dx = SaturateToInt(int64_t{device.left} - sourceTopLeft.x);
    const int dy = SaturateToInt(int64_t{device.top} - sourceTopLeft.y);
    const Region clip = ClipWithin(available.Offset(dx, dy));
    if (clip.IsEmpty()) return true;

    Rect sourceRect = available;
    Bitmap copy;
    const Bitmap* src = Unaliased(source, *target_, sourceRect, copy);
    const int srcOffsetX = sourceRect.left - available.left;
    const int srcOffsetY = sourceRect.top - available.top;
    for (const Rect& r : clip.Rects()) {
        for (int y = r.top; y < r.bottom; ++y) {
            const uint32_t* from = src->row(y - dy + srcOffsetY) + (r.left - dx + srcOffsetX);
            std::memcpy(target_->row(y) + r.left, from, static_cast<size_t>(r.width()) * 4);
        }
    }
    return true;
}

Bitmap ScaledCopy(const Bitmap& source, int width, int height, ScaleFilter filter) {
    Bitmap out;
    if (source.empty() || !out.Reset(width, height)) return out;
    DrawContext dc(out);
    dc.AlphaBlend(Rect{0, 0, width, height}, source, Rect{0, 0, source.width(), source.height()}, 255, filter);
    return out;
}

}  // namespace vexlo::gfx
