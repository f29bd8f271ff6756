#include "platform/sys/file_path.h"

#include <gtest/gtest.h>

namespace vexlo::platform {
namespace {

TEST(FilePath, NonAsciiNamesReachTheFileSystemAsUtf8) {
    EXPECT_EQ(WideToFsPath(u"/home/J\u00f6rg/\u6587\u4ef6"), "/home/J\xc3\xb6rg/\xe6\x96\x87\xe4\xbb\xb6");
    EXPECT_EQ(WideToFsPath(u"\U0001F600"), "\xf0\x9f\x98\x80");
    EXPECT_EQ(FsPathToWide("/home/J\xc3\xb6rg"), u"/home/J\u00f6rg");
    // A lone surrogate cannot be written in UTF-8.
    EXPECT_EQ(WideToFsPath(WString(1, char16_t(0xD800))), "\xef\xbf\xbd");
}

TEST(FilePath, BytesThatAreNotUtf8SurviveTheRoundTrip) {
    for (const std::string& bytes : {std::string("/tmp/caf\xe9"), std::string("\xc3"), std::string("\xed\xa0\x80"),
                                    std::string("\xc0\xaf"), std::string("\xf4\x90\x80\x80"), std::string("ok\xff/x")}) {
        EXPECT_EQ(WideToFsPath(FsPathToWide(bytes)), bytes) << ::testing::PrintToString(bytes);
    }
}

TEST(FilePath, JoinsWithOneSeparatorAndRejectsUnopenablePaths) {
    EXPECT_EQ(JoinPath(u"/a", u"b"), u"/a/b");
    EXPECT_EQ(JoinPath(u"/a/", u"/b"), u"/a/b");
    EXPECT_EQ(JoinPath(u"", u"Vexlo"), u"/Vexlo");
    EXPECT_TRUE(OpenableFsPath("/a"));
    EXPECT_FALSE(OpenableFsPath(""));
    EXPECT_FALSE(OpenableFsPath(std::string("/a\0b", 4)));
}

}  // namespace
}  // namespace vexlo::platform
