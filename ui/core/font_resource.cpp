#include "ui/core/font_resource.h"

#include "ui/core/attribute_values.h"

namespace vexlo::ui {

void duFont::SetFontFace(const char16_t* face) {
    if (face) face_.Set(face);
    else face_.Clear();
}

int duFont::CreateFromXml(const XmlElement& element) {
    height_ = ReadIntAttribute(element, u"height");
    weight_ = ReadIntAttribute(element, u"weight");
    ReadBoolAttribute(element, u"italic", italic_);
    ReadBoolAttribute(element, u"underline", underline_);
    ReadBoolAttribute(element, u"strikeout", strikeout_);
    ReadTextAttribute(element, u"fontface", face_);
    return CreateHFont();
}

int duFont::CreateHFont() {
    text::FontSpec spec;
    spec.face = face_.str();
    // A negative height asks for the character height; INT32_MIN has no negation.
    spec.height = height_ == INT32_MIN ? INT32_MAX : -height_;
    spec.weight = weight_;
    spec.italic = italic_ != 0;
    spec.underline = underline_ != 0;
    spec.strikeout = strikeout_ != 0;
    font_ = text::Font::Create(spec);
    return font_ ? 1 : 0;
}

}  // namespace vexlo::ui
