#pragma once
// What a caller asks for when it creates a font, in the Windows LOGFONT sense.
#include "platform/base/text.h"

namespace vexlo::text {

using platform::WString;
using platform::WStringView;

struct FontSpec {
    WString face;
    // Negative: character height (the em size) in pixels. Positive: cell height
    // (ascent + descent) in pixels. Zero: the default size (kDefaultCharacterHeight).
    int height = 0;
    int weight = 400;  // 100 .. 900; 0 means normal (400); 600 and above is bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    bool operator==(const FontSpec&) const = default;
};

inline constexpr int kDefaultCharacterHeight = 12;
// Larger sizes are drawn at this size: a hostile skin must not ask for glyph images of
// arbitrary size.
inline constexpr int kMaxCharacterHeight = 512;

}  // namespace vexlo::text
