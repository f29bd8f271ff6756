#pragma once
// The syntax of attribute values and the common readers that controls and styles use.
#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/core/wide_text.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {

// The position a `left` or `top` of "center" stands for.
inline constexpr int32_t kCenterPosition = 0x0FFFFFFF;

// 32-bit colour: red in bits 0-7, green 8-15, blue 16-23.
constexpr uint32_t MakeColor(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr uint8_t ColorRed(uint32_t c) { return static_cast<uint8_t>(c); }
constexpr uint8_t ColorGreen(uint32_t c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t ColorBlue(uint32_t c) { return static_cast<uint8_t>(c >> 16); }
inline constexpr uint32_t kWhite = 0xFFFFFF;

// Leading decimal integer (white space, sign, digits; saturating at 32 bits); 0 without digits.
int32_t ParseInteger(std::u16string_view text);
// "RGB(%d,%d,%d)" with "RGB(" exactly as written; components that were not read are
// `unread`, read ones are masked to 8 bits.
uint32_t ParseColor(std::u16string_view text, uint8_t unread);
// "true" gives 1, "false" 0, anything else none; `ignoreCase` as the reader needs.
std::optional<int32_t> ParseBoolean(std::u16string_view text, bool ignoreCase);
// "center" (any case) when the text does not start with a number, else the integer.
int32_t ParsePosition(std::u16string_view text);
// "%d%%": the integer before the per-cent sign (a plain integer reads the same).
inline int32_t ParsePercent(std::u16string_view text) { return ParseInteger(text); }
// "(%d,%d)" into x and y; components that were not read keep their value.
void ParsePoint(std::u16string_view text, int32_t& x, int32_t& y);

// The common readers.
template <size_t N>
void ReadTextAttribute(const XmlElement& e, std::u16string_view name, WideField<N>& out) {
    out.Clear();
    if (auto v = e.Attribute(name)) out.Set(*v);
}
int32_t ReadIntAttribute(const XmlElement& e, std::u16string_view name);          // absent: 0
void ReadBoolAttribute(const XmlElement& e, std::u16string_view name, int32_t& value);  // keeps it otherwise
uint32_t ReadColorAttribute(const XmlElement& e, std::u16string_view name);       // absent: white
uint32_t ReadStateAttribute(const XmlElement& e, std::u16string_view name);       // absent: normal
int32_t ReadPositionAttribute(const XmlElement& e, std::u16string_view name);     // absent: 0

}  // namespace vexlo::ui
