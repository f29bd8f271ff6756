#pragma once
// Measuring texts for line breaking: the one-line size of a text, and the longest prefix
// of a text that fits a width.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/gfx/rect.h"

namespace vexlo::ui {

using MeasureLine = std::function<gfx::Size(std::u16string_view text)>;

// The largest count in 0 .. available whose width is at most `limit`, for a width that
// grows with the count. The search gallops from the short end, so each probe is at most
// twice the answer long: breaking a long text costs about its length per line, not the
// length of everything after it (a skin's text may be very long).
template <class WidthOf>
size_t LongestFitting(size_t available, int32_t limit, WidthOf&& widthOf) {
    size_t good = 0;
    size_t bad = available + 1;  // the shortest count known not to fit
    for (size_t step = 1; good < available; step *= 2) {
        const size_t probe = std::min(available, good + step);
        if (widthOf(probe) <= limit) {
            good = probe;
        } else {
            bad = probe;
            break;
        }
    }
    while (bad <= available && bad - good > 1) {
        const size_t middle = good + (bad - good) / 2;
        if (widthOf(middle) <= limit) good = middle;
        else bad = middle;
    }
    return good;
}

}  // namespace vexlo::ui
