#pragma once
// Ownership of pixman images and views of bitmaps as pixman images (no pixel copies).
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"
#include "platform/gfx/region.h"

#include <pixman.h>

#include <memory>

namespace vexlo::gfx::detail {

struct PixmanImageUnref {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanImageUnref>;

// The whole bitmap, drawn into; the clip region (device pixels) is applied when given.
PixmanImage WrapTarget(Bitmap& bitmap, const Region* clip = nullptr);
// A rectangle of a bitmap, read only; the rectangle must lie inside the bitmap.
PixmanImage WrapSource(const Bitmap& bitmap, const Rect& rect);
PixmanImage SolidImage(uint32_t premultipliedPixel);

pixman_color_t ToPixmanColor(uint32_t premultipliedPixel);

}  // namespace vexlo::gfx::detail
