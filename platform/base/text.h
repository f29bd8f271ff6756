#pragma once
// Text conversions between the system's wide text (UTF-16) and its narrow forms:
// the ANSI code page (936 unless told otherwise) and UTF-8.
#include <string>
#include <string_view>

namespace vexlo::platform {

// Wide text of the system: UTF-16 code units, whatever the width of wchar_t.
using WString = std::u16string;
using WStringView = std::u16string_view;

// The ANSI code page of the process. 936 by default; VEXLO_CODEPAGE overrides it at start.
int AnsiCodePage();
// Tests switch the code page; every conversion after the call uses the new value.
void SetAnsiCodePage(int codePage);

// The byte a code page writes for a character it lacks.
constexpr char kDefaultChar = '?';

// Wide text to the narrow text of a code page. Characters the code page lacks become
// kDefaultChar; *usedDefault tells whether that happened.
std::string WideToAnsi(WStringView text, int codePage, bool* usedDefault = nullptr);
inline std::string WideToAnsi(WStringView text) { return WideToAnsi(text, AnsiCodePage()); }

// Narrow text of a code page to wide text. Bytes that form no character of the code
// page become U+003F. Returns false in *ok only when the code page itself is unknown.
WString AnsiToWide(std::string_view text, int codePage, bool* ok = nullptr);
inline WString AnsiToWide(std::string_view text) { return AnsiToWide(text, AnsiCodePage()); }

// Appends one code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 <-> UTF-16. Ill-formed input becomes U+FFFD.
std::string WideToUtf8(WStringView text);
WString Utf8ToWide(std::string_view text);

// Shorthand for literal ASCII text in code: u"..." is preferred; this helps with runtime ASCII.
WString AsciiToWide(std::string_view ascii);

}  // namespace vexlo::platform
