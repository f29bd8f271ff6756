#pragma once
// Painting a skin window: a full paint into a fresh image of the client area, kept as the
// window's cached picture, and the partial repaint of one control's visible rectangle
// with what lies behind and in front of it.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/draw_context.h"
#include "platform/gfx/rect.h"
#include "ui/core/window_record.h"

namespace vexlo::ui {

class duPlugin;

// Full paint. `target` is the window surface a non-layered window is copied to (none:
// the window's own surface); layered windows are presented from the new image.
void PaintWindow(WindowRecord* record, gfx::Bitmap* target);
// Draws the control clipped to `clip` (client coordinates) with the context's origin at
// the control's top-left corner; origin and clip are restored afterwards.
void PaintPlugin(const gfx::Rect& clip, gfx::DrawContext& dc, duPlugin* plugin);
// Partial repaint; 1 or 0.
int RepaintPlugin(WindowRecord* record, duPlugin* plugin);

}  // namespace vexlo::ui
