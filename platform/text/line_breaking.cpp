#include "platform/text/line_breaking.h"

#include <string_view>

namespace vexlo::text {

namespace {

// Characters that must not start a line / end a line.
constexpr std::u32string_view kNoLineStart =
    U"!%),.:;?]}¢°·’”‰′″℃、。〃々〉》」』】〕〗〙〛゛゜ゝゞ・ヽヾ！％），．：；？］｝～｡｣､･";
constexpr std::u32string_view kNoLineEnd = U"$(£¥[{‘“〈《「『【〔〖〘〚＄（［｛｢￡￥";

}  // namespace

bool IsBreakingSpace(char32_t ch) { return ch == U' ' || ch == U'\t' || ch == 0x3000; }

bool IsIdeographic(char32_t ch) {
    return (ch >= 0x2E80 && ch <= 0x2FFF) ||  // radicals
           (ch >= 0x3000 && ch <= 0x30FF) ||  // CJK punctuation, kana
           (ch >= 0x3100 && ch <= 0x9FFF) ||  // bopomofo .. unified ideographs
           (ch >= 0xAC00 && ch <= 0xD7AF) ||  // hangul
           (ch >= 0xF900 && ch <= 0xFAFF) || (ch >= 0xFE30 && ch <= 0xFE4F) ||
           (ch >= 0xFF00 && ch <= 0xFFEF) ||  // full-width forms
           (ch >= 0x20000 && ch <= 0x3FFFF);
}

bool CanBreakBetween(char32_t before, char32_t after) {
    if (IsBreakingSpace(after)) return false;  // spaces stay with the line they end
    if (kNoLineStart.find(after) != std::u32string_view::npos) return false;
    if (kNoLineEnd.find(before) != std::u32string_view::npos) return false;
    if (IsBreakingSpace(before)) return true;
    if (before == U'-' && after != U'-') return true;
    return IsIdeographic(before) || IsIdeographic(after);
}

}  // namespace vexlo::text
