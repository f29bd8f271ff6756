#include "platform/base/text.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>

namespace vexlo::platform {
namespace {

int InitialCodePage() {
    if (const char* env = std::getenv("VEXLO_CODEPAGE")) {
        char* end = nullptr;
        long value = std::strtol(env, &end, 10);
        if (end != env && *end == '\0' && value > 0 && value < 65536) return static_cast<int>(value);
    }
    return 936;
}

std::atomic<int>& CodePageSlot() {
    static std::atomic<int> slot{InitialCodePage()};
    return slot;
}

std::string IconvName(int codePage) {
    switch (codePage) {
        case 65001: return "UTF-8";
        case 20127: return "ASCII";
        case 28591: return "ISO-8859-1";
        case 936: return "CP936";
        default: return "CP" + std::to_string(codePage);
    }
}

// One iconv conversion descriptor, closed on scope exit.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts as much of [in, in+inLeft) as possible, appending to out. Returns the errno of
// the stop (0 when everything was converted).
int ConvertRun(iconv_t cd, const char*& in, size_t& inLeft, std::string& out) {
    char buffer[1024];
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        char* src = const_cast<char*>(in);
        size_t rc = iconv(cd, &src, &inLeft, &dst, &dstLeft);
        in = src;
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            return errno;
        }
    }
    // Flush any shift state.
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return 0;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

int AnsiCodePage() { return CodePageSlot().load(std::memory_order_relaxed); }
void SetAnsiCodePage(int codePage) { CodePageSlot().store(codePage, std::memory_order_relaxed); }

std::string WideToAnsi(WStringView text, int codePage, bool* usedDefault) {
    if (usedDefault) *usedDefault = false;
    std::string out;
    if (text.empty()) return out;
    Converter conv(IconvName(codePage), "UTF-16LE");
    if (!conv.valid()) {
        // Unknown code page: only ASCII survives.
        for (char16_t c : text) {
            if (c < 0x80) {
                out.push_back(static_cast<char>(c));
            } else {
                out.push_back(kDefaultChar);
                if (usedDefault) *usedDefault = true;
            }
        }
        return out;
    }
    // iconv reads bytes; lay the code units out as UTF-16LE.
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        int err = ConvertRun(conv.get(), in, inLeft, out);
        if (err == 0) break;
        // A character the code page lacks (or a lone surrogate): one default character
        // for the whole code point, then go on after it.
        size_t skip = 2;
        if (inLeft >= 4) {
            char16_t first = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                                   (static_cast<unsigned char>(in[1]) << 8));
            char16_t second = static_cast<char16_t>(static_cast<unsigned char>(in[2]) |
                                                    (static_cast<unsigned char>(in[3]) << 8));
            if (IsHighSurrogate(first) && IsLowSurrogate(second)) skip = 4;
        }
        if (skip > inLeft) skip = inLeft;
        out.push_back(kDefaultChar);
        if (usedDefault) *usedDefault = true;
        in += skip;
        inLeft -= skip;
    }
    return out;
}

WString AnsiToWide(std::string_view text, int codePage, bool* ok) {
    if (ok) *ok = true;
    WString out;
    if (text.empty()) return out;
    Converter conv("UTF-16LE", IconvName(codePage));
    if (!conv.valid()) {
        if (ok) *ok = false;
        return out;
    }
    std::string bytes;
    const char* in = text.data();
    size_t inLeft = text.size();
    while (inLeft > 0) {
        int err = ConvertRun(conv.get(), in, inLeft, bytes);
        if (err == 0) break;
        // An invalid or cut-off byte sequence: one replacement character per byte.
        bytes.push_back('?');
        bytes.push_back('\0');
        ++in;
        --inLeft;
    }
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string WideToUtf8(WStringView text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            cp = 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

WString Utf8ToWide(std::string_view text) {
    WString out;
    out.reserve(text.size());
    size_t i = 0;
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < text.size()) {
        unsigned char lead = byte(i);
        char32_t cp = 0xFFFD;
        size_t len = 1;
        if (lead < 0x80) {
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xF4) {
            size_t need = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            bool good = i + need <= text.size();
            char32_t value = lead & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
            for (size_t k = 1; good && k < need; ++k) {
                if ((byte(i + k) & 0xC0) != 0x80) good = false;
                else value = (value << 6) | (byte(i + k) & 0x3F);
            }
            bool overlong = (need == 3 && value < 0x800) || (need == 4 && value < 0x10000);
            if (good && !overlong && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF)) {
                cp = value;
                len = need;
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

WString AsciiToWide(std::string_view ascii) {
    WString out;
    out.reserve(ascii.size());
    for (char c : ascii) out.push_back(static_cast<unsigned char>(c));
    return out;
}

}  // namespace vexlo::platform
