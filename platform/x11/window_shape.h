#pragma once
// The shape a top-level window takes on the screen, from its region and, for a
// per-pixel-alpha window, from the pixels of its frame that are not fully transparent
// (the same pixels the window system counts as part of the window when it hit-tests).
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"
#include "platform/gfx/region.h"

#include <optional>

namespace vexlo::x11 {

// None: the whole window rectangle. `frame` may be null (nothing presented yet).
std::optional<gfx::Region> ShapeForWindow(bool layered, const gfx::Bitmap* frame, gfx::Point frameOffset,
                                          gfx::Size windowSize, const std::optional<gfx::Region>& windowRegion);

}  // namespace vexlo::x11
