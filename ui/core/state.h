#pragma once
// Control states as bits, and the state names a style's `state` attribute may use.
#include <cstdint>
#include <string_view>

namespace vexlo::ui {

enum StateBits : uint32_t {
    kStateNormal = 1,
    kStateOver = 2,
    kStatePress = 4,
    kStateFocus = 8,
    kStateDisable = 16,
    kStateChecked = 256,  // 512 is not used
    kStateCheckedOver = 1024,
    kStateCheckedPress = 2048,
    kStateCheckedFocus = 4096,
    kStateCheckedDisable = 8192,
    kStateNormalAll = 31,
    kStateCheckedAll = 15616,
    kStateAll = 15647,
};

// The bits of a state name (any letter case); an empty or unknown name is "normal".
uint32_t StateFromName(std::u16string_view name);

}  // namespace vexlo::ui
