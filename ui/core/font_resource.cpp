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
    text::FontRequest request;
    request.face = face_.str();
    // A negative height asks for the character height; INT32_MIN has no negation.
    request.height = height_ == INT32_MIN ? INT32_MAX : -height_;
    request.weight = weight_;
    request.italic = italic_ != 0;
    request.underline = underline_ != 0;
    request.strikeout = strikeout_ != 0;
    font_ = text::Font::Create(request);
    return font_ ? 1 : 0;
}

}  // namespace vexlo::ui
