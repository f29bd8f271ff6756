// Line building of the wrapped text and the mark-up text, with fixed advances so that the
// expected breaks can be worked out by hand: every character is 10 pixels wide and 12
// high, except 'W', which is 25 wide.
#include <gtest/gtest.h>

#include "ui/controls/markup_text.h"
#include "ui/controls/wrapped_lines.h"

namespace vexlo::ui {
namespace {

gfx::Size FixedMeasure(std::u16string_view text) {
    int width = 0;
    for (char16_t c : text) width += c == u'\n' ? 0 : (c == u'W' ? 25 : 10);
    return {width, 12};
}

std::vector<std::u16string> Texts(const std::vector<WrappedLine>& lines) {
    std::vector<std::u16string> out;
    for (const auto& l : lines) out.push_back(l.text);
    return out;
}

TEST(WrapText, BreaksAtLineFeedsAndBeforeTheCharacterThatOverflows) {
    struct Case {
        const char16_t* text;
        int width;
        std::vector<std::u16string> lines;
    } cases[] = {
        {u"a\nb", 100, {u"a\n", u"b"}},
        {u"abcdef", 30, {u"abc", u"def"}},
        {u"abcdefg", 30, {u"abc", u"def", u"g"}},
        {u"ab\n\ncd", 100, {u"ab\n", u"\n", u"cd"}},
        // A character wider than the control still takes a line and the walk goes on.
        {u"aWb", 20, {u"a", u"W", u"b"}},
        {u"WW", 5, {u"W", u"W"}},
    };
    for (const Case& c : cases) {
        auto lines = WrapText(c.text, c.width, 50, 0, FixedMeasure);
        EXPECT_EQ(Texts(lines), c.lines) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    }
}

TEST(WrapText, ALongTextIsBrokenWithoutMeasuringTheRestForEveryLine) {
    const std::u16string text(200000, u'a');
    size_t measured = 0;
    auto counting = [&](std::u16string_view t) {
        measured += t.size();
        return FixedMeasure(t);
    };
    auto lines = WrapText(text, 100, 50, 0, counting);
    ASSERT_EQ(lines.size(), 20000u);
    EXPECT_EQ(lines.back().text, u"aaaaaaaaaa");
    EXPECT_LT(measured, 100 * text.size());
}

TEST(Markup, ALongRunIsSplitWithoutMeasuringTheRestForEveryLine) {
    std::vector<MarkupRun> runs(1);
    runs[0].text.assign(100000, u'a');
    size_t measured = 0;
    MeasureRunText counting = [&](const MarkupRun&, std::u16string_view t) {
        measured += t.size();
        return FixedMeasure(t);
    };
    MeasureRuns(runs, counting);
    auto lines = LayoutMarkup(runs, 100, counting);
    EXPECT_EQ(lines.size(), 10000u);
    EXPECT_LT(measured, 100 * runs[0].text.size());
}

TEST(WrapText, LinesStackWithLineSpaceAndGiveTheTotalHeight) {
    auto lines = WrapText(u"abcdefg", 30, 50, 3, FixedMeasure);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].top, 0);
    EXPECT_EQ(lines[1].top, 15);
    EXPECT_EQ(lines[2].top, 30);
    EXPECT_EQ(WrappedHeight(lines), 42);
}

TEST(WrapText, NothingForAnEmptyTextOrASizeThatIsNotPositive) {
    EXPECT_TRUE(WrapText(u"", 100, 50, 0, FixedMeasure).empty());
    EXPECT_TRUE(WrapText(u"abc", 0, 50, 0, FixedMeasure).empty());
    EXPECT_TRUE(WrapText(u"abc", -5, 50, 0, FixedMeasure).empty());
    EXPECT_TRUE(WrapText(u"abc", 100, 0, 0, FixedMeasure).empty());
    EXPECT_EQ(WrappedHeight({}), 0);
}

MeasureRunText RunMeasure() {
    return [](const MarkupRun&, std::u16string_view text) { return FixedMeasure(text); };
}

std::optional<MarkupDocument> Measured(std::u16string_view markup) {
    auto doc = ParseMarkup(markup);
    if (doc) MeasureRuns(doc->runs, RunMeasure());
    return doc;
}

