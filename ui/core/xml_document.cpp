#include "ui/core/xml_document.h"

#include <tinyxml.h>

#include "platform/base/text.h"
#include "ui/core/skin_text.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {
namespace {

bool Utf8NameEqualsNoCase(const char* utf8, std::u16string_view name) {
    // Attribute names are compared letter by letter, folding ASCII only; a non-ASCII
    // name is compared after conversion.
    size_t i = 0;
    for (; utf8[i] && i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x80 || name[i] >= 0x80) return EqualsNoCase(platform::Utf8ToWide(utf8), name);
        if (FoldAscii(c) != FoldAscii(name[i])) return false;
    }
    return utf8[i] == 0 && i == name.size();
}

}  // namespace

std::u16string XmlElement::Name() const {
    return element_ ? platform::Utf8ToWide(element_->Value()) : std::u16string();
}

bool XmlElement::NameIs(std::u16string_view name) const { return element_ && Name() == name; }

XmlElement XmlElement::FirstChild() const {
    return XmlElement(element_ ? element_->FirstChildElement() : nullptr);
}

XmlElement XmlElement::NextSibling() const {
    return XmlElement(element_ ? element_->NextSiblingElement() : nullptr);
}

XmlElement XmlElement::FirstChild(std::u16string_view name) const {
    for (XmlElement e = FirstChild(); e; e = e.NextSibling()) {
        if (e.NameIs(name)) return e;
    }
    return XmlElement();
}

std::optional<std::u16string> XmlElement::Attribute(std::u16string_view name) const {
    if (!element_) return std::nullopt;
    for (const TiXmlAttribute* a = element_->FirstAttribute(); a; a = a->Next()) {
        if (Utf8NameEqualsNoCase(a->Name(), name)) return platform::Utf8ToWide(a->Value());
    }
    return std::nullopt;
}

SkinDocument::SkinDocument() : document_(std::make_unique<TiXmlDocument>()) {}
SkinDocument::~SkinDocument() = default;

std::shared_ptr<SkinDocument> SkinDocument::Parse(std::u16string_view text) {
    std::shared_ptr<SkinDocument> doc(new SkinDocument());
    std::string utf8 = SkinXmlToUtf8(text);
    if (XmlNestingDepth(utf8) > kMaxXmlDepth) return doc;
    // Row and column tracking is only for error reports, which nobody reads.
    doc->document_->SetTabSize(0);
    doc->document_->Parse(utf8.c_str(), nullptr, TIXML_ENCODING_UTF8);
    doc->ok_ = !doc->document_->Error();
    return doc;
}

XmlElement SkinDocument::TopLevel(std::u16string_view name) const {
    for (const TiXmlElement* e = document_->FirstChildElement(); e; e = e->NextSiblingElement()) {
        XmlElement x(e);
        if (x.NameIs(name)) return x;
    }
    return XmlElement();
}

}  // namespace vexlo::ui
