#include "platform/sys/command_line.h"

#include <gtest/gtest.h>

namespace vexlo::platform {
namespace {

struct SplitCase {
    const char16_t* line;
    std::vector<WString> expected;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsByTheWindowsRules) {
    EXPECT_EQ(SplitCommandLine(GetParam().line), GetParam().expected) << WideToUtf8(GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{u"", {}},
        SplitCase{u"\"C:\\x\\setup.exe\" /s", {u"C:\\x\\setup.exe", u"/s"}},
        SplitCase{u"\"/opt/my setup\" ", {u"/opt/my setup"}},
        SplitCase{u"prog  a\tb  ", {u"prog", u"a", u"b"}},
        // The program name takes backslashes literally and ends at its closing quote.
        SplitCase{u"\"C:\\dir\\\" x", {u"C:\\dir\\", u"x"}},
        SplitCase{u"\"a\"b c", {u"a", u"b", u"c"}},
        SplitCase{u" lead", {u"", u"lead"}},
        // Quotes group, and are removed.
        SplitCase{u"p \"a b\" c\"d e\"f", {u"p", u"a b", u"cd ef"}},
        SplitCase{u"p \"\" x", {u"p", u"", u"x"}},
        SplitCase{u"p \"unterminated arg", {u"p", u"unterminated arg"}},
        // Backslashes: literal unless they precede a quote.
        SplitCase{u"p a\\b a\\\\b", {u"p", u"a\\b", u"a\\\\b"}},
        SplitCase{u"p a\\\"b", {u"p", u"a\"b"}},
        SplitCase{u"p a\\\\\"b c\"", {u"p", u"a\\b c"}},
        SplitCase{u"p a\\\\\\\"b", {u"p", u"a\\\"b"}},
        SplitCase{u"p \"a\\\\\" b", {u"p", u"a\\", u"b"}},
        // A doubled quote inside a group is a literal quote and ends the group.
        SplitCase{u"p \"a\"\"b c\"", {u"p", u"a\"b", u"c"}},
        SplitCase{u"p \"\"\"a\"\"\" b", {u"p", u"\"a\"", u"b"}},
        SplitCase{u"p \"\"\"\" x", {u"p", u"\" x"}}));  // the fourth quote opens a group

TEST(SplitArguments, HasNoProgramNameRule) {
    EXPECT_EQ(SplitArguments(u"\"a\\\" b\" /s"), (std::vector<WString>{u"a\" b", u"/s"}));
    EXPECT_EQ(SplitArguments(u"  "), std::vector<WString>{});
}

}  // namespace
}  // namespace vexlo::platform
