#include "ui/core/text_style.h"

#include "ui/core/attribute_values.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/font_resource.h"
#include "ui/core/res_manager.h"

namespace vexlo::ui {

void duTextStyle::SetFont(const char16_t* name) {
    if (name) font_.Set(name);
    else font_.Clear();
}
void duTextStyle::SetHAlign(const char16_t* v) {
    if (v) hAlign_.Set(v);
    else hAlign_.Clear();
}
void duTextStyle::SetVAlign(const char16_t* v) {
    if (v) vAlign_.Set(v);
    else vAlign_.Clear();
}

int duTextStyle::CreateFromXml(const XmlElement& e) {
    duStyleBase::CreateFromXml(e);
    color_ = ReadColorAttribute(e, u"textcolor");
    ReadBoolAttribute(e, u"bsingleline", singleLine_);
    ReadTextAttribute(e, u"font", font_);
    ReadTextAttribute(e, u"halign", hAlign_);
    ReadTextAttribute(e, u"valign", vAlign_);
    return 1;
}

ObjectPtr<duStyleBase> duTextStyle::Clone() const {
    ObjectPtr<duTextStyle> c(new duTextStyle(*this));
    CopyBaseTo(*c);
    return c;
}

duFont* duTextStyle::FindFont() const {
    duResManager* m = resManager();
    return m ? dynamic_cast<duFont*>(m->GetResObj(font_.c_str(), kResFont)) : nullptr;
}

text::FontPtr duTextStyle::GetHFont() const {
    duFont* f = FindFont();
    return f ? f->GetHFont() : nullptr;
}

unsigned duTextStyle::Flags() const {
    unsigned flags = 0;
    if (EqualsNoCase(hAlign_.view(), u"center")) flags |= kTextCenter;
    else if (EqualsNoCase(hAlign_.view(), u"right")) flags |= kTextRight;
    if (EqualsNoCase(vAlign_.view(), u"center")) flags |= kTextVCenter;
    else if (EqualsNoCase(vAlign_.view(), u"bottom")) flags |= kTextBottom;
    if (singleLine_) flags |= kTextSingleLine;
    return flags;
}

void duTextStyle::CalcTextSize(std::u16string_view text, gfx::Size* out) const {
    if (!out) return;
    *out = {};
    *out = MeasureTextSize(FindFont(), text, singleLine_ != 0);
}

void duTextStyle::Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view text, int alpha) {
    if (text.empty() || alpha == 0) return;
    DrawTextAlpha(dc, FindFont(), color_, text, PlaceStyleRect(rect), Flags());
}

}  // namespace vexlo::ui
