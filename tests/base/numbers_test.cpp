#include "platform/base/numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace vexlo::platform {
namespace {

struct AtoiCase {
    const char* text;
    int32_t expected;
};

TEST(Atoi32, ReadsLikeTheThirtyTwoBitRuntime) {
    const AtoiCase cases[] = {
        {"2", 2},
        {"  \t-17xyz", -17},
        {"+8", 8},
        {"2.5", 2},
        {"abc", 0},
        {"", 0},
        {"- 3", 0},
        {"2147483647", std::numeric_limits<int32_t>::max()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        // Out of range saturates: a 64-bit long in between would turn this into 2.
        {"4294967298", std::numeric_limits<int32_t>::max()},
        {"-4294967298", std::numeric_limits<int32_t>::min()},
        {"99999999999999999999999999", std::numeric_limits<int32_t>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Atoi32(std::string_view(c.text)), c.expected) << c.text;
        std::u16string wide(c.text, c.text + std::char_traits<char>::length(c.text));
        EXPECT_EQ(Atoi32(std::u16string_view(wide)), c.expected) << c.text;
    }
}

TEST(Strtol32, ReportsHowMuchWasConsumed) {
    size_t consumed = 99;
    EXPECT_EQ(Strtol32(std::string_view(" 42abc"), &consumed), 42);
    EXPECT_EQ(consumed, 3u);
    EXPECT_EQ(Strtol32(std::string_view("x"), &consumed), 0);
    EXPECT_EQ(consumed, 0u);
}

struct ScanCase {
    const char16_t* text;
    int read;
    int32_t parts[4];
};

TEST(ScanDottedInts, FollowsFormattedInputRules) {
    const ScanCase cases[] = {
        {u"2.1.12.15", 4, {2, 1, 12, 15}},
        {u"2.1.12", 3, {2, 1, 12, 0}},
        {u"3", 1, {3, 0, 0, 0}},
        {u"", 0, {0, 0, 0, 0}},
        {u"v2.1", 0, {0, 0, 0, 0}},
        {u"2.1 beta", 2, {2, 1, 0, 0}},
        {u"2..3", 1, {2, 0, 0, 0}},
        {u" 2. 3", 2, {2, 3, 0, 0}},
        {u"-1.+2", 2, {-1, 2, 0, 0}},
        {u"1.2.3.4.5", 4, {1, 2, 3, 4}},
        {u"4294967298.1", 2, {std::numeric_limits<int32_t>::max(), 1, 0, 0}},
    };
    for (const auto& c : cases) {
        int32_t parts[4] = {0, 0, 0, 0};
        EXPECT_EQ(ScanDottedInts(std::u16string_view(c.text), parts, 4), c.read);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(parts[k], c.parts[k]) << "component " << k;
    }
}

}  // namespace
}  // namespace vexlo::platform
