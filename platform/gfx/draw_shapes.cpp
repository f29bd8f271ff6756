#include "platform/gfx/draw_context.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace vexlo::gfx {

namespace {

struct CairoSurfaceDestroy {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoDestroy {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

// A cairo context on the target with the clip, origin and smoothing of a DrawContext.
class CairoCanvas {
public:
    CairoCanvas(Bitmap& target, const Region& clip, Point origin, Smoothing smoothing) {
        if (target.empty() || clip.IsEmpty()) return;
        surface_.reset(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(target.data()),
                                                           CAIRO_FORMAT_ARGB32, target.width(), target.height(),
                                                           target.stride()));
        if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS) return;
        cr_.reset(cairo_create(surface_.get()));
        if (cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS) {
            cr_.reset();
            return;
        }
        for (const Rect& r : clip.Rects()) cairo_rectangle(cr_.get(), r.left, r.top, r.width(), r.height());
        cairo_clip(cr_.get());
        cairo_translate(cr_.get(), origin.x, origin.y);
        cairo_set_antialias(cr_.get(), smoothing == Smoothing::kNone ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
        cairo_set_fill_rule(cr_.get(), CAIRO_FILL_RULE_WINDING);
    }
    ~CairoCanvas() {
        cr_.reset();
        if (surface_) cairo_surface_flush(surface_.get());
    }
    cairo_t* get() const { return cr_.get(); }
    explicit operator bool() const { return cr_ != nullptr; }

private:
    std::unique_ptr<cairo_surface_t, CairoSurfaceDestroy> surface_;
    std::unique_ptr<cairo_t, CairoDestroy> cr_;
};

void SetColor(cairo_t* cr, Argb c) {
    cairo_set_source_rgba(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0, AlphaOf(c) / 255.0);
}

// Pens never get thinner than one pixel (a zero width draws the thinnest line).
double PenWidth(const Pen& pen) { return std::isfinite(pen.width) ? std::max(1.0, double{pen.width}) : 1.0; }

// Dash patterns are in pen widths, as GDI+'s are.
void SetStroke(cairo_t* cr, const Pen& pen) {
    const double w = PenWidth(pen);
    SetColor(cr, pen.color);
    cairo_set_line_width(cr, w);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    std::vector<double> pattern;
    switch (pen.dash) {
        case DashStyle::kDash: pattern = {3, 1}; break;
        case DashStyle::kDot: pattern = {1, 1}; break;
        case DashStyle::kDashDot: pattern = {3, 1, 1, 1}; break;
        case DashStyle::kDashDotDot: pattern = {3, 1, 1, 1, 1, 1}; break;
        case DashStyle::kSolid: break;
    }
    for (double& length : pattern) length *= w;
    cairo_set_dash(cr, pattern.data(), static_cast<int>(pattern.size()), 0);
}

// cairo's fixed-point coordinates hold about ±8 million; larger values are refused.
bool Finite(std::initializer_list<float> values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v) && std::fabs(v) < 4e6f; });
}

// Appends an elliptic arc in the ellipse inscribed in (x, y, w, h). Angles are true
// angles (degrees, clockwise on screen); they are turned into the ellipse's parameter.
void EllipseArc(cairo_t* cr, double x, double y, double w, double h, double start, double sweep) {
    const double rx = w / 2, ry = h / 2;
    const double cx = x + rx, cy = y + ry;
    auto parameter = [&](double degrees) {
        const double a = degrees * std::numbers::pi / 180.0;
        return std::atan2(std::sin(a) * rx, std::cos(a) * ry);
    };
    double t0, t1;
    if (std::fabs(sweep) >= 360.0) {
        t0 = parameter(start);
        t1 = t0 + (sweep > 0 ? 2 : -2) * std::numbers::pi;
    } else {
        t0 = parameter(start);
        t1 = parameter(start + sweep);
        if (sweep > 0) {
            while (t1 < t0) t1 += 2 * std::numbers::pi;
        } else {
            while (t1 > t0) t1 -= 2 * std::numbers::pi;
        }
    }
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, std::max(rx, 1e-6), std::max(ry, 1e-6));
    if (sweep >= 0) {
        cairo_arc(cr, 0, 0, 1, t0, t1);
    } else {
        cairo_arc_negative(cr, 0, 0, 1, t0, t1);
    }
    cairo_restore(cr);
}

}  // namespace

