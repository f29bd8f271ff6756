#pragma once
// The library's debugger messages: "[n]message" with a process-wide running number.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vexlo::ui {

// One printf argument: integers for %d %i %u %x %X %c, texts for %s (and %ls, %S).
using PrintArg = std::variant<int64_t, std::u16string_view>;

inline PrintArg ToPrintArg(std::u16string_view s) { return s; }
inline PrintArg ToPrintArg(const std::u16string& s) { return std::u16string_view(s); }
inline PrintArg ToPrintArg(const char16_t* s) { return std::u16string_view(s ? s : u"(null)"); }
template <class T>
    requires std::is_integral_v<T>
PrintArg ToPrintArg(T v) {
    return static_cast<int64_t>(v);
}


// printf-style formatting of wide text with the conversions above and %%; flags and
// widths are not supported and an unknown conversion is written as it stands.
std::u16string FormatWide(std::u16string_view format, std::initializer_list<PrintArg> args);

// Formats into 512 wide characters (longer output is cut) and writes "[%d]%s" with the
// running number, which starts at 0 and grows by one per message.
void DebugPrintArgs(std::u16string_view format, std::initializer_list<PrintArg> args);

template <class... Args>
void DebugPrint(std::u16string_view format, const Args&... args) {
    DebugPrintArgs(format, {PrintArg(ToPrintArg(args))...});
}

// Tests start the numbering anew.
void ResetDebugPrintCounter();

}  // namespace vexlo::ui
