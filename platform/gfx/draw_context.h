#pragma once
// A drawing context over a target bitmap, shaped after a Windows device context with a
// selected 32-bit bitmap and a GDI+ graphics object on it.
//
// Coordinates are logical: logical (0, 0) is the origin (SetOrigin / OffsetOrigin, like
// the viewport origin) in target pixels. The clip is a region in target (device)
// pixels, intersected with the bitmap; it can be replaced, intersected and excluded
// from, and saved and restored with the rest of the state.
//
// Which call writes which alpha (see README.md):
//  - AlphaBlend / TileBlend / DrawImage: premultiplied source-over, saturating;
//  - Copy: the source pixels as they are (SRCCOPY);
//  - Clear: 0 (transparent); FillOpaque: alpha 255; FillGdi: alpha 0 with the colour in
//    the colour bytes (what GDI's FillRect leaves in a 32-bit bitmap);
//  - FillSolid and the shapes: the straight ARGB colour premultiplied and blended
//    source-over (GDI+ brushes and pens);
//  - GradientFill: the interpolated pixel values written as they are (GradientFill);
//  - DrawText: only the colour bytes change; the alpha byte stays (GDI's text on 32-bit
//    bitmaps), unless TextAlphaMode::kBlend is chosen.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/color.h"
#include "platform/gfx/rect.h"
#include "platform/gfx/region.h"
#include "platform/text/font.h"
#include "platform/text/text_layout.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace vexlo::gfx {

enum class ScaleFilter {
    kNearest,  // what AlphaBlend and StretchBlt in COLORONCOLOR mode do
    kSmooth,   // high-quality interpolation: box-filtered when shrinking, bilinear when growing
};

enum class Smoothing { kNone, kAntiAlias };

// GDI+ pen dash styles, with their numbers.
enum class DashStyle { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4 };

enum class GradientDirection { kHorizontal, kVertical };

enum class TextAlphaMode {
    kPreserveAlpha,  // colour bytes blended towards the text colour; alpha bytes untouched
    kBlend,          // premultiplied source-over: the text also adds coverage to alpha
};

struct Pen {
    Argb color = 0xFF000000u;
    float width = 1.0f;
    DashStyle dash = DashStyle::kSolid;
};

class DrawContext {
public:
    // The target must outlive the context; it may be resized in between calls.
    explicit DrawContext(Bitmap& target);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    Bitmap& target() { return *target_; }
    const Bitmap& target() const { return *target_; }

    // --- Origin and clip -------------------------------------------------------------
    Point origin() const { return state_.origin; }
    Point SetOrigin(Point origin);  // returns the previous origin
    Point OffsetOrigin(int dx, int dy);
    // Replaces the clip by a region in device pixels; none removes the clip.
    void SetClipRegion(const Region* deviceRegion);
    void SetClipRect(const Rect& logical);
    void IntersectClipRect(const Rect& logical);
    void ExcludeClipRect(const Rect& logical);
    // The effective clip (clip and bitmap) in device pixels.
    Region DeviceClip() const;
    // Bounding box of the effective clip in logical coordinates.
    Rect GetClipBox() const;
    bool IsVisible(const Rect& logical) const;

    // Saves origin, clip, font, text colour and modes; Restore goes back to the last
    // saved state (false when nothing was saved).
    void Save();
    bool Restore();
    class StateSaver {
    public:
        explicit StateSaver(DrawContext& dc) : dc_(dc) { dc_.Save(); }
        ~StateSaver() { dc_.Restore(); }
        StateSaver(const StateSaver&) = delete;
        StateSaver& operator=(const StateSaver&) = delete;

    private:
        DrawContext& dc_;
    };

    // --- Bitmaps ---------------------------------------------------------------------
    // Blends source over destination with per-pixel alpha and a constant alpha, scaling
    // the source rectangle to the destination rectangle. False, with nothing drawn, for
    // an empty source bitmap, a rectangle with a size that is not positive, or a source
    // rectangle that is not inside the source bitmap.
    bool AlphaBlend(const Rect& dest, const Bitmap& source, const Rect& sourceRect, uint8_t constantAlpha = 255,
                    ScaleFilter filter = ScaleFilter::kNearest);
    // The whole source at (x, y) at its own size.
    bool AlphaBlend(int x, int y, const Bitmap& source, uint8_t constantAlpha = 255);
    // Smooth scaling (GDI+ DrawImage with high-quality interpolation).
    bool DrawImage(const Bitmap& source, const Rect& sourceRect, const Rect& dest, uint8_t constantAlpha = 255) {
        return AlphaBlend(dest, source, sourceRect, constantAlpha, ScaleFilter::kSmooth);
    }
    // Repeats the source rectangle from the destination's top-left corner; the last
    // column and row are cut at the destination's edges.
    bool TileBlend(const Rect& dest, const Bitmap& source, const Rect& sourceRect, uint8_t constantAlpha = 255);
    // Copies source pixels, alpha included (BitBlt SRCCOPY). The part of the source
    // rectangle outside the source bitmap is not copied. Source and target may be the
    // same bitmap, overlapping.
    bool Copy(const Rect& dest, const Bitmap& source, Point sourceTopLeft);

