#include <gtest/gtest.h>

#include "client/request_form.h"
#include "client/version_compare.h"
#include "platform/base/text.h"

namespace vexlo::client {
namespace {

TEST(RequestForm, PairsFollowInNameOrderWhateverTheOrderOfAdding) {
    RequestForm form("http://h/api/check_update.php?");
    form.Add(u"mid", u"M");
    form.Add(u"aut", u"A");
    form.AddNumber(u"cid", 6000);
    form.Add(u"ver", u"2.1.12.15");
    form.Add(u"pmid", u"P");
    form.AddNumber(u"mcn", -3);
    form.Add(u"osver", u"");
    form.Add(u"osbit", u"");
    form.Add(u"iever", u"");
    form.Add(u"dispix", u"");
    EXPECT_EQ(form.ToUrl(),
              "http://h/api/check_update.php?aut=A&cid=6000&dispix=&iever=&mcn=-3&mid=M&osbit=&"
              "osver=&pmid=P&ver=2.1.12.15");
}

TEST(RequestForm, FirstValueOfANameStays) {
    RequestForm form("u?");
    form.Add(u"a", u"first");
    form.Add(u"a", u"second");
    form.AddNumber(u"a", 7);
    EXPECT_EQ(form.ToUrl(), "u?a=first");
}

TEST(RequestForm, WithoutFieldsTheBaseLosesItsLastCharacter) {
    EXPECT_EQ(RequestForm("http://h/x?").ToUrl(), "http://h/x");
    EXPECT_EQ(RequestForm("").ToUrl(), "");
}

TEST(RequestForm, ValuesAreCopiedUnescapedInTheAnsiCodePage) {
    platform::SetAnsiCodePage(936);
    RequestForm form("u?");
    form.Add(u"x", u"a&b=c d");
    form.Add(u"y", u"\u4E2D");     // in code page 936: D6 D0
    form.Add(u"z", u"\u0E01");     // Thai, lacking in 936: the default character
    EXPECT_EQ(form.ToUrl(), "u?x=a&b=c d&y=\xD6\xD0&z=?");
}

TEST(RequestForm, NamesCompareAsUnsignedCodeUnits) {
    RequestForm form("u?");
    form.Add(u"\uFF21", u"1");  // a fullwidth letter sorts after every ASCII name
    form.Add(u"B", u"2");
    form.Add(u"a", u"3");
    const auto& fields = form.Fields();
    std::vector<platform::WString> names;
    for (const auto& field : fields) names.push_back(field.first);
    EXPECT_EQ(names, (std::vector<platform::WString>{u"B", u"a", u"\uFF21"}));
}

TEST(CompareVersions, Examples) {
    struct Case {
        const char16_t* a;
        const char16_t* b;
        int expected;
    };
    const Case cases[] = {
        {u"2.1.12.15", u"2.1.12.16", -1},
        {u"2.1.12.16", u"2.1.12.15", 1},
        {u"2.1.12", u"2.1.12.0", 0},
        {u"3", u"2.1.12.15", 1},
        {u"2.1.256.0", u"2.1.255.0", 1},
        {u"", u"0.0.0.0", 0},
        {u"v2.1", u"0.0.0.0", 0},
        {u"2.1 beta", u"2.1.0.0", 0},
        {u"2..3", u"2.0.0.0", 0},
        {u"2.1.12.15", u"2.1.12.15", 0},
        {u" 2. -1", u"2.0", -1},
        {u"2.1.12.15.99", u"2.1.12.15", 0},
        {u"99999999999", u"2147483647", 0},  // components saturate at the 32-bit range
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareVersions(c.a, c.b), c.expected)
            << platform::WideToUtf8(c.a) << " vs " << platform::WideToUtf8(c.b);
    }
}

}  // namespace
}  // namespace vexlo::client
