#include "platform/x11/window_shape.h"

namespace vexlo::x11 {

std::optional<gfx::Region> ShapeForWindow(bool layered, const gfx::Bitmap* frame, gfx::Point frameOffset,
                                          gfx::Size windowSize, const std::optional<gfx::Region>& windowRegion) {
    const gfx::Rect bounds{0, 0, windowSize.width, windowSize.height};
    std::optional<gfx::Region> shape;
    if (windowRegion) {
        shape = *windowRegion;
        shape->Intersect(bounds);
    }
    if (layered && frame && !frame->empty()) {
        gfx::Region visible = gfx::Region::FromAlpha(*frame);
        visible.Offset(frameOffset.x, frameOffset.y);
        visible.Intersect(bounds);
        if (shape) {
            shape->Intersect(visible);
        } else {
            shape = std::move(visible);
        }
    }
    if (shape && *shape == gfx::Region(bounds)) return std::nullopt;
    return shape;
}

}  // namespace vexlo::x11
