#include "platform/text/text_layout.h"

#include "platform/text/line_breaking.h"
#include "platform/text/text_format.h"

#include <algorithm>

namespace vexlo::text {

namespace {

constexpr char16_t kEllipsis[] = u"...";

struct Cell {
    char32_t ch = 0;
    int advance = 0;
    bool underlined = false;
};

using Paragraph = std::vector<Cell>;

void AppendCodePoint(WString& out, char32_t ch) {
    if (ch >= 0x10000) {
        ch -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (ch >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (ch & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(ch));
    }
}

int Saturate(int64_t v) { return gfx::SaturateToInt(v); }

// Splits into paragraphs at explicit breaks (unless single line) and resolves prefixes.
std::vector<Paragraph> ReadParagraphs(const Font& font, WStringView text, unsigned flags) {
    std::vector<Paragraph> paragraphs(1);
    const bool prefixes = !(flags & DT_NOPREFIX);
    const bool single = flags & DT_SINGLELINE;
    bool underlineNext = false;
    for (size_t i = 0; i < text.size();) {
        const char32_t ch = NextCodePoint(text, i);
        if (!single && (ch == U'\r' || ch == U'\n')) {
            if (ch == U'\r' && i < text.size() && text[i] == u'\n') ++i;
            paragraphs.emplace_back();
            underlineNext = false;
            continue;
        }
        if (prefixes && ch == U'&') {
            if (!underlineNext) {
                underlineNext = true;
                continue;
            }
            underlineNext = false;  // "&&" is one ordinary '&'
        }
        paragraphs.back().push_back({ch, font.Advance(ch), underlineNext});
        underlineNext = false;
    }
    if (flags & DT_EXPANDTABS) {
        const int tabWidth = std::max(1, font.metrics().averageCharWidth * 8);
        for (Paragraph& p : paragraphs) {
            int x = 0;
            for (Cell& c : p) {
                if (c.ch == U'\t') c.advance = tabWidth - (x % tabWidth);
                x = Saturate(int64_t{x} + c.advance);
            }
        }
    }
    return paragraphs;
}

int WidthOf(const Paragraph& p, size_t from, size_t to) {
    int64_t w = 0;
    for (size_t i = from; i < to; ++i) w += p[i].advance;
    return Saturate(w);
}

LaidOutLine MakeLine(const Paragraph& p, size_t from, size_t to) {
    while (to > from && IsBreakingSpace(p[to - 1].ch)) --to;  // trailing spaces hang
    LaidOutLine line;
    for (size_t i = from; i < to; ++i) {
        if (p[i].underlined) line.underlined.push_back(static_cast<int>(line.text.size()));
        AppendCodePoint(line.text, p[i].ch);
    }
    line.width = WidthOf(p, from, to);
    return line;
}

void WrapParagraph(const Paragraph& p, int maxWidth, std::vector<LaidOutLine>& out) {
    size_t pos = 0;
    if (p.empty()) {
        out.push_back({});
        return;
    }
    while (pos < p.size()) {
        const size_t start = pos;
        int64_t width = 0;
        size_t lastBreak = start;  // a line may end before this index (start: none yet)
        size_t i = start;
        for (; i < p.size(); ++i) {
            const bool space = IsBreakingSpace(p[i].ch);
            if (!space && i > start && width + p[i].advance > maxWidth) break;
            width += p[i].advance;
            if (i + 1 < p.size() && CanBreakBetween(p[i].ch, p[i + 1].ch)) lastBreak = i + 1;
        }
        if (i == p.size()) {
            out.push_back(MakeLine(p, start, i));
            return;
        }
        const size_t end = lastBreak > start ? lastBreak : i;
        out.push_back(MakeLine(p, start, end));
        pos = end;
        while (pos < p.size() && IsBreakingSpace(p[pos].ch)) ++pos;  // spaces at a wrap vanish
    }
}

void ApplyEndEllipsis(const Font& font, LaidOutLine& line, int maxWidth) {
    if (line.width <= maxWidth) return;
    const int dots = MeasureLine(font, kEllipsis).width;
    const int room = std::max(0, maxWidth - dots);
    const int keep = FitCharacters(font, line.text, room);
    line.text.resize(static_cast<size_t>(keep));
    line.underlined.erase(std::remove_if(line.underlined.begin(), line.underlined.end(),
                                         [keep](int index) { return index >= keep; }),
                          line.underlined.end());
    line.width = MeasureLine(font, line.text).width + dots;
    line.text += kEllipsis;
}

}  // namespace

TextLayout LayoutText(const Font& font, WStringView text, int maxWidth, unsigned flags) {
    TextLayout layout;
    layout.lineHeight = font.metrics().height;
    if (text.empty()) return layout;
    maxWidth = std::max(0, maxWidth);
    const bool wrap = (flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE);
    for (const Paragraph& p : ReadParagraphs(font, text, flags)) {
        if (wrap) {
            WrapParagraph(p, maxWidth, layout.lines);
        } else {
            layout.lines.push_back(MakeLine(p, 0, p.size()));
        }
    }
    for (LaidOutLine& line : layout.lines) {
        if (flags & DT_END_ELLIPSIS) ApplyEndEllipsis(font, line, maxWidth);
        layout.width = std::max(layout.width, line.width);
    }
    return layout;
}

gfx::Size MeasureLine(const Font& font, WStringView text) {
    int64_t width = 0;
    for (size_t i = 0; i < text.size();) width += font.Advance(NextCodePoint(text, i));
    return {Saturate(width), font.metrics().height};
}

int FitCharacters(const Font& font, WStringView text, int maxWidth, std::vector<int>* partialWidths) {
    if (partialWidths) partialWidths->clear();
    int64_t width = 0;
    size_t fitted = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t before = i;
        width += font.Advance(NextCodePoint(text, i));
        if (width > maxWidth) break;
        fitted = i;
        if (partialWidths) partialWidths->insert(partialWidths->end(), i - before, Saturate(width));
    }
    return static_cast<int>(fitted);
}

int AlignedLineOffset(unsigned flags, int rectWidth, int lineWidth) {
    if (flags & DT_CENTER) return Saturate((int64_t{rectWidth} - lineWidth) / 2);
    if (flags & DT_RIGHT) return Saturate(int64_t{rectWidth} - lineWidth);
    return 0;
}

}  // namespace vexlo::text
