#include "platform/sys/registry_names.h"

#include <locale.h>
#include <wctype.h>

#include <cstdint>

#include "platform/sys/file_path.h"
#include "platform/sys/registry.h"

namespace vexlo::platform::registry_detail {
namespace {

// The longest name kept readable on disk; longer ones keep a readable start and end in a
// hash of the whole name, which stays within the file systems' 255 bytes with the prefix.
constexpr size_t kMaxEncodedName = 240;
constexpr size_t kHashedPrefix = 200;

// Unicode case mapping regardless of the process's own locale.
locale_t CaseLocale() {
    static const locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l;
    }();
    return locale;
}

bool IsSafeByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '_' || c == '.' || c == ' ';
}

}  // namespace

WString FoldName(WStringView name) {
    const locale_t locale = CaseLocale();
    WString out(name);
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        } else if (c >= 0x80 && (c < 0xD800 || c > 0xDFFF) && locale != nullptr) {
            const wint_t upper = towupper_l(static_cast<wint_t>(c), locale);
            if (upper < 0x10000) c = static_cast<char16_t>(upper);
        }
    }
    return out;
}

std::optional<std::string> EncodeName(WStringView name) {
    if (name.size() > kMaxRegistryNameLength) return std::nullopt;
    if (name.find(u'\0') != WStringView::npos) return std::nullopt;
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string folded = WideToFsPath(FoldName(name));
    std::string out;
    size_t prefixEnd = 0;  // where the hashed form cuts, never inside an escape
    for (unsigned char c : folded) {
        if (IsSafeByte(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
        if (out.size() <= kHashedPrefix) prefixEnd = out.size();
    }
    if (out.size() <= kMaxEncodedName) return out;
    // '~' is never part of a plain form, so a hashed name cannot equal another's plain one.
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : folded) hash = (hash ^ c) * 1099511628211ull;
    out.resize(prefixEnd);
    out += '~';
    for (int shift = 60; shift >= 0; shift -= 4) out += kHex[(hash >> shift) & 0xF];
    return out;
}

std::optional<std::vector<std::string>> KeyDirectories(WStringView keyPath) {
    if (!keyPath.empty() && keyPath.back() == u'\\') keyPath.remove_suffix(1);
    if (keyPath.empty()) return std::nullopt;
    std::vector<std::string> out;
    while (true) {
        const size_t end = keyPath.find(u'\\');
        const WStringView component = keyPath.substr(0, end);
        if (component.empty()) return std::nullopt;
        auto encoded = EncodeName(component);
        if (!encoded) return std::nullopt;
        out.push_back("k." + *encoded);
        if (end == WStringView::npos) break;
        keyPath.remove_prefix(end + 1);
    }
    return out;
}

std::optional<std::string> ValueFileName(WStringView valueName) {
    auto encoded = EncodeName(valueName);
    if (!encoded) return std::nullopt;
    return kValuePrefix + *encoded;
}

}  // namespace vexlo::platform::registry_detail
