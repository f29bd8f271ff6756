#pragma once
// The parsed skin description. Elements are read through XmlElement: its name, its first
// child element, its next sibling element and its attributes, whose names are looked up
// without regard to ASCII letter case. Element names are given as written; callers
// decide whether they compare them exactly (structure) or without case (controls).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TiXmlDocument;
class TiXmlElement;

namespace vexlo::ui {

class XmlElement {
public:
    XmlElement() = default;
    explicit XmlElement(const TiXmlElement* element) : element_(element) {}

    explicit operator bool() const { return element_ != nullptr; }
    bool operator==(const XmlElement&) const = default;

    std::u16string Name() const;
    bool NameIs(std::u16string_view name) const;  // exactly
    XmlElement FirstChild() const;
    XmlElement NextSibling() const;
    // The first child element with exactly this name.
    XmlElement FirstChild(std::u16string_view name) const;
    // The first attribute whose name equals `name` without regard to case; none when absent.
    std::optional<std::u16string> Attribute(std::u16string_view name) const;
    // The attribute's text, empty when absent.
    std::u16string AttributeOrEmpty(std::u16string_view name) const { return Attribute(name).value_or(u""); }

    const TiXmlElement* native() const { return element_; }

private:
    const TiXmlElement* element_ = nullptr;
};

class SkinDocument {
public:
    // Parses UTF-16 XML (without byte-order mark). A document that does not parse keeps
    // what was read before the error (ok() is false); one nested deeper than the reader
    // allows holds nothing.
    static std::shared_ptr<SkinDocument> Parse(std::u16string_view text);
    ~SkinDocument();

    bool ok() const { return ok_; }
    // The first top-level element with exactly this name.
    XmlElement TopLevel(std::u16string_view name) const;

private:
    SkinDocument();
    std::unique_ptr<TiXmlDocument> document_;
    bool ok_ = false;
};

// An element together with the document that owns it: whoever keeps one keeps the
// document alive, so a skin change cannot free an element still in use.
struct ElementRef {
    std::shared_ptr<const SkinDocument> document;
    XmlElement element;

    explicit operator bool() const { return document && element; }
};

}  // namespace vexlo::ui
