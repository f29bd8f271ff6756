#include "platform/text/text_layout.h"

#include "platform/text/text_format.h"

#include <gtest/gtest.h>

namespace vexlo::text {
namespace {

std::vector<std::u16string> LineTexts(const TextLayout& layout) {
    std::vector<std::u16string> out;
    for (const LaidOutLine& line : layout.lines) out.push_back(line.text);
    return out;
}

class TextLayoutTest : public ::testing::Test {
protected:
    FontPtr font_ = Font::Create(FontRequest{u"微软雅黑", -12});
    int Width(std::u16string_view s) const { return MeasureLine(*font_, s).width; }
};

TEST_F(TextLayoutTest, LineBreakingByFlags) {
    using Lines = std::vector<std::u16string>;
    struct Case {
        const char* name;
        std::u16string text;
        std::u16string widthOf;  // the rectangle is as wide as this text
        unsigned flags;
        Lines lines;
    };
    const Case cases[] = {
        {"single line ignores breaks", u"a\nb", u"", DT_SINGLELINE | DT_WORDBREAK, {u"a\nb"}},
        {"explicit breaks", u"a\r\nb\nc\r", u"", 0, {u"a", u"b", u"c", u""}},
        {"no wrapping without word break", u"hello world", u"hello", 0, {u"hello world"}},
        {"wrap at spaces", u"hello world again", u"hello world", DT_WORDBREAK, {u"hello world", u"again"}},
        {"spaces at a wrap vanish", u"ab    cd", u"ab ", DT_WORDBREAK, {u"ab", u"cd"}},
        {"ideographs wrap anywhere", u"更新下载完成", u"更新下", DT_WORDBREAK, {u"更新下", u"载完成"}},
        {"no line starts with a comma", u"下载完，成功", u"下载完", DT_WORDBREAK, {u"下载", u"完，成", u"功"}},
        {"a long word breaks between characters", u"abcdef", u"abc", DT_WORDBREAK, {u"abc", u"def"}},
        {"zero width: one character per line", u"更新", u"", DT_WORDBREAK, {u"更", u"新"}},
        {"mixed text breaks before ideographs", u"Vexlo更新", u"Vexlo更", DT_WORDBREAK, {u"Vexlo更", u"新"}},
        {"hyphen", u"self-update", u"update", DT_WORDBREAK, {u"self-", u"update"}},
        {"wrap and explicit breaks", u"ab cd\nef", u"ab", DT_WORDBREAK, {u"ab", u"cd", u"ef"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TextLayout layout = LayoutText(*font_, c.text, Width(c.widthOf), c.flags);
        EXPECT_EQ(LineTexts(layout), c.lines);
        EXPECT_EQ(layout.height(), static_cast<int>(c.lines.size()) * font_->metrics().height);
        for (const LaidOutLine& line : layout.lines) {
            EXPECT_EQ(line.width, Width(line.text));
            EXPECT_LE(line.width, layout.width);
        }
    }
}

TEST_F(TextLayoutTest, PrefixesUnderlineUnlessTurnedOff) {
    struct Case {
        std::u16string text;
        unsigned flags;
        std::u16string shown;
        std::vector<int> underlined;
    };
    const Case cases[] = {
        {u"&File", DT_SINGLELINE, u"File", {0}},
        {u"Save &As", DT_SINGLELINE, u"Save As", {5}},
        {u"a&&b", DT_SINGLELINE, u"a&b", {}},
        {u"end&", DT_SINGLELINE, u"end", {}},
        {u"&File", DT_SINGLELINE | DT_NOPREFIX, u"&File", {}},
        {u"重新&下载", DT_SINGLELINE, u"重新下载", {2}},
    };
    for (const Case& c : cases) {
        const TextLayout layout = LayoutText(*font_, c.text, 1000, c.flags);
        ASSERT_EQ(layout.lines.size(), 1u);
        EXPECT_EQ(layout.lines[0].text, c.shown);
        EXPECT_EQ(layout.lines[0].underlined, c.underlined);
    }
}

TEST_F(TextLayoutTest, EndEllipsisCutsLinesThatDoNotFit) {
    const int room = Width(u"Hello wo");
    const TextLayout cut = LayoutText(*font_, u"Hello world", room, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(cut.lines.size(), 1u);
    EXPECT_TRUE(cut.lines[0].text.ends_with(u"..."));
    EXPECT_LE(cut.lines[0].width, room);
    EXPECT_EQ(cut.lines[0].width, Width(cut.lines[0].text));
    const TextLayout fits = LayoutText(*font_, u"Hello", room, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(fits.lines[0].text, u"Hello");
    const TextLayout none = LayoutText(*font_, u"Hello", 0, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(none.lines[0].text, u"...");
}

TEST_F(TextLayoutTest, TabsExpandToEightAverageCharacters) {
    const int stop = font_->metrics().averageCharWidth * 8;
    EXPECT_EQ(LayoutText(*font_, u"a\tb", 1000, DT_SINGLELINE | DT_EXPANDTABS).lines[0].width, stop + Width(u"b"));
    EXPECT_EQ(LayoutText(*font_, u"a\tb", 1000, DT_SINGLELINE).lines[0].width, Width(u"ab"));
}

TEST_F(TextLayoutTest, EmptyTextHasNoLines) {
    const TextLayout layout = LayoutText(*font_, u"", 100, DT_WORDBREAK);
    EXPECT_TRUE(layout.lines.empty());
    EXPECT_EQ(layout.height(), 0);
    EXPECT_EQ(MeasureLine(*font_, u""), (gfx::Size{0, font_->metrics().height}));
}

TEST_F(TextLayoutTest, MeasuringAndFitting) {
    EXPECT_EQ(Width(u"更新下载"), 4 * font_->Advance(U'更'));
    std::vector<int> partial;
    const std::u16string text = u"ab\U0001F600c";
    const int all = FitCharacters(*font_, text, 100000, &partial);
    EXPECT_EQ(all, 5);
    ASSERT_EQ(partial.size(), 5u);
    EXPECT_EQ(partial[2], partial[3]);  // both halves of the pair end at the same width
    EXPECT_EQ(partial.back(), Width(text));
    EXPECT_EQ(FitCharacters(*font_, text, partial[1]), 2);
    EXPECT_EQ(FitCharacters(*font_, text, partial[3] - 1), 2);  // never half a pair
    EXPECT_EQ(FitCharacters(*font_, text, -5), 0);
    EXPECT_EQ(AlignedLineOffset(DT_CENTER, 11, 4), 3);
    EXPECT_EQ(AlignedLineOffset(DT_RIGHT, 11, 4), 7);
    EXPECT_EQ(AlignedLineOffset(DT_LEFT, 11, 4), 0);
    EXPECT_EQ(AlignedLineOffset(DT_CENTER, 4, 11), -3);
}

}  // namespace
}  // namespace vexlo::text
