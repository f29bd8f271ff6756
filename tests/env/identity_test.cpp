#include "env/identity.h"

#include <gtest/gtest.h>

namespace vexlo::env {
namespace {

TEST(MachineHash, UsesTheSignedShift) {
    struct Case {
        const char16_t* text;
        uint32_t hash;
    };
    const Case cases[] = {
        {u"", 0},
        {u"abc", 26499},
        {u"001A2B3C4D5E", 105239541},
        // The unsigned hash would give 95400113 here.
        {u"00E04C680001", 173060273},
        // Code units, not bytes: one unit above 0xFF.
        {u"\u4e2d", 0x4e2d},
    };
    for (const Case& c : cases) EXPECT_EQ(MachineHash(c.text), c.hash) << platform::WideToUtf8(c.text);
    EXPECT_LE(MachineHash(u"{8F1E2D3C-4B5A-4697-8877-665544332211}"), 268435455u);
}

TEST(InstallToken, IsTheMd5OfTheIdentifierAndTheSalt) {
    EXPECT_EQ(Md5Hex(""), u"d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("abc"), u"900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(AutToken(u"105239541"), u"33e48854a4c8ab81eb76dc06452466e2");
    // An empty identifier hashes the salt alone.
    EXPECT_EQ(AutToken(u""), u"75d7491658118154aeb35216f0312428");
}

}  // namespace
}  // namespace vexlo::env