    // --- Fills -----------------------------------------------------------------------
    void Clear(const Rect& rect);
    void FillOpaque(const Rect& rect, ColorRef color);
    void FillGdi(const Rect& rect, ColorRef color);
    void FillSolid(const Rect& rect, Argb color);
    // Colours are premultiplied pixel values, interpolated per channel from the first
    // column (row) towards `to`, which the edge past the last column (row) would have.
    void GradientFill(const Rect& rect, uint32_t fromPixel, uint32_t toPixel, GradientDirection direction);

    // --- Shapes (GDI+-like) ------------------------------------------------------------
    // Stroke coordinates name pixel centres: a 1-pixel pen from (0, 0) to (9, 0) covers
    // exactly pixels 0 to 9 of row 0, and DrawRectangle(pen, 0, 0, 9, 9) draws the
    // outline through pixels 0 and 9. Fill bounds lie on pixel edges: FillRectangle
    // (0, 0, 10, 10) covers pixels 0 to 9.
    Smoothing smoothing() const { return state_.smoothing; }
    void SetSmoothing(Smoothing smoothing) { state_.smoothing = smoothing; }
    void DrawLine(const Pen& pen, float x1, float y1, float x2, float y2);
    void DrawRectangle(const Pen& pen, float x, float y, float width, float height);
    void FillRectangle(Argb color, float x, float y, float width, float height);
    void DrawEllipse(const Pen& pen, float x, float y, float width, float height);
    void FillEllipse(Argb color, float x, float y, float width, float height);
    // Angles in degrees, clockwise from the positive x axis (so 270 is twelve o'clock).
    void FillPie(Argb color, float x, float y, float width, float height, float startAngle, float sweepAngle);
    void DrawPie(const Pen& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);

    // --- Text ------------------------------------------------------------------------
    // None selects the default interface font. Returns the previous selection.
    text::FontPtr SelectFont(text::FontPtr font);
    // The selected font, or the default interface font.
    text::FontPtr font() const;
    ColorRef textColor() const { return state_.textColor; }
    ColorRef SetTextColor(ColorRef color);
    TextAlphaMode textAlphaMode() const { return state_.textAlphaMode; }
    void SetTextAlphaMode(TextAlphaMode mode) { state_.textAlphaMode = mode; }
    // Draws (or with DT_CALCRECT only measures) text in the rectangle with the DrawText
    // flags of text/text_format.h; the background stays. Returns the height of the text.
    // DT_CALCRECT sets rect's right and bottom to the extent of the text. Unless
    // DT_NOCLIP, the text is cut at the rectangle.
    int DrawText(std::u16string_view text, Rect& rect, unsigned flags);
    Size GetTextExtent(std::u16string_view text) const;
    text::FontMetrics GetTextMetrics() const { return font()->metrics(); }

private:
    struct State {
        Point origin;
        std::optional<Region> clip;  // device pixels; none: the whole bitmap
        text::FontPtr font;
        ColorRef textColor = 0;
        Smoothing smoothing = Smoothing::kNone;
        TextAlphaMode textAlphaMode = TextAlphaMode::kPreserveAlpha;
    };

    Rect ToDevice(const Rect& logical) const { return logical.Offset(state_.origin.x, state_.origin.y); }
    Region ClipWithin(const Rect& deviceRect) const;
    void FillPixel(const Rect& rect, uint32_t pixel);
    void DrawGlyphs(const text::Font& font, const text::LaidOutLine& line, int x, int baseline, const Region& clip);

    Bitmap* target_;
    State state_;
    std::vector<State> saved_;
};

// A new bitmap of the given size holding the source drawn at that size.
Bitmap ScaledCopy(const Bitmap& source, int width, int height, ScaleFilter filter = ScaleFilter::kSmooth);

}  // namespace vexlo::gfx
