#include "ui/controls/markup_text.h"

#include "ui/controls/text_measure.h"

#include <tinyxml.h>

#include <algorithm>

#include "platform/base/text.h"
#include "ui/core/attribute_values.h"
#include "ui/core/wide_text.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {
namespace {

constexpr size_t kFontNameLimit = 127;

std::u16string Cut(std::u16string text, size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

std::u16string DirectText(const TiXmlElement& element) {
    std::u16string text;
    for (const TiXmlNode* n = element.FirstChild(); n; n = n->NextSibling()) {
        if (const TiXmlText* t = n->ToText()) text += platform::Utf8ToWide(t->Value());
    }
    return text;
}

// The longest count of characters from `start` whose width is at most `limit`; a
// surrogate pair is never split.
size_t LongestFitting(const MarkupRun& run, size_t start, int32_t limit, const MeasureRunText& measure) {
    const std::u16string_view text(run.text);
    size_t count = ui::LongestFitting(text.size() - start, limit, [&](size_t n) {
        return measure(run, text.substr(start, n)).width;
    });
    if (count > 0 && start + count < text.size() && IsHighSurrogate(text[start + count - 1])) --count;
    return count;
}

}  // namespace

std::optional<MarkupDocument> ParseMarkup(std::u16string_view markup) {
    auto document = SkinDocument::Parse(markup);
    if (!document->ok()) return std::nullopt;
    const XmlElement root = document->TopLevel(u"text");
    if (!root) return std::nullopt;
    MarkupDocument out;
    out.paragraphSpace = ReadIntAttribute(root, u"ParagraphSpace");
    out.font = Cut(root.AttributeOrEmpty(u"Font"), kFontNameLimit);
    out.color = ReadColorAttribute(root, u"Color");
    for (const TiXmlNode* n = root.native()->FirstChild(); n; n = n->NextSibling()) {
        if (const TiXmlText* t = n->ToText()) {
            MarkupRun run;
            run.kind = RunKind::kPlain;
            run.text = platform::Utf8ToWide(t->Value());
            run.font = out.font;
            run.color = out.color;
            if (!run.text.empty()) out.runs.push_back(std::move(run));
        } else if (const TiXmlElement* e = n->ToElement()) {
            const XmlElement element(e);
            const std::u16string name = element.Name();
            if (EqualsNoCase(name, u"br")) {
                MarkupRun run;
                run.kind = RunKind::kLineBreak;
                run.font = out.font;
                out.runs.push_back(std::move(run));
            } else if (EqualsNoCase(name, u"text")) {
                MarkupRun run;
                run.kind = RunKind::kStyled;
                run.text = DirectText(*e);
                run.font = Cut(element.AttributeOrEmpty(u"Font"), kFontNameLimit);
                run.color = ReadColorAttribute(element, u"Color");
                run.href = element.AttributeOrEmpty(u"href");
                if (!run.text.empty()) out.runs.push_back(std::move(run));
            }
        }
    }
    return out;
}

void MeasureRuns(std::vector<MarkupRun>& runs, const MeasureRunText& measure) {
    for (MarkupRun& run : runs) {
        if (run.kind == RunKind::kLineBreak) {
            run.width = 0;
            run.height = measure(run, u"1").height;
        } else {
            const gfx::Size size = measure(run, run.text);
            run.width = size.width;
            run.height = size.height;
        }
    }
}

std::vector<MarkupLine> LayoutMarkup(const std::vector<MarkupRun>& runs, int32_t width, const MeasureRunText& measure) {
    std::vector<MarkupLine> lines;
    if (width <= 0) return lines;
    bool open = false;  // whether lines.back() is the current line
    int32_t x = 0;
    int32_t m = 0;
    auto current = [&]() -> MarkupLine& {
        if (!open) {
            lines.emplace_back();
            open = true;
        }
        return lines.back();
    };
    for (size_t r = 0; r < runs.size(); ++r) {
        const MarkupRun& run = runs[r];
        m = std::max(m, run.height);
        if (run.kind == RunKind::kLineBreak) {
            MarkupLine& line = current();
            line.pieces.push_back({r, 0, 0, 0, run.height});
            line.width = x;
            line.height = m;
            open = false;
            x = 0;
            m = 0;
            continue;
        }
        if (int64_t{x} + run.width <= width) {
            current().pieces.push_back({r, 0, run.text.size(), run.width, run.height});
            x = gfx::SaturatingAdd(x, run.width);
            continue;
        }
        const int32_t room = std::max(0, width - x);
        const size_t first = LongestFitting(run, 0, room, measure);
        const int32_t firstWidth =
            first ? measure(run, std::u16string_view(run.text).substr(0, first)).width : 0;
        {
            MarkupLine& line = current();
            line.pieces.push_back({r, 0, first, firstWidth, run.height});
            line.width = gfx::SaturatingAdd(x, firstWidth);
            line.height = m;
            open = false;
        }
        m = 0;
        int32_t remaining = run.width - firstWidth;
        size_t pos = first;
        while (remaining > width && pos < run.text.size()) {
            size_t count = LongestFitting(run, pos, width, measure);
            if (count == 0) {
                // Wider than the control alone: it still takes a line, with its pair.
                count = pos + 1 < run.text.size() && IsHighSurrogate(run.text[pos]) ? 2 : 1;
            }
            const gfx::Size size = measure(run, std::u16string_view(run.text).substr(pos, count));
            MarkupLine line;
            line.width = size.width;
            line.height = size.height;
            line.pieces.push_back({r, pos, count, size.width, size.height});
            lines.push_back(std::move(line));
            remaining -= size.width;
            pos += count;
        }
        if (pos < run.text.size()) {
            open = false;
            current().pieces.push_back({r, pos, run.text.size() - pos, remaining, run.height});
            m = run.height;
        } else {
            open = !lines.empty();
        }
        x = remaining;
    }
    if (open && lines.back().height == 0) lines.back().height = m;
    return lines;
}

void ForEachPlacedPiece(const std::vector<MarkupLine>& lines, int32_t paragraphSpace,
                        const std::function<bool(const PlacedPiece&)>& visit) {
    int32_t y = 0;
    for (size_t l = 0; l < lines.size(); ++l) {
        const MarkupLine& line = lines[l];
        const int32_t bottom = gfx::SaturatingAdd(y, line.height);
        int32_t x = 0;
        for (size_t p = 0; p < line.pieces.size(); ++p) {
            const MarkupPiece& piece = line.pieces[p];
            const gfx::Rect rect{x, bottom - piece.height, gfx::SaturatingAdd(x, piece.width), bottom};
            if (!visit({l, p, rect})) return;
            x = rect.right;
        }
        y = gfx::SaturatingAdd(bottom, paragraphSpace);
    }
}

}  // namespace vexlo::ui