TEST(Markup, TextBreakAndStyledLinkGiveTwoLines) {
    auto doc = Measured(
        u"<text ParagraphSpace=\"4\" Font=\"body\" Color=\"RGB(1,2,3)\">Hello<br/>"
        u"<text Font=\"bold\" Color=\"RGB(0,0,255)\" href=\"https://example.org/\">more</text></text>");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->paragraphSpace, 4);
    EXPECT_EQ(doc->font, u"body");
    EXPECT_EQ(doc->color, 0x030201u);
    ASSERT_EQ(doc->runs.size(), 3u);
    EXPECT_EQ(doc->runs[0].kind, RunKind::kPlain);
    EXPECT_EQ(doc->runs[0].text, u"Hello");
    EXPECT_EQ(doc->runs[1].kind, RunKind::kLineBreak);
    EXPECT_EQ(doc->runs[1].width, 0);
    EXPECT_EQ(doc->runs[1].height, 12);
    EXPECT_EQ(doc->runs[2].kind, RunKind::kStyled);
    EXPECT_EQ(doc->runs[2].font, u"bold");
    EXPECT_EQ(doc->runs[2].color, 0xFF0000u);
    EXPECT_EQ(doc->runs[2].href, u"https://example.org/");

    auto lines = LayoutMarkup(doc->runs, 200, RunMeasure());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].width, 50);
    EXPECT_EQ(lines[0].height, 12);
    ASSERT_EQ(lines[0].pieces.size(), 2u);  // the text and the break
    ASSERT_EQ(lines[1].pieces.size(), 1u);
    EXPECT_EQ(lines[1].pieces[0].run, 2u);
    EXPECT_EQ(lines[1].height, 12);

    std::vector<gfx::Rect> rects;
    ForEachPlacedPiece(lines, doc->paragraphSpace, [&](const PlacedPiece& p) {
        rects.push_back(p.rect);
        return true;
    });
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0], (gfx::Rect{0, 0, 50, 12}));
    EXPECT_EQ(rects[2], (gfx::Rect{0, 16, 40, 28}));
}

TEST(Markup, RefusedDocumentsAndDroppedNodes) {
    EXPECT_FALSE(ParseMarkup(u"<text>unclosed"));
    EXPECT_FALSE(ParseMarkup(u"<other>x</other>"));
    EXPECT_FALSE(ParseMarkup(u"plain words"));
    // Empty runs and unknown elements are dropped; breaks stay; names ignore case for
    // the children only.
    auto doc = ParseMarkup(u"<text><TEXT></TEXT><b>bold</b><BR/>x</text>");
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->runs.size(), 2u);
    EXPECT_EQ(doc->runs[0].kind, RunKind::kLineBreak);
    EXPECT_EQ(doc->runs[1].text, u"x");
    EXPECT_EQ(doc->color, 0xFFFFFFu);
}

TEST(Markup, LongRunsSplitAcrossLines) {
    auto doc = Measured(u"<text>ab<text>cdefghijk</text></text>");
    ASSERT_TRUE(doc);
    // Width 40: "ab" + "cd" fill the first line, "efgh" a line of its own, "ijk" opens
    // the current line.
    auto lines = LayoutMarkup(doc->runs, 40, RunMeasure());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].width, 40);
    ASSERT_EQ(lines[0].pieces.size(), 2u);
    EXPECT_EQ(lines[0].pieces[1].count, 2u);
    EXPECT_EQ(lines[1].width, 40);
    EXPECT_EQ(lines[1].pieces[0].start, 2u);
    EXPECT_EQ(lines[1].pieces[0].count, 4u);
    EXPECT_EQ(lines[2].pieces[0].start, 6u);
    EXPECT_EQ(lines[2].pieces[0].count, 3u);
    EXPECT_EQ(lines[2].pieces[0].width, 30);
    EXPECT_EQ(lines[2].height, 12);
}

TEST(Markup, SplittingEndsForAZeroWidthAndForCharactersWiderThanTheControl) {
    auto doc = Measured(u"<text>WWWW abc</text>");
    ASSERT_TRUE(doc);
    EXPECT_TRUE(LayoutMarkup(doc->runs, 0, RunMeasure()).empty());
    EXPECT_TRUE(LayoutMarkup(doc->runs, -10, RunMeasure()).empty());
    auto lines = LayoutMarkup(doc->runs, 20, RunMeasure());
    size_t characters = 0;
    for (const auto& line : lines) {
        for (const auto& piece : line.pieces) characters += piece.count;
    }
    EXPECT_EQ(characters, doc->runs[0].text.size());
}

}  // namespace
}  // namespace vexlo::ui
