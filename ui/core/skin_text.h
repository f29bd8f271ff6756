#pragma once
// The texts of a skin package (config.xml, the script): UTF-16 little-endian with a
// byte-order mark, and their conversion to the UTF-8 the XML reader parses.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vexlo::ui {

// The text after the first UTF-16 unit (the byte-order mark, skipped whatever it is), up
// to the first zero unit. Refused (none) for fewer than two bytes or an odd length.
std::optional<std::u16string> DecodeSkinText(std::span<const uint8_t> bytes);

// The deepest element nesting the XML reader is given; deeper documents are refused so
// that parsing and tree building stay within the stack.
inline constexpr int kMaxXmlDepth = 256;

// UTF-16 XML to UTF-8 XML in which the only references left are the five named entities:
// "&#x" with one to four hexadecimal digits and ";" becomes its character (a surrogate
// pair written as two references becomes one character, a lone surrogate U+FFFD, and the
// five markup characters their named entities); every other "&" is kept as plain text.
// Comments and CDATA sections are copied as they are. Lone surrogates in the text become
// U+FFFD.
std::string SkinXmlToUtf8(std::u16string_view text);

// The element nesting depth the XML reader would see in this UTF-8 text (an upper bound).
int XmlNestingDepth(std::string_view utf8);

}  // namespace vexlo::ui
