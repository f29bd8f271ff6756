#include "ui/core/style_base.h"

#include "ui/core/attribute_values.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

gfx::Rect PlaceStyleRect(const StylePlacement& p, const gfx::Rect& c) {
    using gfx::SaturatingAdd;
    gfx::Rect d;
    d.left = p.left < 0 ? SaturatingAdd(c.right, p.left) : SaturatingAdd(c.left, p.left);
    d.top = p.top < 0 ? SaturatingAdd(c.bottom, p.top) : SaturatingAdd(c.top, p.top);
    d.right = SaturatingAdd(c.right, p.right);
    d.bottom = SaturatingAdd(c.bottom, p.bottom);
    if (p.width != 0 && d.width() != p.width) d.right = SaturatingAdd(d.left, p.width);
    if (p.height != 0 && d.height() != p.height) d.bottom = SaturatingAdd(d.top, p.height);
    if (d.width() == 0 && d.height() == 0) d = c;
    return d;
}

int duStyleBase::CreateFromXml(const XmlElement& e) {
    place_.left = ReadIntAttribute(e, u"left");
    place_.top = ReadIntAttribute(e, u"top");
    place_.right = ReadIntAttribute(e, u"right");
    place_.bottom = ReadIntAttribute(e, u"bottom");
    place_.width = ReadIntAttribute(e, u"width");
    place_.height = ReadIntAttribute(e, u"height");
    state_ = ReadStateAttribute(e, u"state");
    return 1;
}

void duStyleBase::CopyBaseTo(duStyleBase& other) const {
    other.place_ = place_;
    other.state_ = state_;
    other.resManager_ = resManager_;
    other.SetTypeInfo(com::Ref<com::TypeInfo>(typeInfo()));
}

gfx::DashStyle DashStyleFromName(std::u16string_view name) {
    if (EqualsNoCase(name, u"dash")) return gfx::DashStyle::kDash;
    if (EqualsNoCase(name, u"dot")) return gfx::DashStyle::kDot;
    if (EqualsNoCase(name, u"dashdot")) return gfx::DashStyle::kDashDot;
    if (EqualsNoCase(name, u"dashnotdot")) return gfx::DashStyle::kDashDotDot;
    return gfx::DashStyle::kSolid;
}

}  // namespace vexlo::ui
