#include <gtest/gtest.h>

#include "ui/core/attribute_values.h"
#include "ui/core/skin_text.h"
#include "ui/core/state.h"

namespace vexlo::ui {
namespace {

TEST(AttributeValues, Colours) {
    struct Case {
        std::u16string_view text;
        uint32_t inGroup;     // unread components 0
        uint32_t inReader;    // unread components 255
    } cases[] = {
        {u"RGB(0,0,0)", 0, 0},
        {u"RGB(14,151,230)", 15111950, 15111950},
        {u"rgb(14,151,230)", 0, kWhite},
        {u"RGB(14,x,230)", MakeColor(14, 0, 0), MakeColor(14, 255, 255)},
        {u"RGB( 1, 2,3)", MakeColor(1, 2, 3), MakeColor(1, 2, 3)},
        {u"RGB(1 ,2,3)", MakeColor(1, 0, 0), MakeColor(1, 255, 255)},
        {u"RGB(300,-1,99999999999)", MakeColor(44, 255, 255), MakeColor(44, 255, 255)},
        {u"", 0, kWhite},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseColor(c.text, 0), c.inGroup) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(ParseColor(c.text, 255), c.inReader) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(AttributeValues, PositionsPercentagesAndIntegers) {
    struct Case {
        std::u16string_view text;
        int32_t value;
    } positions[] = {
        {u"center", kCenterPosition}, {u"CENTER", kCenterPosition}, {u"12", 12},       {u"-20", -20},
        {u"0", 0},                    {u"12center", 12},            {u"centre", 0},    {u" 7px", 7},
        {u"50%", 50},                 {u"99999999999", INT32_MAX},  {u"-99999999999", INT32_MIN},
    };
    for (const Case& c : positions) {
        EXPECT_EQ(ParsePosition(c.text), c.value) << std::string(c.text.begin(), c.text.end());
    }
    EXPECT_EQ(ParsePercent(u"50%"), 50);
    EXPECT_EQ(ParseInteger(u"center"), 0);
}

TEST(AttributeValues, BooleansByReader) {
    EXPECT_EQ(ParseBoolean(u"true", false), 1);
    EXPECT_EQ(ParseBoolean(u"false", false), 0);
    EXPECT_EQ(ParseBoolean(u"True", false), std::nullopt);
    EXPECT_EQ(ParseBoolean(u"True", true), 1);
    EXPECT_EQ(ParseBoolean(u"FALSE", true), 0);
    EXPECT_EQ(ParseBoolean(u"1", true), std::nullopt);
}

TEST(AttributeValues, StateNames) {
    struct Case {
        std::u16string_view name;
        uint32_t bits;
    } cases[] = {
        {u"normal", 1},        {u"over", 2},           {u"press", 4},          {u"focus", 8},
        {u"disable", 16},      {u"normalall", 31},     {u"checked", 256},      {u"checkedover", 1024},
        {u"checkedpress", 2048}, {u"checkedfocus", 4096}, {u"checkeddisable", 8192}, {u"CheckedAll", 15616},
        {u"ALL", 15647},       {u"hover", 1},          {u"", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(StateFromName(c.name), c.bits) << std::string(c.name.begin(), c.name.end());
}

TEST(AttributeValues, CommonReadersOnAnElement) {
    auto doc = SkinDocument::Parse(
        u"<e NAME=\"" + std::u16string(200, u'n') + u"\" visible=\"True\" shown=\"yes\" color=\"rgb(1,2,3)\" "
        u"left=\"center\" state=\"CheckedAll\" n=\"-5x\"/>");
    XmlElement e = doc->TopLevel(u"e");
    ASSERT_TRUE(e);
    NameField name;
    ReadTextAttribute(e, u"name", name);
    EXPECT_EQ(name.view(), std::u16string(127, u'n'));
    ReadTextAttribute(e, u"absent", name);
    EXPECT_TRUE(name.empty()) << "the field is cleared first";
    int32_t visible = 0, shown = 1, absent = 7;
    ReadBoolAttribute(e, u"visible", visible);
    ReadBoolAttribute(e, u"shown", shown);
    ReadBoolAttribute(e, u"absent", absent);
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(absent, 7);
    EXPECT_EQ(ReadColorAttribute(e, u"color"), kWhite);
    EXPECT_EQ(ReadColorAttribute(e, u"absent"), kWhite);
    EXPECT_EQ(ReadPositionAttribute(e, u"LEFT"), kCenterPosition);
    EXPECT_EQ(ReadStateAttribute(e, u"state"), 15616u);
    EXPECT_EQ(ReadStateAttribute(e, u"absent"), 1u);
    EXPECT_EQ(ReadIntAttribute(e, u"n"), -5);
    EXPECT_EQ(ReadIntAttribute(e, u"absent"), 0);
}

TEST(WideField, CutsAtItsCapacityWithoutSplittingASurrogatePair) {
    WideField<4> f(u"abcdef");
    EXPECT_EQ(f.view(), u"abc");
    f.Set(u"ab\U0001F600");
    EXPECT_EQ(f.view(), u"ab") << "the high surrogate alone would be half a character";
    f.Set(u"a");
    EXPECT_EQ(f.view(), u"a");
}

}  // namespace
}  // namespace vexlo::ui
