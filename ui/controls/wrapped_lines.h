#pragma once
// Breaking a text into lines that fit a width, character by character: a line ends after
// a line feed or before the first character that would make it wider than the width.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/controls/text_measure.h"

namespace vexlo::ui {

struct WrappedLine {
    int32_t top = 0;     // relative to the control
    int32_t height = 0;
    std::u16string text;  // a line ended by a line feed keeps it at its end
};

// No lines for an empty text or a width or height that is not positive. A character
// wider than the width alone still takes a line of its own, so the walk always advances.
std::vector<WrappedLine> WrapText(std::u16string_view text, int32_t width, int32_t height, int32_t lineSpace,
                                  const MeasureLine& measure);

// The total height: the last line's top plus its height (0 without lines).
int32_t WrappedHeight(const std::vector<WrappedLine>& lines);

}  // namespace vexlo::ui
