#include "platform/base/text.h"

#include <gtest/gtest.h>

namespace vexlo::platform {
namespace {

TEST(AnsiText, Gbk936RoundTripsChinese) {
    const std::u16string text = u"Vexlo更新正在下载";
    std::string narrow = WideToAnsi(text, 936);
    // Each CJK character takes two bytes in code page 936.
    EXPECT_EQ(narrow.size(), 5u + 6u * 2u);
    EXPECT_EQ(narrow.substr(0, 5), "Vexlo");
    EXPECT_EQ(static_cast<unsigned char>(narrow[5]), 0xB8u);  // 更 = B8 FC
    EXPECT_EQ(static_cast<unsigned char>(narrow[6]), 0xFCu);
    EXPECT_EQ(AnsiToWide(narrow, 936), text);
}

TEST(AnsiText, MissingCharactersBecomeTheDefaultCharacter) {
    bool usedDefault = false;
    // U+0E01 (Thai) is not in code page 936; an emoji (surrogate pair) gives one '?'.
    EXPECT_EQ(WideToAnsi(u"a\u0E01b\U0001F600c", 936, &usedDefault), "a?b?c");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideToAnsi(u"plain", 936, &usedDefault), "plain");
    EXPECT_FALSE(usedDefault);
    // A lone surrogate is not a character either.
    EXPECT_EQ(WideToAnsi(std::u16string(1, char16_t(0xD800)) + u"x", 936), "?x");
}

TEST(AnsiText, InvalidBytesDoNotStopTheConversion) {
    // 0x81 followed by a byte that cannot trail it, then a cut-off lead byte at the end.
    std::string bytes = "A\x81\x20" "B\x81";
    std::u16string wide = AnsiToWide(bytes, 936);
    EXPECT_EQ(wide.front(), u'A');
    EXPECT_NE(wide.find(u'B'), std::u16string::npos);
}

TEST(AnsiText, CodePageIsSwitchable) {
    int saved = AnsiCodePage();
    SetAnsiCodePage(1252);
    EXPECT_EQ(WideToAnsi(u"\u00E9"), "\xE9");
    SetAnsiCodePage(saved);
    EXPECT_EQ(AnsiCodePage(), saved);
}

TEST(Utf8Text, RoundTripsAndRepairsIllFormedInput) {
    const std::u16string text = u"x\u00E9\u4E2D\U0001F600";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong slash
    EXPECT_EQ(Utf8ToWide("\xE4\xB8"), u"\uFFFD\uFFFD");  // cut short
}

}  // namespace
}  // namespace vexlo::platform
