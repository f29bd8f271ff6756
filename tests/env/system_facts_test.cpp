#include "env/system_facts.h"

#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "tests/sys/test_support.h"

namespace vexlo::env {
namespace {

using platform::LinkAddress;
using platform::WString;

TEST(FirstAdapterMac, TakesTheFirstRealAddressInIndexOrder) {
    struct Case {
        std::vector<LinkAddress> links;
        const char16_t* expected;
    };
    const LinkAddress lo{1, "lo", true, {0, 0, 0, 0, 0, 0}};
    const LinkAddress tun{2, "tun0", false, {}};
    const LinkAddress zero{3, "dummy0", false, {0, 0, 0, 0, 0, 0}};
    const LinkAddress eth{4, "eth0", false, {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e}};
    const LinkAddress loopbackWithAddress{5, "lo2", true, {1, 2, 3, 4, 5, 6}};
    const LinkAddress shortAddress{6, "short", false, {0xab, 0xcd}};
    const LinkAddress longAddress{7, "ib0", false, {0xfe, 0x80, 0, 0, 0, 0, 0, 0, 0x11, 0x22}};
    const Case cases[] = {
        {{}, u""},
        {{lo, tun, zero}, u""},
        {{lo, tun, zero, eth}, u"001A2B3C4D5E"},
        {{loopbackWithAddress, shortAddress}, u"ABCD00000000"},
        {{longAddress, eth}, u"FE8000000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(FirstAdapterMac(c.links), c.expected);
}

TEST(FirstAdapterMac, OfThisMachineIsTwelveUppercaseDigitsOrNothing) {
    const WString mac = GetFirstAdapterMac();
    if (mac.empty()) GTEST_SKIP() << "no network interface with a hardware address here";
    ASSERT_EQ(mac.size(), 12u);
    for (char16_t c : mac) EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
}

TEST(Guid, HasTheFormatWithALowercaseThirdGroup) {
    Guid guid{0x8f1e2d3c, 0x4b5a, 0xabcd, {0xef, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd}};
    EXPECT_EQ(FormatGuid(guid), u"{8F1E2D3C-4B5A-abcd-EF01-23456789ABCD}");
    EXPECT_EQ(FormatGuid(Guid{}), u"{00000000-0000-0000-0000-000000000000}");

    std::set<WString> seen;
    for (int i = 0; i < 8; ++i) {
        const WString text = NewGuidText();
        ASSERT_EQ(text.size(), 38u);
        EXPECT_EQ(text[15], u'4');  // a random GUID
        for (size_t at : {size_t(1), size_t(10), size_t(20), size_t(25)}) {
            for (size_t k = at; k < at + 4; ++k) EXPECT_FALSE(text[k] >= u'a' && text[k] <= u'f') << platform::WideToUtf8(text);
        }
        for (size_t k = 15; k < 19; ++k) EXPECT_FALSE(text[k] >= u'A' && text[k] <= u'F') << platform::WideToUtf8(text);
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 8u);
}

class AdapterQueryTest : public ::testing::Test {
protected:
    testing::TempFolder net;

    void AddDevice(const std::string& name, const std::string& index, const std::optional<std::string>& address,
                   bool physical) {
        const std::string dir = net / name;
        std::filesystem::create_directories(dir);
        testing::WriteFile(dir + "/ifindex", index + "\n");
        if (address) testing::WriteFile(dir + "/address", *address + "\n");
        if (physical) std::filesystem::create_directory(dir + "/device");
    }
};

TEST_F(AdapterQueryTest, ListsPhysicalAdaptersWithAnAddressInIndexOrder) {
    AddDevice("wlan0", "3", "00:1a:2b:3c:4d:5e", true);
    AddDevice("eth0", "2", "aa:bb:cc:dd:ee:ff", true);
    AddDevice("lo", "1", "00:00:00:00:00:00", false);
    AddDevice("br0", "4", "02:42:ac:11:00:02", false);   // software bridge
    AddDevice("nulladdr", "5", "00:00:00:00:00:00", true);
    AddDevice("unreadable", "6", "zz:zz", true);         // its address cannot be read
    AddDevice("noaddress", "7", std::nullopt, true);
    AddDevice("eth9", "10", "01:02:03:04:05:06", true);  // index 10 sorts after 3

    WmiQueryHelper helper(net.Path());
    ASSERT_TRUE(helper.Connected());
    std::vector<WString> rows{u"stale"};
    ASSERT_TRUE(helper.QueryMacAddresses(WmiQueryHelper::kAdapterQuery, rows));
    EXPECT_EQ(rows, (std::vector<WString>{u"AA:BB:CC:DD:EE:FF", u"00:1A:2B:3C:4D:5E", u"01:02:03:04:05:06"}));

    EXPECT_FALSE(helper.QueryMacAddresses(u"SELECT * FROM Win32_Process", rows));
    EXPECT_TRUE(rows.empty());
}

TEST_F(AdapterQueryTest, AHelperThatCannotConnectAnswersNothing) {
    WmiQueryHelper helper(net / "missing");
    EXPECT_FALSE(helper.Connected());
    std::vector<WString> rows{u"stale"};
    EXPECT_FALSE(helper.QueryMacAddresses(WmiQueryHelper::kAdapterQuery, rows));
    EXPECT_TRUE(rows.empty());
}

TEST(VariantToText, ConvertsEachKindOfValue) {
    struct Case {
        WmiValue value;
        const char16_t* expected;
    };
    const Case cases[] = {
        {std::optional<WString>(u"00:1A:2B:3C:4D:5E"), u"00:1A:2B:3C:4D:5E"},
        {std::optional<WString>(), u""},
        {int32_t{-42}, u"-42"},
        {uint32_t{4000000000u}, u"4000000000"},
        {uint8_t{255}, u"255"},
        {WmiBool{-1}, u"TRUE"},
        {WmiBool{1}, u"FALSE"},
        {std::vector<WString>{u"first", u"second"}, u"first"},
        {std::vector<WString>{}, u"before"},
        {std::vector<int32_t>{1, -2, 300}, u"1-2300"},
        {WmiNull{}, u"before"},
    };
    for (const Case& c : cases) {
        WString text = u"before";
        WmiQueryHelper::VariantToText(c.value, text);
        EXPECT_EQ(text, c.expected);
    }
}

}  // namespace
}  // namespace vexlo::env
