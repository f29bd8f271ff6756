#pragma once
// 128-bit interface and class identifiers in their usual four-field form.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexlo::com {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    constexpr bool operator==(const Guid&) const = default;
    constexpr auto operator<=>(const Guid&) const = default;

    // "{6F76069F-2BD3-4653-BF40-451A2461D0B0}" (braces optional, hex digits in any case).
    static std::optional<Guid> Parse(std::string_view text);
    // Upper-case registry form with braces.
    std::string ToString() const;
};

using IID = Guid;
using CLSID = Guid;

inline constexpr IID IID_NULL{};
inline constexpr IID IID_IUnknown{0x00000000u, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDispatch{0x00020400u, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace vexlo::com
