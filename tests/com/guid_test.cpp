#include "platform/com/guid.h"

#include <gtest/gtest.h>

namespace vexlo::com {
namespace {

TEST(Guid, ParsesBracedAndBareFormsAndPrintsTheBracedForm) {
    auto g = Guid::Parse("{6f76069f-2BD3-4653-BF40-451A2461D0B0}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->data1, 0x6F76069Fu);
    EXPECT_EQ(g->data2, 0x2BD3);
    EXPECT_EQ(g->data3, 0x4653);
    EXPECT_EQ(g->data4[0], 0xBF);
    EXPECT_EQ(g->data4[7], 0xB0);
    EXPECT_EQ(g->ToString(), "{6F76069F-2BD3-4653-BF40-451A2461D0B0}");
    EXPECT_EQ(Guid::Parse("00020400-0000-0000-C000-000000000046"), IID_IDispatch);
}

TEST(Guid, RefusesMalformedText) {
    for (const char* bad : {"", "{}", "{6F76069F-2BD3-4653-BF40-451A2461D0B}", "6F76069F2BD34653BF40451A2461D0B0xxxx",
                            "{6F76069G-2BD3-4653-BF40-451A2461D0B0}", "{6F76069F-2BD3-4653-BF40-451A2461D0B0"}) {
        EXPECT_FALSE(Guid::Parse(bad)) << bad;
    }
}

}  // namespace
}  // namespace vexlo::com
