#pragma once
// The machine-wide registry store that stands in for HKEY_LOCAL_MACHINE.
//
// The store is a folder (VEXLO_MACHINE_REGISTRY, read anew at every access, else the
// build's VEXLO_DEFAULT_MACHINE_REGISTRY) with one tree per view, so the 32-bit and the
// 64-bit views never see each other's keys. A key is a directory, a value is one file in
// it; key and value names are compared without regard to case. Every write goes to a file
// aside, is flushed and then renamed over the value, so a crash leaves either the old or
// the new value. File-system permissions decide who may write: a store (or key) the
// process cannot write fails the write, as a key does for a user without rights.
//
// The store's contents are untrusted: sizes are bounded and a malformed value reads as
// missing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/text.h"

namespace vexlo::platform {

enum class RegistryView { k32Bit, k64Bit };

inline constexpr uint32_t kRegSz = 1;     // UTF-16LE text
inline constexpr uint32_t kRegDword = 4;  // 32-bit little-endian integer

// The largest value data the store reads or writes.
inline constexpr size_t kMaxRegistryValueBytes = 1 << 20;
// The longest key component or value name, in UTF-16 code units.
inline constexpr size_t kMaxRegistryNameLength = 255;

struct RegistryValue {
    uint32_t type = kRegSz;
    std::string data;  // raw bytes, as the registry holds them

    static RegistryValue String(WStringView text);  // no terminating NUL is stored
    static RegistryValue Dword(uint32_t value);
};

// The folder in force right now: VEXLO_MACHINE_REGISTRY when set and not empty, else the
// build's default.
std::string MachineRegistryFolder();

class MachineRegistry {
public:
    // Follows VEXLO_MACHINE_REGISTRY at every access.
    MachineRegistry() = default;
    // A store at a fixed folder (tests, the command-line tool's --store).
    explicit MachineRegistry(std::string folder) : folder_(std::move(folder)) {}

    std::string Folder() const;

    // Key paths use '\' between components; a trailing '\' is allowed, empty components are
    // not. Creates missing keys along the path; true when the key exists afterwards and the
    // process may write to it (full access).
    bool CreateKey(RegistryView view, WStringView keyPath) const;
    // True when the key exists and can be read.
    bool KeyExists(RegistryView view, WStringView keyPath) const;

    // Missing key or value, no access, malformed or oversized file: nullopt.
    std::optional<RegistryValue> QueryValue(RegistryView view, WStringView keyPath,
                                            WStringView valueName) const;
    // The key must exist. False when it does not, when the process may not write to it, or
    // when the name or data exceed the limits.
    bool SetValue(RegistryView view, WStringView keyPath, WStringView valueName,
                  const RegistryValue& value) const;
    bool DeleteValue(RegistryView view, WStringView keyPath, WStringView valueName) const;

    // The readable values of a key with the names as they were written, sorted by name.
    std::optional<std::vector<std::pair<WString, RegistryValue>>> ListValues(
        RegistryView view, WStringView keyPath) const;

private:
    std::optional<std::string> folder_;
};

}  // namespace vexlo::platform
