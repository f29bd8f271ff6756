#include "ui/core/debug_print.h"

#include <atomic>

#include "platform/base/debug_output.h"
#include "platform/base/numbers.h"
#include "platform/base/text.h"

namespace vexlo::ui {
namespace {

std::atomic<int32_t> g_messageNumber{0};
constexpr size_t kBufferChars = 512;

std::u16string Hex(uint64_t v, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(digits[v & 15]));
        v >>= 4;
    } while (v);
    return out;
}

}  // namespace

std::u16string FormatWide(std::u16string_view format, std::initializer_list<PrintArg> args) {
    std::u16string out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        char16_t c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            out.push_back(c);
            continue;
        }
        size_t j = i + 1;
        if (format[j] == u'l' && j + 1 < format.size()) ++j;
        char16_t conv = format[j];
        if (conv == u'%') {
            out.push_back(u'%');
            i = j;
            continue;
        }
        bool known = conv == u'd' || conv == u'i' || conv == u'u' || conv == u'x' || conv == u'X' ||
                     conv == u'c' || conv == u's' || conv == u'S';
        if (!known) {
            out.append(format.substr(i, j - i + 1));
            i = j;
            continue;
        }
        i = j;
        if (next == args.end()) continue;
        const PrintArg& a = *next++;
        if (conv == u's' || conv == u'S') {
            if (auto* s = std::get_if<std::u16string_view>(&a)) out.append(*s);
            continue;
        }
        int64_t v = 0;
        if (auto* n = std::get_if<int64_t>(&a)) v = *n;
        switch (conv) {
            case u'c': out.push_back(static_cast<char16_t>(v)); break;
            case u'u': out += platform::AsciiToWide(std::to_string(static_cast<uint32_t>(v))); break;
            case u'x': out += Hex(static_cast<uint32_t>(v), false); break;
            case u'X': out += Hex(static_cast<uint32_t>(v), true); break;
            default: out += platform::FormatIntWide(static_cast<int32_t>(v)); break;
        }
    }
    return out;
}

void DebugPrintArgs(std::u16string_view format, std::initializer_list<PrintArg> args) {
    std::u16string message = FormatWide(format, args);
    if (message.size() > kBufferChars - 1) message.resize(kBufferChars - 1);
    const int32_t number = g_messageNumber.fetch_add(1);
    platform::OutputDebugText(u"[" + platform::FormatIntWide(number) + u"]" + message);
}

void ResetDebugPrintCounter() { g_messageNumber = 0; }

}  // namespace vexlo::ui
