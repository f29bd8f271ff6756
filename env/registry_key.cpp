#include "env/registry_key.h"

#include <cstring>

#include "platform/base/numbers.h"

namespace vexlo::env {
namespace {

// The reading buffer of a text value: 259 characters and a terminator.
constexpr size_t kMaxStringBytes = 259 * 2;

}  // namespace

RegistryKey::RegistryKey(platform::WString path, platform::RegistryView view,
                         platform::MachineRegistry store)
    : path_(std::move(path)), view_(view), store_(std::move(store)) {}

bool RegistryKey::Create() const { return store_.CreateKey(view_, path_); }

platform::WString RegistryKey::ReadString(platform::WStringView name) const {
    auto value = store_.QueryValue(view_, path_, name);
    if (!value || value->data.size() > kMaxStringBytes) return {};
    platform::WString text;
    const std::string& bytes = value->data;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const auto low = static_cast<uint8_t>(bytes[i]);
        const auto high = i + 1 < bytes.size() ? static_cast<uint8_t>(bytes[i + 1]) : 0;
        const auto unit = static_cast<char16_t>(low | (high << 8));
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

std::optional<uint32_t> RegistryKey::ReadDword(platform::WStringView name) const {
    auto value = store_.QueryValue(view_, path_, name);
    if (!value || value->data.size() > 4) return std::nullopt;
    uint32_t result = 0;
    for (size_t i = 0; i < value->data.size(); ++i) {
        result |= static_cast<uint32_t>(static_cast<uint8_t>(value->data[i])) << (8 * i);
    }
    return result;
}

bool RegistryKey::WriteString(platform::WStringView name, platform::WStringView text) const {
    return store_.SetValue(view_, path_, name, platform::RegistryValue::String(text));
}

bool RegistryKey::WriteInt(platform::WStringView name, int32_t value) const {
    return WriteString(name, platform::FormatIntWide(value));
}

}  // namespace vexlo::env
