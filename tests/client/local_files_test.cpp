#include <gtest/gtest.h>

#include "client/atomic_file.h"
#include "client/download_target.h"
#include "client/ini_file.h"
#include "platform/base/text.h"
#include "tests/client/test_support.h"

namespace vexlo::client {
namespace {

using testing::TempDir;

TEST(IniWriter, KeepsOtherSectionsKeysAndLines) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"", "[update]\r\npath=/p\r\n"},
        {"[other]\r\nk=v\r\n", "[other]\r\nk=v\r\n[update]\r\npath=/p\r\n"},
        {"[UPDATE]\r\nPath = /old\r\nversion=1\r\n", "[UPDATE]\r\npath=/p\r\nversion=1\r\n"},
        {"[update]\r\nversion=1\r\n\r\n[next]\r\nx=1\r\n",
         "[update]\r\nversion=1\r\npath=/p\r\n\r\n[next]\r\nx=1\r\n"},
        {"; comment\n[update]\nversion=1\n", "; comment\n[update]\nversion=1\npath=/p\n"},
        {"[update]", "[update]\r\npath=/p\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SetIniValue(c.before, "update", "path", "/p"), c.after) << c.before;
}

TEST(IniReader, FirstValueCaseInsensitiveAndUnreadableFilesGiveNothing) {
    EXPECT_EQ(ReadIniValue("[Update]\nPATH = /a\npath=/b\n", "update", "path"), "/a");
    EXPECT_EQ(ReadIniValue("[update]\nversion=1\n", "update", "path"), std::nullopt);
    EXPECT_EQ(ReadIniValue("[other]\npath=/a\n", "update", "path"), std::nullopt);
    // A line longer than the reader's buffer would be cut to a different path: none at all.
    const std::string longLine = "[update]\npath=/" + std::string(400, 'a') + "\nversion=9\n";
    EXPECT_EQ(ReadIniValue(longLine, "update", "path"), std::nullopt);
}

TEST(IniFile, WriteThenReadRoundTripsAnyPath) {
    TempDir dir;
    const std::string file = dir.File("_update");
    const std::string path = "/home/\xE7\x94\xA8\xE6\x88\xB7/Update/setup \xC3\xA9.exe";  // UTF-8
    ASSERT_TRUE(WriteIniValue(file, "update", "path", path));
    ASSERT_TRUE(WriteIniValue(file, "update", "version", "2.1.13.0"));
    const auto text = ReadSmallFile(file, 1 << 16);
    ASSERT_TRUE(text);
    EXPECT_EQ(ReadIniValue(*text, "update", "path"), path);
    EXPECT_EQ(ReadIniValue(*text, "update", "version"), "2.1.13.0");
    EXPECT_FALSE(WriteIniValue(dir.File("missing/_update"), "update", "path", "x"));
}

TEST(AtomicFile, ReplacesWholeOrLeavesTheOldContent) {
    TempDir dir;
    const std::string file = dir.File("setup.exe");
    testing::WriteWholeFile(file, "old");
    ASSERT_TRUE(ReplaceFileAtomically(file, "new content"));
    EXPECT_EQ(testing::ReadWholeFile(file), "new content");
    EXPECT_FALSE(ReplaceFileAtomically(dir.Path(), "x"));  // a folder is not replaced
    EXPECT_FALSE(ReplaceFileAtomically(dir.File("no/such"), "x"));
    EXPECT_FALSE(ReplaceFileAtomically("", "x"));
    EXPECT_EQ(testing::ListFolder(dir.Path()), std::vector<std::string>{"setup.exe"});
}

TEST(DownloadTarget, FileNamesWindowsRefusesCannotBeCreated) {
    const char16_t* refused[] = {u"",    u".",   u"..",  u"get?f=1", u"a\\b", u"a:b", u"a*b",
                                 u"a\"b", u"a<b", u"a>b", u"a|b",     u"a\tb", u"a\nb", u"\x1f"};
    for (const char16_t* name : refused) {
        EXPECT_FALSE(IsAcceptableFileName(name)) << platform::WideToUtf8(name);
        EXPECT_EQ(DownloadFsPath(platform::WString(u"/tmp/x/") + name), "") << platform::WideToUtf8(name);
    }
    const char16_t* accepted[] = {u"setup.exe", u"vexlo_2.1.13 (1).exe", u"...x", u"\u5B89\u88C5.exe"};
    for (const char16_t* name : accepted) EXPECT_TRUE(IsAcceptableFileName(name)) << platform::WideToUtf8(name);
}

TEST(DownloadTarget, PathsMustFitTheAnsiCodePageAndOpenByUtf8) {
    platform::SetAnsiCodePage(936);
    EXPECT_EQ(DownloadFsPath(u"/home/\u7528\u6237/setup.exe"), "/home/\xE7\x94\xA8\xE6\x88\xB7/setup.exe");
    EXPECT_EQ(DownloadFsPath(u"/home/\u0E01/setup.exe"), "");  // Thai: not in code page 936
    EXPECT_EQ(DownloadFsPath(platform::WString(u"/tmp/a\0b.exe", 12)), "");
    EXPECT_EQ(DownloadFsPath(u"/tmp/dir/"), "");
}

}  // namespace
}  // namespace vexlo::client
