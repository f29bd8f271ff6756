#pragma once
// What a caller asks for when it creates a font, in the Windows LOGFONT sense.
#include "platform/base/text.h"

namespace vexlo::text {

using platform::WString;
using platform::WStringView;

inline constexpr int kDefaultCharSet = 1;
inline constexpr int kGb2312CharSet = 134;

constexpr bool IsCjkCharSet(int charSet) {
    return charSet == 128 || charSet == 129 || charSet == 134 || charSet == 136;
}

struct FontRequest {
    WString face;
    // Negative: character height (the em size) in pixels. Positive: cell height
    // (ascent + descent) in pixels. Zero: the default size (kDefaultCharacterHeight).
    int height = 0;
    int weight = 400;  // 100 .. 900; 0 means normal (400); 600 and above is bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    // The Windows character-set number. A CJK set (128, 129, 134, 136) makes a face name
    // that is empty or unknown resolve to a CJK face, as the font mapper would.
    int charSet = kDefaultCharSet;

    bool operator==(const FontRequest&) const = default;
};

inline constexpr int kDefaultCharacterHeight = 12;
// Larger sizes are drawn at this size: a hostile skin must not ask for glyph images of
// arbitrary size.
inline constexpr int kMaxCharacterHeight = 512;

}  // namespace vexlo::text
