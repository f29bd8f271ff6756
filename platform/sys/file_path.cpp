#include "platform/sys/file_path.h"

#include <cstdint>

namespace vexlo::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
// Undecodable bytes 0x80..0xFF of a file name travel as these lone low surrogates.
constexpr char16_t kEscapeBase = 0xDC00;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf16(WString& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Length of the well-formed UTF-8 sequence at the start of `in`, with its code point, or 0.
size_t DecodeUtf8(std::string_view in, char32_t& cp) {
    const auto b0 = static_cast<uint8_t>(in[0]);
    size_t length;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (in.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto b = static_cast<uint8_t>(in[i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string WideToFsPath(WStringView path) {
    std::string out;
    out.reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        const char32_t c = path[i];
        if (IsHighSurrogate(c) && i + 1 < path.size() && IsLowSurrogate(path[i + 1])) {
            AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (path[i + 1] - 0xDC00));
            ++i;
        } else if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
            out += static_cast<char>(c - kEscapeBase);
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

WString FsPathToWide(std::string_view path) {
    WString out;
    out.reserve(path.size());
    while (!path.empty()) {
        char32_t cp = 0;
        size_t used = DecodeUtf8(path, cp);
        if (used == 0) {
            out += static_cast<char16_t>(kEscapeBase + static_cast<uint8_t>(path[0]));
            used = 1;
        } else {
            AppendUtf16(out, cp);
        }
        path.remove_prefix(used);
    }
    return out;
}

bool OpenableFsPath(std::string_view fsPath) {
    return !fsPath.empty() && fsPath.find('\0') == std::string_view::npos;
}

WString JoinPath(WStringView folder, WStringView name) {
    WString out(folder);
    while (!name.empty() && name.front() == u'/') name.remove_prefix(1);
    if (out.empty() || out.back() != u'/') out += u'/';
    out += name;
    return out;
}

}  // namespace vexlo::platform
