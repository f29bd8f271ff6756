#include "env/registry_key.h"

#include <gtest/gtest.h>

#include "tests/sys/test_support.h"

namespace vexlo::env {
namespace {

using platform::RegistryValue;
using platform::WString;

class RegistryKeyTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    platform::MachineRegistry store{folder.Path()};
    RegistryKey key{kVexloKeyPath, platform::RegistryView::k32Bit, store};

    void Put(const char16_t* name, const RegistryValue& value) {
        ASSERT_TRUE(store.SetValue(platform::RegistryView::k32Bit, kVexloKeyPath, name, value));
    }
};

TEST_F(RegistryKeyTest, ReadStringGivesTheEmptyTextOnEveryFailure) {
    EXPECT_EQ(key.ReadString(u"mid"), u"");  // no key
    EXPECT_FALSE(key.WriteString(u"mid", u"1"));
    ASSERT_TRUE(key.Create());
    EXPECT_EQ(key.ReadString(u"mid"), u"");  // no value

    struct Case {
        RegistryValue value;
        WString text;
    };
    const Case cases[] = {
        {RegistryValue::String(WString(259, u'x')), WString(259, u'x')},
        {RegistryValue::String(WString(260, u'x')), u""},
        {RegistryValue::String(WString(u"ab\0cd", 5)), u"ab"},
        {{platform::kRegSz, std::string("a\0b", 3)}, u"ab"},  // an odd last byte still reads as a unit
        // The type is not checked: a DWORD's bytes read as text.
        {RegistryValue::Dword(0x00001B59), u"\u1B59"},
    };
    for (const Case& c : cases) {
        Put(u"value", c.value);
        EXPECT_EQ(key.ReadString(u"VALUE"), c.text);
    }
}

TEST_F(RegistryKeyTest, WritesTextAndSignedIntegers) {
    ASSERT_TRUE(key.Create());
    EXPECT_TRUE(key.WriteInt(u"mcn", -2147483647 - 1));
    EXPECT_EQ(key.ReadString(u"mcn"), u"-2147483648");
    EXPECT_TRUE(key.WriteString(u"pmid", u""));
    auto stored = store.QueryValue(platform::RegistryView::k32Bit, kVexloKeyPath, u"pmid");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::kRegSz);
    EXPECT_EQ(stored->data, "");  // no terminator is stored
    EXPECT_EQ(store.QueryValue(platform::RegistryView::k32Bit, kVexloKeyPath, u"mcn")->data.size(), 22u);
}

TEST_F(RegistryKeyTest, ReadDwordTakesAtMostFourBytes) {
    ASSERT_TRUE(key.Create());
    EXPECT_EQ(key.ReadDword(u"n"), std::nullopt);
    Put(u"n", RegistryValue::Dword(0xDEADBEEF));
    EXPECT_EQ(key.ReadDword(u"n"), 0xDEADBEEFu);
    Put(u"n", {platform::kRegDword, std::string("\x01\x02", 2)});
    EXPECT_EQ(key.ReadDword(u"n"), 0x0201u);
    Put(u"n", {platform::kRegDword, std::string(5, '\x01')});
    EXPECT_EQ(key.ReadDword(u"n"), std::nullopt);
}

}  // namespace
}  // namespace vexlo::env
