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
    // Walking character by character, a line ends at a line feed (kept at its end) or
    // before the first character that makes it wider than the width; the widths grow
    // with the characters, so the break is found by a search instead.
    size_t start = 0;
    size_t feed = 0;  // the next line feed at or after start, looked up once per feed
    bool feedKnown = false;
    while (start < text.size()) {
        if (!feedKnown || (feed != std::u16string_view::npos && feed < start)) {
            feed = text.find(u'\n', start);
            feedKnown = true;
        }
        const size_t end = feed == std::u16string_view::npos ? text.size() : feed;
        const size_t available = end - start;
        const size_t fitting = LongestFitting(available, width, [&](size_t count) {
            return measure(text.substr(start, count)).width;
        });
        if (fitting == available) {
            const size_t count = feed == std::u16string_view::npos ? available : available + 1;
            endLine(start, count, measure(text.substr(start, count)).height);
            start += count;
        } else if (fitting == 0) {
            // Too wide even alone: it gets the line to itself.
            endLine(start, 1, measure(text.substr(start, 1)).height);
            start += 1;
        } else {
            // The line gets the height measured with the character that did not fit.
            endLine(start, fitting, measure(text.substr(start, fitting + 1)).height);
            start += fitting;
        }
    }
    return lines;
}

int32_t WrappedHeight(const std::vector<WrappedLine>& lines) {
    return lines.empty() ? 0 : gfx::SaturatingAdd(lines.back().top, lines.back().height);
}

}  // namespace vexlo::ui
