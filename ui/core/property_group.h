#pragma once
// duPropertyGroup: the attributes a control declares for its skin element and the fields
// their values go to.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/core/wide_text.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {

enum PropertyKind : uint16_t {
    kPropertyInt = 1,
    kPropertyFloat = 2,
    kPropertyDouble = 3,
    kPropertyColor = 4,
    kPropertyText = 5,
    kPropertyBool = 6,
    kPropertyStyle = 16,
    kPropertyImage = 18,
    kPropertyFont = 19,
    kPropertyRegion = 20,
};

// A fixed text field and its capacity in characters (terminator included).
struct TextTarget {
    char16_t* data = nullptr;
    size_t capacity = 0;
};

// Where a value goes: integers and booleans to int32_t, colours to uint32_t, floats and
// doubles to their types, texts to a fixed field (cut to fit) or a whole string.
using PropertyDestination =
    std::variant<std::monostate, int32_t*, uint32_t*, float*, double*, TextTarget, std::u16string*>;

template <size_t N>
PropertyDestination TextField(WideField<N>& field) {
    return TextTarget{field.data(), N};
}

class duPropertyGroup {
public:
    explicit duPropertyGroup(ElementRef source) : source_(std::move(source)) {}
    virtual ~duPropertyGroup() = default;

    // 0 for a missing name or destination, a refused kind (7, 10 to 15, outside 1 to 21)
    // or a destination that cannot hold the kind; otherwise the entry is appended.
    int AddProperty(uint16_t kind, int group, const char16_t* name, PropertyDestination destination);
    // Converts every declared attribute in declaration order; 0 without a source element.
    int ParseProperties();

    size_t count() const { return entries_.size(); }
    const ElementRef& source() const { return source_; }

private:
    struct Entry {
        std::u16string name;
        uint16_t kind;
        PropertyDestination destination;
    };
    std::vector<Entry> entries_;
    ElementRef source_;
};

}  // namespace vexlo::ui
