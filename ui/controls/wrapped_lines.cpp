#include "ui/controls/wrapped_lines.h"

#include "platform/gfx/rect.h"

namespace vexlo::ui {

std::vector<WrappedLine> WrapText(std::u16string_view text, int32_t width, int32_t height, int32_t lineSpace,
                                  const MeasureLine& measure) {
    std::vector<WrappedLine> lines;
    if (text.empty() || width <= 0 || height <= 0) return lines;
    int32_t y = 0;
    auto endLine = [&](size_t start, size_t count, int32_t lineHeight) {
        lines.push_back({y, lineHeight, std::u16string(text.substr(start, count))});
        y = gfx::SaturatingAdd(gfx::SaturatingAdd(y, lineHeight), lineSpace);
    };
    size_t start = 0;
    size_t count = 0;
    size_t i = 0;
    while (i < text.size()) {
        const gfx::Size size = measure(text.substr(start, count + 1));
        if (text[i] == u'\n') {
            endLine(start, count + 1, size.height);
            start = ++i;
            count = 0;
        } else if (size.width > width) {
            if (count == 0) {
                // Too wide even alone: it gets the line to itself.
                endLine(start, 1, size.height);
                start = ++i;
            } else {
                endLine(start, count, size.height);
                start = i;  // this character opens the next line
                count = 0;
            }
        } else {
            ++count;
            ++i;
        }
    }
    if (count > 0) endLine(start, count, measure(text.substr(start, count)).height);
    return lines;
}

int32_t WrappedHeight(const std::vector<WrappedLine>& lines) {
    return lines.empty() ? 0 : gfx::SaturatingAdd(lines.back().top, lines.back().height);
}

}  // namespace vexlo::ui
