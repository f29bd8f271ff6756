#include "platform/sys/registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/sys/file_path.h"
#include "platform/sys/files.h"
#include "platform/sys/registry_names.h"
#include "platform/sys/system_info.h"

#ifndef VEXLO_DEFAULT_MACHINE_REGISTRY
#error "VEXLO_DEFAULT_MACHINE_REGISTRY must name the default folder of the registry store"
#endif

namespace vexlo::platform {
namespace {

using namespace registry_detail;

// A value file: "VXRV", type, name length in bytes, the name (UTF-16LE as written), data
// length, data. Every number is 32-bit little-endian; the file ends right after the data.
constexpr char kMagic[] = {'V', 'X', 'R', 'V'};
constexpr size_t kHeaderBytes = sizeof kMagic + 4 + 4 + 4;
constexpr size_t kMaxValueFileBytes =
    kHeaderBytes + 2 * kMaxRegistryNameLength + kMaxRegistryValueBytes;

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool TakeU32(std::string_view& in, uint32_t& v) {
    if (in.size() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(in[i])) << (8 * i);
    in.remove_prefix(4);
    return true;
}

std::string Utf16Bytes(WStringView text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

WString FromUtf16Bytes(std::string_view bytes) {
    WString out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                     (static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
    return out;
}

std::string SerializeValue(WStringView name, const RegistryValue& value) {
    const std::string nameBytes = Utf16Bytes(name);
    std::string out(kMagic, sizeof kMagic);
    PutU32(out, value.type);
    PutU32(out, static_cast<uint32_t>(nameBytes.size()));
    out += nameBytes;
    PutU32(out, static_cast<uint32_t>(value.data.size()));
    out += value.data;
    return out;
}

struct StoredValue {
    WString name;
    RegistryValue value;
};

std::optional<StoredValue> ParseValue(std::string_view in) {
    if (in.size() < kHeaderBytes || in.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic)) {
        return std::nullopt;
    }
    in.remove_prefix(sizeof kMagic);
    StoredValue stored;
    uint32_t nameBytes = 0, dataBytes = 0;
    if (!TakeU32(in, stored.value.type) || !TakeU32(in, nameBytes)) return std::nullopt;
    if (nameBytes % 2 != 0 || nameBytes > 2 * kMaxRegistryNameLength || nameBytes > in.size()) {
        return std::nullopt;
    }
    stored.name = FromUtf16Bytes(in.substr(0, nameBytes));
    in.remove_prefix(nameBytes);
    if (!TakeU32(in, dataBytes) || dataBytes > kMaxRegistryValueBytes || dataBytes != in.size()) {
        return std::nullopt;
    }
    stored.value.data.assign(in);
    return stored;
}

std::string ViewFolder(const std::string& store, RegistryView view) {
    return store + (view == RegistryView::k32Bit ? "/view32" : "/view64");
}

std::optional<std::string> KeyFolder(const std::string& store, RegistryView view,
                                      WStringView keyPath) {
    auto dirs = KeyDirectories(keyPath);
    if (!dirs) return std::nullopt;
    std::string path = ViewFolder(store, view);
    for (const std::string& dir : *dirs) path += "/" + dir;
    return path;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MayAccess(const std::string& path, int mode) {
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

bool MakeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0) return true;
    return errno == EEXIST && IsDirectory(path);
}

std::optional<StoredValue> ReadValueFile(const std::string& path) {
    FileBytes file = ReadWholeFile(path, kMaxValueFileBytes, /*noFollow=*/true);
    if (file.status != ReadStatus::kOk) return std::nullopt;
    return ParseValue(file.bytes);
}

}  // namespace

RegistryValue RegistryValue::String(WStringView text) { return {kRegSz, Utf16Bytes(text)}; }

RegistryValue RegistryValue::Dword(uint32_t value) {
    RegistryValue v{kRegDword, {}};
    PutU32(v.data, value);
    return v;
}

std::string MachineRegistryFolder() {
    const char* folder = std::getenv("VEXLO_MACHINE_REGISTRY");
    if (folder != nullptr && *folder != '\0') return folder;
    return VEXLO_DEFAULT_MACHINE_REGISTRY;
}

std::string MachineRegistry::Folder() const { return folder_ ? *folder_ : MachineRegistryFolder(); }

bool MachineRegistry::CreateKey(RegistryView view, WStringView keyPath) const {
    const std::string store = Folder();
    auto dirs = KeyDirectories(keyPath);
    if (!dirs || store.empty() || !OpenableFsPath(store)) return false;
    // The store's own folders come first, with their parents.
    std::string path = ViewFolder(store, view);
    if (!IsDirectory(store) && !CreateDirectoryWithParents(store, 0755)) return false;
    if (!MakeFolder(path)) return false;
    for (const std::string& dir : *dirs) {
        path += "/" + dir;
        if (!MakeFolder(path)) return false;
    }
    return MayAccess(path, R_OK | W_OK | X_OK);
}

bool MachineRegistry::KeyExists(RegistryView view, WStringView keyPath) const {
    auto folder = KeyFolder(Folder(), view, keyPath);
    return folder && IsDirectory(*folder) && MayAccess(*folder, R_OK | X_OK);
}

std::optional<RegistryValue> MachineRegistry::QueryValue(RegistryView view, WStringView keyPath,
                                                         WStringView valueName) const {
    auto folder = KeyFolder(Folder(), view, keyPath);
    auto file = ValueFileName(valueName);
    if (!folder || !file) return std::nullopt;
    auto stored = ReadValueFile(*folder + "/" + *file);
    if (!stored) return std::nullopt;
    // A file renamed into place by hand that names another value is not this value.
    if (FoldName(stored->name) != FoldName(valueName)) return std::nullopt;
    return std::move(stored->value);
}

bool MachineRegistry::SetValue(RegistryView view, WStringView keyPath, WStringView valueName,
                               const RegistryValue& value) const {
    auto folder = KeyFolder(Folder(), view, keyPath);
    auto file = ValueFileName(valueName);
    if (!folder || !file || value.data.size() > kMaxRegistryValueBytes) return false;
    if (!IsDirectory(*folder)) return false;
    // A process without write rights fails even when nothing would change.
    if (::access(folder->c_str(), W_OK) != 0) return false;
    const std::string path = *folder + "/" + *file;
    const std::string bytes = SerializeValue(valueName, value);
    // The updater rewrites the same values on every start; leaving an identical value in
    // place spares two flushes to disk per value and changes nothing a reader can see.
    FileBytes current = ReadWholeFile(path, bytes.size(), /*noFollow=*/true);
    if (current.status == ReadStatus::kOk && current.bytes == bytes) return true;
    return ReplaceFileAtomically(path, bytes, 0644);
}

bool MachineRegistry::DeleteValue(RegistryView view, WStringView keyPath,
                                  WStringView valueName) const {
    auto folder = KeyFolder(Folder(), view, keyPath);
    auto file = ValueFileName(valueName);
    if (!folder || !file) return false;
    return ::unlink((*folder + "/" + *file).c_str()) == 0;
}

std::optional<std::vector<std::pair<WString, RegistryValue>>> MachineRegistry::ListValues(
    RegistryView view, WStringView keyPath) const {
    auto folder = KeyFolder(Folder(), view, keyPath);
    if (!folder) return std::nullopt;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder->c_str()), &::closedir);
    if (!dir) return std::nullopt;
    std::vector<std::pair<WString, RegistryValue>> values;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name.substr(0, 2) != kValuePrefix) continue;
        auto stored = ReadValueFile(*folder + "/" + std::string(name));
        if (!stored || kValuePrefix + EncodeName(stored->name).value_or("") != name) continue;
        values.emplace_back(std::move(stored->name), std::move(stored->value));
    }
    std::sort(values.begin(), values.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return values;
}

}  // namespace vexlo::platform
