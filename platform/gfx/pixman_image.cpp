#include "platform/gfx/pixman_image.h"

namespace vexlo::gfx::detail {

PixmanImage WrapTarget(Bitmap& bitmap, const Region* clip) {
    PixmanImage image(pixman_image_create_bits(PIXMAN_a8r8g8b8, bitmap.width(), bitmap.height(), bitmap.data(),
                                               bitmap.stride()));
    if (image && clip) pixman_image_set_clip_region32(image.get(), const_cast<pixman_region32_t*>(clip->native()));  // only read
    return image;
}

PixmanImage WrapSource(const Bitmap& bitmap, const Rect& rect) {
    // pixman takes a writable pointer, but never writes to an image used as a source.
    auto* first = const_cast<uint32_t*>(bitmap.row(rect.top) + rect.left);
    return PixmanImage(pixman_image_create_bits(PIXMAN_a8r8g8b8, rect.width(), rect.height(), first, bitmap.stride()));
}

pixman_color_t ToPixmanColor(uint32_t p) {
    auto wide = [](uint8_t c) { return static_cast<uint16_t>(c * 257); };
    return {wide(RedOf(p)), wide(GreenOf(p)), wide(BlueOf(p)), wide(AlphaOf(p))};
}

PixmanImage SolidImage(uint32_t premultipliedPixel) {
    const pixman_color_t color = ToPixmanColor(premultipliedPixel);
    return PixmanImage(pixman_image_create_solid_fill(&color));
}

}  // namespace vexlo::gfx::detail
