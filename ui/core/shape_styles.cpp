#include "ui/core/shape_styles.h"

#include <algorithm>

#include "platform/gfx/color.h"
#include "ui/core/attribute_values.h"

namespace vexlo::ui {

float PenWidth(int32_t width) { return width > 0 ? static_cast<float>(std::min(width, 4096)) : 1.0f; }

namespace {
uint8_t AlphaByte(int alpha) { return static_cast<uint8_t>(std::clamp(alpha, 0, 255)); }
}  // namespace

void duRectStyle::SetBorderType(const char16_t* v) {
    if (v) borderType_.Set(v);
    else borderType_.Clear();
}

int duRectStyle::CreateFromXml(const XmlElement& e) {
    duStyleBase::CreateFromXml(e);
    fillColor_ = ReadColorAttribute(e, u"fillcolor");
    borderColor_ = ReadColorAttribute(e, u"bordercolor");
    ReadBoolAttribute(e, u"bfill", fill_);
    ReadBoolAttribute(e, u"fill", fill_);
    ReadBoolAttribute(e, u"bborder", border_);
    ReadBoolAttribute(e, u"border", border_);
    ReadTextAttribute(e, u"bordertype", borderType_);
    borderWidth_ = ReadIntAttribute(e, u"borderwidth");
    return 1;
}

ObjectPtr<duStyleBase> duRectStyle::Clone() const {
    ObjectPtr<duRectStyle> c(new duRectStyle(*this));
    CopyBaseTo(*c);
    return c;
}

void duRectStyle::Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view, int alpha) {
    const gfx::Rect d = PlaceStyleRect(rect);
    const uint8_t a = AlphaByte(alpha);
    if (fill_) {
        dc.FillRectangle(gfx::ArgbFromColorRef(a, fillColor_), static_cast<float>(d.left), static_cast<float>(d.top),
                         static_cast<float>(d.width()), static_cast<float>(d.height()));
    }
    if (border_) {
        gfx::Pen pen{gfx::ArgbFromColorRef(a, borderColor_), PenWidth(borderWidth_), DashStyleFromName(borderType_.view())};
        dc.DrawRectangle(pen, static_cast<float>(d.left), static_cast<float>(d.top), static_cast<float>(d.width() - 1),
                         static_cast<float>(d.height() - 1));
    }
}

void duLineStyle::SetLineType(const char16_t* v) { lineType_.Set(v ? v : u"solid"); }

int duLineStyle::CreateFromXml(const XmlElement& e) {
    duStyleBase::CreateFromXml(e);
    color_ = ReadColorAttribute(e, u"color");
    lineWidth_ = ReadIntAttribute(e, u"linewidth");
    ReadTextAttribute(e, u"linetype", lineType_);
    if (auto v = e.Attribute(u"startpoint")) ParsePoint(*v, start_.x, start_.y);
    if (auto v = e.Attribute(u"endpoint")) ParsePoint(*v, end_.x, end_.y);
    return 1;
}

ObjectPtr<duStyleBase> duLineStyle::Clone() const {
    ObjectPtr<duLineStyle> c(new duLineStyle(*this));
    CopyBaseTo(*c);
    return c;
}

std::pair<gfx::Point, gfx::Point> duLineStyle::Ends(const gfx::Rect& control) const {
    const gfx::Rect d = PlaceStyleRect(control);
    auto place = [&d](gfx::Point p) {
        return gfx::Point{p.x < 0 ? gfx::SaturatingAdd(d.right, p.x) : gfx::SaturatingAdd(d.left, p.x),
                          p.y < 0 ? gfx::SaturatingAdd(d.bottom, p.y) : gfx::SaturatingAdd(d.top, p.y)};
    };
    return {place(start_), place(end_)};
}

void duLineStyle::Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view, int alpha) {
    auto [s, e] = Ends(rect);
    gfx::Pen pen{gfx::ArgbFromColorRef(AlphaByte(alpha), color_), PenWidth(lineWidth_), DashStyleFromName(lineType_.view())};
    dc.DrawLine(pen, static_cast<float>(s.x), static_cast<float>(s.y), static_cast<float>(e.x), static_cast<float>(e.y));
}

}  // namespace vexlo::ui
