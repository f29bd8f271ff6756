#pragma once
// Drawing helpers that write correctly into 32-bit alpha images: image blits in the paint
// modes of image styles, and text drawn without destroying the alpha of what is under it.
// The image helpers do nothing for an image without a picture or a size that is not
// positive; every blit blends with per-pixel alpha and the constant alpha given, and
// sources are confined to the picture (nothing is read outside it).
#include <cstdint>
#include <string_view>

#include "platform/gfx/draw_context.h"
#include "platform/gfx/rect.h"

namespace vexlo::ui {

class duImage;
class duFont;

// DrawText-style flags the library uses.
enum TextFlags : unsigned {
    kTextCenter = 1,
    kTextRight = 2,
    kTextVCenter = 4,
    kTextBottom = 8,
    kTextSingleLine = 32,
};

// 1:1 copy of (sx, sy, width, height) to (x, y); the part outside the picture is cut.
void BlitImage(const duImage* image, gfx::DrawContext& dc, int x, int y, int width, int height, int sx, int sy,
               uint8_t alpha);
void StretchImage(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Rect& source,
                  uint8_t alpha);
void TileImage(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Rect& source,
               uint8_t alpha);
// Top and bottom bands 1:1 in height, the middle stretched; the width always stretched.
void DrawThreePartVert(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Rect& source,
                       int top, int bottom, uint8_t alpha);
void DrawThreePartHorz(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Rect& source,
                       int left, int right, uint8_t alpha);
// Nine-grid: corners 1:1, edges stretched along their length, the centre both ways.
void DrawNinePart(const duImage* image, gfx::DrawContext& dc, const gfx::Rect& dest, const gfx::Rect& source,
                  int left, int top, int right, int bottom, uint8_t alpha);

// Draws text into the context's 32-bit image so that every pixel keeps the alpha it had:
// text where the picture is transparent is not seen. `font` none uses the default
// interface font; colour is a 0x00BBGGRR value; flags as TextFlags (without single line
// the text is word-wrapped to the rectangle's width).
void DrawTextAlpha(gfx::DrawContext& dc, const duFont* font, uint32_t color, std::u16string_view text,
                   const gfx::Rect& rect, unsigned flags);

// The size the text takes in a font: one line, or word-wrapped from a zero width.
gfx::Size MeasureTextSize(const duFont* font, std::u16string_view text, bool singleLine);

}  // namespace vexlo::ui