void DrawContext::DrawLine(const Pen& pen, float x1, float y1, float x2, float y2) {
    if (AlphaOf(pen.color) == 0 || !Finite({x1, y1, x2, y2, pen.width})) return;
    CairoCanvas canvas(*target_, DeviceClip(), state_.origin, state_.smoothing);
    if (!canvas) return;
    cairo_t* cr = canvas.get();
    SetStroke(cr, pen);
    // The end points name pixel centres; the stroke runs from the outer edge of the first
    // pixel to the outer edge of the last one, so that both are covered.
    const double dx = double{x2} - x1, dy = double{y2} - y1;
    const double length = std::hypot(dx, dy);
    const double ex = length > 0 ? dx / length * 0.5 : 0.5;
    const double ey = length > 0 ? dy / length * 0.5 : 0.0;
    cairo_move_to(cr, x1 + 0.5 - ex, y1 + 0.5 - ey);
    cairo_line_to(cr, x2 + 0.5 + ex, y2 + 0.5 + ey);
    cairo_stroke(cr);
}

void DrawContext::DrawRectangle(const Pen& pen, float x, float y, float width, float height) {
    if (AlphaOf(pen.color) == 0 || width < 0 || height < 0 || !Finite({x, y, width, height, pen.width})) return;
    CairoCanvas canvas(*target_, DeviceClip(), state_.origin, state_.smoothing);
    if (!canvas) return;
    cairo_t* cr = canvas.get();
    SetStroke(cr, pen);
    cairo_rectangle(cr, x + 0.5, y + 0.5, width, height);
    cairo_stroke(cr);
}

void DrawContext::FillRectangle(Argb color, float x, float y, float width, float height) {
    if (AlphaOf(color) == 0 || width <= 0 || height <= 0 || !Finite({x, y, width, height})) return;
    CairoCanvas canvas(*target_, DeviceClip(), state_.origin, state_.smoothing);
    if (!canvas) return;
    cairo_t* cr = canvas.get();
    SetColor(cr, color);
    cairo_rectangle(cr, x, y, width, height);
    cairo_fill(cr);
}

void DrawContext::DrawEllipse(const Pen& pen, float x, float y, float width, float height) {
    if (AlphaOf(pen.color) == 0 || width <= 0 || height <= 0 || !Finite({x, y, width, height, pen.width})) return;
    CairoCanvas canvas(*target_, DeviceClip(), state_.origin, state_.smoothing);
    if (!canvas) return;
    cairo_t* cr = canvas.get();
    SetStroke(cr, pen);
    cairo_new_sub_path(cr);
    EllipseArc(cr, x + 0.5, y + 0.5, width, height, 0, 360);
    cairo_close_path(cr);
    cairo_stroke(cr);
}

void DrawContext::FillEllipse(Argb color, float x, float y, float width, float height) {
    if (AlphaOf(color) == 0 || width <= 0 || height <= 0 || !Finite({x, y, width, height})) return;
    CairoCanvas canvas(*target_, DeviceClip(), state_.origin, state_.smoothing);
    if (!canvas) return;
    cairo_t* cr = canvas.get();
    SetColor(cr, color);
    cairo_new_sub_path(cr);
    EllipseArc(cr, x, y, width, height, 0, 360);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void DrawContext::FillPie(Argb color, float x, float y, float width, float height, float startAngle,
                          float sweepAngle) {
    if (AlphaOf(color) == 0 || width <= 0 || height <= 0 || sweepAngle == 0 ||
        !Finite({x, y, width, height, startAngle, sweepAngle})) {
        return;
    }
    CairoCanvas canvas(*target_, DeviceClip(), state_.origin, state_.smoothing);
    if (!canvas) return;
    cairo_t* cr = canvas.get();
    SetColor(cr, color);
    cairo_move_to(cr, x + width / 2.0, y + height / 2.0);
    EllipseArc(cr, x, y, width, height, startAngle, sweepAngle);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void DrawContext::DrawPie(const Pen& pen, float x, float y, float width, float height, float startAngle,
                          float sweepAngle) {
    if (AlphaOf(pen.color) == 0 || width <= 0 || height <= 0 || sweepAngle == 0 ||
        !Finite({x, y, width, height, startAngle, sweepAngle, pen.width})) {
        return;
    }
    CairoCanvas canvas(*target_, DeviceClip(), state_.origin, state_.smoothing);
    if (!canvas) return;
    cairo_t* cr = canvas.get();
    SetStroke(cr, pen);
    cairo_move_to(cr, x + 0.5 + width / 2.0, y + 0.5 + height / 2.0);
    EllipseArc(cr, x + 0.5, y + 0.5, width, height, startAngle, sweepAngle);
    cairo_close_path(cr);
    cairo_stroke(cr);
}

}  // namespace vexlo::gfx
