#include "ui/core/wide_text.h"

namespace vexlo::ui {

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

std::u16string LowerAscii(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = FoldAscii(c);
    return out;
}

}  // namespace vexlo::ui
