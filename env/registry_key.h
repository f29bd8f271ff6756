#pragma once
// One key of the machine registry, opened anew for every access.
#include <cstdint>
#include <optional>

#include "platform/base/text.h"
#include "platform/sys/registry.h"

namespace vexlo::env {

// The key that holds the updater's identity values and installation code.
inline constexpr char16_t kVexloKeyPath[] = u"SOFTWARE\\Vexlo";

class RegistryKey {
public:
    // Machine registry (HKEY_LOCAL_MACHINE); the 32-bit view unless told otherwise.
    explicit RegistryKey(platform::WString path,
                         platform::RegistryView view = platform::RegistryView::k32Bit,
                         platform::MachineRegistry store = {});

    // Creates the key when missing. True when it exists and may be written.
    bool Create() const;
    // The text of a value, up to its first NUL; the empty text on any failure: key or value
    // missing, no access, or more than 259 characters. The value's type is ignored.
    platform::WString ReadString(platform::WStringView name) const;
    // A value of at most 4 bytes as a 32-bit integer (missing bytes are zero); nullopt on
    // any failure or for a longer value.
    std::optional<uint32_t> ReadDword(platform::WStringView name) const;
    // REG_SZ without a terminating NUL. False when the key is missing or cannot be written.
    bool WriteString(platform::WStringView name, platform::WStringView text) const;
    // Signed decimal text through WriteString.
    bool WriteInt(platform::WStringView name, int32_t value) const;

    const platform::WString& Path() const { return path_; }
    platform::RegistryView View() const { return view_; }
    const platform::MachineRegistry& Store() const { return store_; }

private:
    platform::WString path_;
    platform::RegistryView view_;
    platform::MachineRegistry store_;
};

}  // namespace vexlo::env
