#include "env/ini_text.h"

#include <gtest/gtest.h>

namespace vexlo::env {
namespace {

struct IniCase {
    const char* what;
    std::string text;
    std::string section;
    std::string name;
    std::string expected;
};

class IniRulesTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniRulesTest, ReadsTheEntry) {
    const IniCase& c = GetParam();
    EXPECT_EQ(IniText::Parse(c.text).Get(c.section, c.name), c.expected) << c.what;
}

const std::string kLongValue(5000, '7');
const std::string kSpacedValue = [] {
    std::string s;
    for (int i = 0; i < 60; ++i) s += "a = b  c:d\t[x] ";
    return s + "end";
}();
const std::string kLongName(300, 'n');
const std::string kLongSection(60, 's');

INSTANTIATE_TEST_SUITE_P(
    Rules, IniRulesTest,
    ::testing::Values(
        IniCase{"plain", "[config]\ncode=6001", "config", "code", "6001"},
        IniCase{"case and blanks", "[CONFIG]\r\nCode = 6123\r\n", "config", "code", "6123"},
        IniCase{"colon", "[config]\ncode : 7", "config", "code", "7"},
        IniCase{"leading break", "\n[config]\ncode=1", "config", "code", ""},
        IniCase{"leading CR", "\r[config]\ncode=1", "config", "code", ""},
        IniCase{"runs of breaks", "[config]\r\n\r\n\n\rcode=9", "config", "code", "9"},
        IniCase{"byte-order mark", "\xEF\xBB\xBF[config]\ncode=2", "config", "code", "2"},
        IniCase{"comments", "[config]\n;code=3\n#code=4\ncode=5 ; note", "config", "code", "5"},
        IniCase{"semicolon without blank", "[config]\ncode=a;b", "config", "code", "a;b"},
        IniCase{"other section", "[other]\ncode=1", "config", "code", ""},
        IniCase{"repeated name", "[config]\ncode=1\nCODE=2", "config", "code", "1\n2"},
        IniCase{"continuation", "[config]\ncode=1\n  more", "config", "code", "1\nmore"},
        IniCase{"text ends at NUL", std::string("[config]\ncode=1\0\ncode=2", 22), "config", "code", "1"},
        IniCase{"section cut to 49", "[" + kLongSection + "]\nk=v", kLongSection.substr(0, 49), "k", "v"},
        IniCase{"long value", "[config]\ncode=" + kLongValue + "\nafter=1", "config", "code", kLongValue},
        IniCase{"line after a long one", "[config]\ncode=" + kLongValue + "\nafter=1", "config", "after", "1"},
        IniCase{"long value with blanks and marks", "[config]\ncode = " + kSpacedValue + "   ", "config",
                "code", kSpacedValue},
        IniCase{"long value, inline comment", "[config]\ncode=" + kLongValue + " ;" + kLongValue, "config",
                "code", kLongValue},
        IniCase{"long name", "[config]\n" + kLongName + "=v", "config", kLongName, "v"},
        IniCase{"long continuation", "[config]\ncode=1\n\t" + kLongValue, "config", "code", "1\n" + kLongValue},
        IniCase{"long continuation with a separator",
                "[config]\ncode=1\n  " + std::string(60, 'x') + "    =    " + std::string(200, 'y'), "config",
                "code", "1\n" + std::string(60, 'x') + "    =    " + std::string(200, 'y')},
        IniCase{"long comment line", "[config]\n;" + kLongValue + "\ncode=3", "config", "code", "3"},
        IniCase{"long section line", "[" + kLongSection + kLongValue + "]\nk=v",
                kLongSection.substr(0, 49), "k", "v"},
        IniCase{"line cut at 19999 bytes", "[config]\ncode=" + std::string(25000, '7') + "\nafter=1",
                "config", "code", std::string(19999 - 5, '7')},
        IniCase{"rest of a cut line is dropped", "[config]\ncode=" + std::string(19994, '7') + "x=1",
                "config", "x", ""}),
    [](const ::testing::TestParamInfo<IniCase>& info) {
        std::string name = info.param.what;
        for (char& c : name) if (!isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(IniText, ControlBytesInTheTextAreKeptInLongLines) {
    // A long line whose text holds the bytes a shortened line would use.
    const std::string value = std::string("\x01\x02\x03", 3) + std::string(300, 'v') + "\x01";
    EXPECT_EQ(IniText::Parse("[config]\ncode=" + value).Get("config", "code"), value);
}

}  // namespace
}  // namespace vexlo::env
