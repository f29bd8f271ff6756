#pragma once
// Measuring and line layout of text with the DrawText flags (text_format.h):
// prefix characters, explicit line breaks, word wrapping, tab expansion, end ellipsis.
#include "platform/gfx/rect.h"
#include "platform/text/font.h"

#include <vector>

namespace vexlo::text {

struct LaidOutLine {
    WString text;  // what is drawn: prefixes removed, trailing spaces and line breaks dropped
    int width = 0;
    std::vector<int> underlined;  // code-unit indices into text marked by a prefix "&"
};

struct TextLayout {
    std::vector<LaidOutLine> lines;
    int lineHeight = 0;
    int width = 0;  // of the widest line
    int height() const { return static_cast<int>(lines.size()) * lineHeight; }
};

// Lays out text for a formatting rectangle maxWidth pixels wide. Without DT_SINGLELINE,
// CR, LF and CR LF end lines; with DT_WORDBREAK as well, lines are wrapped at break
// opportunities, and a word wider than the rectangle is broken between characters
// (at least one character per line). Without DT_NOPREFIX, "&x" underlines x and "&&"
// is "&". An empty text gives no lines.
TextLayout LayoutText(const Font& font, WStringView text, int maxWidth, unsigned flags);

// The extent of the characters as one line, taken literally (no prefixes, no breaks):
// width = the sum of advances, height = the font's height.
gfx::Size MeasureLine(const Font& font, WStringView text);

// How many code units of text fit in maxWidth as one line (never splitting a surrogate
// pair), and optionally the width after each code unit.
int FitCharacters(const Font& font, WStringView text, int maxWidth, std::vector<int>* partialWidths = nullptr);

// Left edge of a line of lineWidth inside a rectangle of rectWidth under the flags.
int AlignedLineOffset(unsigned flags, int rectWidth, int lineWidth);

}  // namespace vexlo::text
