#include "ui/core/property_group.h"

#include <cstdlib>

#include "platform/base/text.h"
#include "ui/core/attribute_values.h"

namespace vexlo::ui {
namespace {

bool IsTextKind(uint16_t kind) {
    switch (kind) {
        case 5: case 8: case 9: case 16: case 17: case 18: case 19: case 20: case 21: return true;
        default: return false;
    }
}

bool Accepts(uint16_t kind, const PropertyDestination& d) {
    if (IsTextKind(kind)) return std::holds_alternative<TextTarget>(d) || std::holds_alternative<std::u16string*>(d);
    switch (kind) {
        case kPropertyInt:
        case kPropertyBool: return std::holds_alternative<int32_t*>(d);
        case kPropertyFloat: return std::holds_alternative<float*>(d);
        case kPropertyDouble: return std::holds_alternative<double*>(d);
        case kPropertyColor: return std::holds_alternative<uint32_t*>(d);
        default: return false;
    }
}

bool IsMissing(const PropertyDestination& d) {
    return std::visit(
        [](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) return true;
            else if constexpr (std::is_same_v<T, TextTarget>) return v.data == nullptr || v.capacity == 0;
            else return v == nullptr;
        },
        d);
}

double ParseFloatingText(std::u16string_view text) {
    std::string narrow = platform::WideToUtf8(text);
    return std::strtod(narrow.c_str(), nullptr);
}

}  // namespace

int duPropertyGroup::AddProperty(uint16_t kind, int /*group*/, const char16_t* name, PropertyDestination destination) {
    if (!name || IsMissing(destination) || !Accepts(kind, destination)) return 0;
    entries_.push_back({std::u16string(name), kind, destination});
    return 1;
}

int duPropertyGroup::ParseProperties() {
    if (!source_.element) return 0;
    for (const Entry& entry : entries_) {
        auto value = source_.element.Attribute(entry.name);
        if (!value || value->empty()) continue;
        const std::u16string& v = *value;
        if (IsTextKind(entry.kind)) {
            if (auto* s = std::get_if<std::u16string*>(&entry.destination)) {
                **s = v;
            } else {
                // The whole value would overrun a fixed field: cut it to fit.
                const TextTarget& t = std::get<TextTarget>(entry.destination);
                size_t n = std::min(v.size(), t.capacity - 1);
                v.copy(t.data, n);
                t.data[n] = 0;
            }
            continue;
        }
        switch (entry.kind) {
            case kPropertyInt: *std::get<int32_t*>(entry.destination) = ParseInteger(v); break;
            case kPropertyFloat: *std::get<float*>(entry.destination) = static_cast<float>(ParseFloatingText(v)); break;
            case kPropertyDouble: *std::get<double*>(entry.destination) = ParseFloatingText(v); break;
            case kPropertyColor: *std::get<uint32_t*>(entry.destination) = ParseColor(v, 0); break;
            case kPropertyBool:
                if (auto b = ParseBoolean(v, false)) *std::get<int32_t*>(entry.destination) = *b;
                break;
            default: break;
        }
    }
    return 1;
}

}  // namespace vexlo::ui
