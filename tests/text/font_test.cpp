#include "platform/text/face_catalog.h"
#include "platform/text/font.h"
#include "platform/text/text_layout.h"

#include <gtest/gtest.h>

namespace vexlo::text {
namespace {

TEST(FontTest, HeightFollowsTheLogfontMeaning) {
    struct Case {
        int height;
        int characterHeight;  // 0: not checked
        int cellHeight;  // 0: not checked
    };
    const Case cases[] = {
        {-13, 13, 0}, {-12, 12, 0}, {20, 0, 20}, {13, 0, 13}, {0, kDefaultCharacterHeight, 0},
        {-100000, kMaxCharacterHeight, 0}, {std::numeric_limits<int>::min(), kMaxCharacterHeight, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const FontPtr font = Font::Create(FontRequest{u"微软雅黑", c.height});
        const FontMetrics& m = font->metrics();
        if (c.characterHeight) {
            EXPECT_EQ(m.characterHeight, c.characterHeight);
        }
        if (c.cellHeight) {
            EXPECT_EQ(m.height, c.cellHeight);
        }
        EXPECT_EQ(m.height, m.ascent + m.descent);
        EXPECT_GE(m.height, m.characterHeight);
        EXPECT_EQ(m.internalLeading, m.height - m.characterHeight);
        EXPECT_GT(m.averageCharWidth, 0);
        EXPECT_GE(m.maxCharWidth, m.averageCharWidth);
        EXPECT_TRUE(m.scalable);
    }
}

TEST(FontTest, EqualRequestsShareOneFontAndItsGlyphs) {
    const FontPtr a = Font::Create(FontRequest{u"Tahoma", -11});
    const FontPtr b = Font::Create(FontRequest{u"Tahoma", -11});
    EXPECT_EQ(a, b);
    EXPECT_NE(a, Font::Create(FontRequest{u"Tahoma", -11, 700}));
    const Glyph first = a->GetGlyph(U'g');
    ASSERT_TRUE(first.image);
    EXPECT_EQ(first.image, a->GetGlyph(U'g').image);
    EXPECT_GT(first.advance, 0);
    EXPECT_EQ(first.image->stride % 4, 0);
    EXPECT_GE(first.image->stride, first.image->width);
    // 'g' has a descender: it reaches below the baseline.
    EXPECT_GT(first.image->height - first.image->top, 0);
    EXPECT_EQ(Font::DefaultGui(), Font::DefaultGui());
    EXPECT_EQ(Font::DefaultGui()->metrics().characterHeight, 12);
}

TEST(FontTest, MissingCharactersComeFromTheFallbackFaces) {
    const FontPtr latin = Font::Create(FontRequest{u"Arial", -12});
    const FontPtr cjk = Font::Create(FontRequest{u"微软雅黑", -12});
    ASSERT_EQ(latin->resolvedFamily(), u"DejaVu Sans");
    const Glyph fromFallback = latin->GetGlyph(U'新');
    ASSERT_TRUE(fromFallback.image);
    EXPECT_EQ(fromFallback.advance, cjk->Advance(U'新'));
    EXPECT_EQ(fromFallback.image->coverage, cjk->GetGlyph(U'新').image->coverage);
}

TEST(FontTest, InvisibleCharactersHaveNoWidthAndBlanksNoImage) {
    const FontPtr font = Font::Create(FontRequest{u"Arial", -12});
    for (char32_t ch : {U'\n', U'\r', U'\t', U'\u200B', U'\uFEFF', char32_t{0}}) {
        const Glyph g = font->GetGlyph(ch);
        EXPECT_EQ(g.advance, 0) << static_cast<unsigned>(ch);
        EXPECT_FALSE(g.image);
    }
    const Glyph space = font->GetGlyph(U' ');
    EXPECT_GT(space.advance, 0);
    EXPECT_FALSE(space.image);
}

TEST(FontTest, SynthesisedBoldIsOnePixelWider) {
    const FontPtr regular = Font::Create(FontRequest{u"微软雅黑", -12, 400});
    const FontPtr bold = Font::Create(FontRequest{u"微软雅黑", -12, 700});
    EXPECT_EQ(bold->Advance(U'中'), regular->Advance(U'中') + 1);
    const auto r = regular->GetGlyph(U'中').image;
    const auto b = bold->GetGlyph(U'中').image;
    ASSERT_TRUE(r && b);
    long inkRegular = 0, inkBold = 0;
    for (uint8_t c : r->coverage) inkRegular += c;
    for (uint8_t c : b->coverage) inkBold += c;
    EXPECT_GT(inkBold, inkRegular * 5 / 4);
}

TEST(FontTest, NoUsableFaceGivesAFontThatMeasuresNothing) {
    ScopedFaceCatalog none{FaceCatalog()};
    const FontPtr font = Font::Create(FontRequest{u"微软雅黑", -12});
    EXPECT_TRUE(font->resolvedFamily().empty());
    EXPECT_EQ(font->Advance(U'a'), 0);
    EXPECT_EQ(MeasureLine(*font, u"abc").width, 0);
    EXPECT_GT(font->metrics().height, 0);  // a line still has a height
}

TEST(FontTest, CodePointsFromUtf16) {
    const std::u16string text = u"a\U0001F600b\xD800z\xDC00";
    std::u32string out;
    for (size_t i = 0; i < text.size();) out += NextCodePoint(text, i);
    EXPECT_EQ(out, U"a\U0001F600b\uFFFDz\uFFFD");
}

}  // namespace
}  // namespace vexlo::text
