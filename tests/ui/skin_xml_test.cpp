#include <gtest/gtest.h>

#include "ui/core/skin_text.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {
namespace {

std::u16string AttributeOf(std::u16string_view value) {
    auto doc = SkinDocument::Parse(u"<e v=\"" + std::u16string(value) + u"\"/>");
    return doc->TopLevel(u"e").AttributeOrEmpty(u"v");
}

TEST(SkinXml, DecodesTheFiveEntitiesAndShortHexReferences) {
    struct Case {
        std::u16string_view written;
        std::u16string_view read;
    } cases[] = {
        {u"&amp;&lt;&gt;&quot;&apos;", u"&<>\"'"},
        {u"&#x5FAE;&#x8F6F;&#x96C5;&#x9ED1;", u"微软雅黑"},
        {u"&#x41;&#x042;&#x0043;", u"ABC"},
        {u"&#x3C;b&#x26;", u"<b&"},
        {u"&#xD83D;&#xDE00;", u"\U0001F600"},
        {u"&#xD83D;x", u"\uFFFDx"},
        // Forms the reader does not take stay as text.
        {u"&#x12345;", u"&#x12345;"},
        {u"&#x;", u"&#x;"},
        {u"&#65;", u"&#65;"},
        {u"&#X41;", u"&#X41;"},
        {u"&#x41", u"&#x41"},
        {u"&#x0;", u"&#x0;"},
        {u"&nbsp; & b", u"&nbsp; & b"},
        {u"&amp", u"&amp"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AttributeOf(c.written), c.read) << std::string(c.written.begin(), c.written.end());
    }
}

TEST(SkinXml, AttributeNamesIgnoreCaseAndElementNamesAreKeptAsWritten) {
    auto doc = SkinDocument::Parse(u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<!-- a & b -->"
                                   u"<redudizu><DuControl/><ducontrol><Button Name=\"x\" name=\"y\"/></ducontrol></redudizu>");
    ASSERT_TRUE(doc->ok());
    XmlElement root = doc->TopLevel(u"redudizu");
    ASSERT_TRUE(root);
    XmlElement control = root.FirstChild(u"ducontrol");
    ASSERT_TRUE(control);
    EXPECT_NE(control, root.FirstChild()) << "DuControl is not ducontrol";
    XmlElement button = control.FirstChild();
    EXPECT_EQ(button.Name(), u"Button");
    EXPECT_EQ(button.Attribute(u"NAME"), u"x") << "the first matching attribute wins";
    EXPECT_EQ(button.Attribute(u"missing"), std::nullopt);
}

TEST(SkinXml, RefusesNestingDeeperThanTheLimitAndKeepsWhatParsedBeforeAnError) {
    std::u16string deep;
    for (int i = 0; i < kMaxXmlDepth + 1; ++i) deep += u"<a>";
    auto tooDeep = SkinDocument::Parse(deep);
    EXPECT_FALSE(tooDeep->ok());
    EXPECT_FALSE(tooDeep->TopLevel(u"a"));

    std::u16string fine;
    for (int i = 0; i < kMaxXmlDepth; ++i) fine += u"<a>";
    for (int i = 0; i < kMaxXmlDepth; ++i) fine += u"</a>";
    EXPECT_TRUE(SkinDocument::Parse(fine)->ok());

    auto broken = SkinDocument::Parse(u"<first/><second a=\"1\"></oops>");
    EXPECT_FALSE(broken->ok());
    EXPECT_TRUE(broken->TopLevel(u"first"));
}

TEST(SkinXml, NestingDepthSeesThroughQuotesCommentsAndSelfClosingTags) {
    EXPECT_EQ(XmlNestingDepth("<a><b/><c x='>'><d></d></c></a>"), 3);
    EXPECT_EQ(XmlNestingDepth("<!-- <a><a> --><?pi <a>?><![CDATA[<a>]]><a/>"), 1);
    EXPECT_EQ(XmlNestingDepth("a < b"), 0);
}

TEST(SkinText, SkipsTheFirstUnitAndRefusesShortOrOddEntries) {
    const uint8_t text[] = {0xFF, 0xFE, 'h', 0, 'i', 0};
    EXPECT_EQ(DecodeSkinText(text), u"hi");
    const uint8_t noMark[] = {'a', 0, 'b', 0};
    EXPECT_EQ(DecodeSkinText(noMark), u"b") << "the first unit is skipped whatever it is";
    const uint8_t stops[] = {0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0};
    EXPECT_EQ(DecodeSkinText(stops), u"a");
    const uint8_t odd[] = {0xFF, 0xFE, 'a'};
    EXPECT_EQ(DecodeSkinText(odd), std::nullopt);
    const uint8_t one[] = {0xFF};
    EXPECT_EQ(DecodeSkinText(one), std::nullopt);
    const uint8_t markOnly[] = {0xFF, 0xFE};
    EXPECT_EQ(DecodeSkinText(markOnly), u"");
}

}  // namespace
}  // namespace vexlo::ui
