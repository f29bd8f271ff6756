#pragma once
// The small mark-up of a mark-up text: a top-level <text> element whose children are
// plain text, <br/> line breaks and styled <text> runs with their own font, colour and
// link address; and the filling of those runs into lines of a given width.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/rect.h"

namespace vexlo::ui {

enum class RunKind { kPlain, kStyled, kLineBreak };

struct MarkupRun {
    RunKind kind = RunKind::kPlain;
    std::u16string text;
    std::u16string font;  // styled runs; plain runs and breaks use the document's font
    uint32_t color = 0xFFFFFF;
    std::u16string href;  // styled runs only
    int32_t width = 0;
    int32_t height = 0;
};

struct MarkupDocument {
    int32_t paragraphSpace = 0;
    std::u16string font;  // at most 127 characters
    uint32_t color = 0xFFFFFF;
    std::vector<MarkupRun> runs;
};

// None when the text is not well-formed or has no top-level element named exactly "text".
std::optional<MarkupDocument> ParseMarkup(std::u16string_view markup);

struct MarkupPiece {
    size_t run = 0;    // index into the runs
    size_t start = 0;  // characters of the run's text
    size_t count = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct MarkupLine {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<MarkupPiece> pieces;
};

// One-line size of a text in the font of a run.
using MeasureRunText = std::function<gfx::Size(const MarkupRun& run, std::u16string_view text)>;

// Gives every run its measured size (a line break measures "1" for its height and has
// width 0).
void MeasureRuns(std::vector<MarkupRun>& runs, const MeasureRunText& measure);

// Fills the measured runs into lines no wider than `width`, splitting runs where needed.
// A width that is not positive gives no lines; a character wider than the width still
// takes a line of its own, so splitting always ends.
std::vector<MarkupLine> LayoutMarkup(const std::vector<MarkupRun>& runs, int32_t width, const MeasureRunText& measure);

// Where a piece is drawn, relative to the control: pieces sit on their line's bottom.
struct PlacedPiece {
    size_t line = 0;
    size_t piece = 0;
    gfx::Rect rect;
};
void ForEachPlacedPiece(const std::vector<MarkupLine>& lines, int32_t paragraphSpace,
                        const std::function<bool(const PlacedPiece&)>& visit);

}  // namespace vexlo::ui
