#include "platform/sys/registry.h"

#include <sys/resource.h>
#include <signal.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/sys/test_support.h"

namespace vexlo::platform {
namespace {

using testing::RunInChild;
using testing::ScopedEnv;
using testing::TempFolder;

constexpr char16_t kKey[] = u"SOFTWARE\\Vexlo";

class RegistryTest : public ::testing::Test {
protected:
    TempFolder folder;
    MachineRegistry registry{folder.Path()};

    std::string ValueFile(const std::string& name) const {
        return folder.Path() + "/view32/k.SOFTWARE/k.VEXLO/v." + name;
    }
};

TEST_F(RegistryTest, StringsAndDwordsRoundTripWithNamesComparedWithoutCase) {
    ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, kKey));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"Code", RegistryValue::String(u"7001")));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"EnableLUA", RegistryValue::Dword(0x01020304)));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"Größe", RegistryValue::String(u"ä")));

    auto code = registry.QueryValue(RegistryView::k32Bit, u"software\\VEXLO\\", u"cODE");
    ASSERT_TRUE(code);
    EXPECT_EQ(code->type, kRegSz);
    EXPECT_EQ(code->data, std::string("7\0" "0\0" "0\0" "1\0", 8));
    auto lua = registry.QueryValue(RegistryView::k32Bit, kKey, u"enablelua");
    ASSERT_TRUE(lua);
    EXPECT_EQ(lua->type, kRegDword);
    EXPECT_EQ(lua->data, std::string("\x04\x03\x02\x01", 4));
    EXPECT_TRUE(registry.QueryValue(RegistryView::k32Bit, kKey, u"GRÖSSE") == std::nullopt);
    EXPECT_TRUE(registry.QueryValue(RegistryView::k32Bit, kKey, u"GRÖßE"));

    // Writing under another spelling replaces the value and keeps one entry.
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"CODE", RegistryValue::String(u"1")));
    auto values = registry.ListValues(RegistryView::k32Bit, u"Software\\Vexlo");
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 3u);
    EXPECT_EQ((*values)[0].first, u"CODE");
    EXPECT_EQ((*values)[0].second.data, std::string("1\0", 2));
}

TEST_F(RegistryTest, ViewsAreKeptApart) {
    ASSERT_TRUE(registry.CreateKey(RegistryView::k64Bit, kKey));
    ASSERT_TRUE(registry.SetValue(RegistryView::k64Bit, kKey, u"mid", RegistryValue::String(u"64")));
    EXPECT_FALSE(registry.KeyExists(RegistryView::k32Bit, kKey));
    EXPECT_FALSE(registry.QueryValue(RegistryView::k32Bit, kKey, u"mid"));
    ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, kKey));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"mid", RegistryValue::String(u"32")));
    EXPECT_EQ(registry.QueryValue(RegistryView::k64Bit, kKey, u"mid")->data, std::string("6\0" "4\0", 4));
}

TEST_F(RegistryTest, WritesNeedAnExistingKeyAndValidNames) {
    EXPECT_FALSE(registry.SetValue(RegistryView::k32Bit, kKey, u"mid", RegistryValue::String(u"1")));
    EXPECT_FALSE(registry.KeyExists(RegistryView::k32Bit, kKey));
    ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, u"SOFTWARE\\Vexlo\\Deep\\Er"));
    EXPECT_TRUE(registry.KeyExists(RegistryView::k32Bit, kKey));

    for (const char16_t* bad : {u"", u"\\", u"SOFTWARE\\\\Vexlo", u"\\SOFTWARE"}) {
        EXPECT_FALSE(registry.CreateKey(RegistryView::k32Bit, bad)) << platform::WideToUtf8(bad);
    }
    const WString longName(kMaxRegistryNameLength + 1, u'n');
    EXPECT_FALSE(registry.SetValue(RegistryView::k32Bit, kKey, longName, RegistryValue::String(u"x")));
    // Names up to the limit work, also when their file-system form is long, and two that
    // differ only at their end stay two values.
    const WString wideA = WString(kMaxRegistryNameLength - 1, u'\u00e4') + u"a";
    const WString wideB = WString(kMaxRegistryNameLength - 1, u'\u00e4') + u"b";
    EXPECT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, longName.substr(1), RegistryValue::String(u"x")));
    EXPECT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, wideA, RegistryValue::String(u"a")));
    EXPECT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, wideB, RegistryValue::String(u"b")));
    EXPECT_EQ(registry.QueryValue(RegistryView::k32Bit, kKey, wideA)->data, std::string("a\0", 2));
    EXPECT_EQ(registry.QueryValue(RegistryView::k32Bit, kKey, wideB)->data, std::string("b\0", 2));
    EXPECT_TRUE(registry.CreateKey(RegistryView::k32Bit, WString(kKey) + u"\\" + wideA));
    RegistryValue huge{kRegSz, std::string(kMaxRegistryValueBytes + 1, 'x')};
    EXPECT_FALSE(registry.SetValue(RegistryView::k32Bit, kKey, u"huge", huge));
    // The unnamed (default) value is a value like any other.
    EXPECT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"", RegistryValue::String(u"d")));
    EXPECT_TRUE(registry.QueryValue(RegistryView::k32Bit, kKey, u""));
}

TEST_F(RegistryTest, NamesThatLookLikePathsStayInsideTheStore) {
    const WString key = u"SOFTWARE\\..\\.\\a/b";
    ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, key));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, key, u"../../escape", RegistryValue::String(u"x")));
    EXPECT_TRUE(registry.QueryValue(RegistryView::k32Bit, key, u"../../escape"));
    EXPECT_FALSE(registry.QueryValue(RegistryView::k32Bit, u"SOFTWARE", u"../../escape"));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
        EXPECT_EQ(entry.path().string().rfind(folder.Path(), 0), 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/../escape"));
}

TEST_F(RegistryTest, MalformedValueFilesReadAsMissing) {
    ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, kKey));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"mid", RegistryValue::String(u"123")));
    const std::string good = testing::ReadFile(ValueFile("MID"));
    // Magic, type, name length (12 bytes), the name "mid" (6), data length (4), data.
    ASSERT_EQ(good.size(), 12u + 6u + 4u + 6u);

    std::string otherName = good;
    otherName[12] = 'X';  // the stored name no longer matches the file's name
    std::string hugeLength = good;
    hugeLength[18 + 3] = '\x7f';  // data length far beyond the file
    const std::string cases[] = {
        "",
        "junk",
        good.substr(0, good.size() - 1),
        good + "x",
        "XXXX" + good.substr(4),
        otherName,
        hugeLength,
    };
    for (const std::string& bytes : cases) {
        testing::WriteFile(ValueFile("MID"), bytes);
        EXPECT_FALSE(registry.QueryValue(RegistryView::k32Bit, kKey, u"mid")) << ::testing::PrintToString(bytes);
    }
    // Something other than a regular file, and a link to elsewhere.
    std::filesystem::remove(ValueFile("MID"));
    std::filesystem::create_directory(ValueFile("MID"));
    EXPECT_FALSE(registry.QueryValue(RegistryView::k32Bit, kKey, u"mid"));
    std::filesystem::remove(ValueFile("MID"));
    testing::WriteFile(folder / "elsewhere", good);
    std::filesystem::create_symlink(folder / "elsewhere", ValueFile("MID"));
    EXPECT_FALSE(registry.QueryValue(RegistryView::k32Bit, kKey, u"mid"));
}

TEST_F(RegistryTest, FailedWriteLeavesTheOldValueAndNoPartialFile) {
    ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, kKey));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"mid", RegistryValue::String(u"old")));
    // The child may write files of at most 64 bytes, so the new value breaks off half-way.
    const bool childOk = RunInChild(false, [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
        const RegistryValue big{kRegSz, std::string(4096, 'n')};
        return !registry.SetValue(RegistryView::k32Bit, kKey, u"mid", big);
    });
    EXPECT_TRUE(childOk);
    EXPECT_EQ(registry.QueryValue(RegistryView::k32Bit, kKey, u"mid")->data, std::string("o\0l\0d\0", 6));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(folder.Path() + "/view32/k.SOFTWARE/k.VEXLO")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "an aside file was left behind";
}

TEST_F(RegistryTest, StoreWithoutWriteRightsFailsWritesButStillReads) {
    ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, kKey));
    ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"code", RegistryValue::String(u"7001")));
    const std::string keys[] = {folder.Path() + "/view32/k.SOFTWARE", folder.Path() + "/view32/k.SOFTWARE/k.VEXLO"};
    for (const std::string& key : keys) ::chmod(key.c_str(), 0555);
    const bool childOk = RunInChild(true, [&] {
        return !registry.CreateKey(RegistryView::k32Bit, kKey) &&
               !registry.SetValue(RegistryView::k32Bit, kKey, u"code", RegistryValue::String(u"1")) &&
               !registry.CreateKey(RegistryView::k32Bit, u"SOFTWARE\\Other") &&
               registry.QueryValue(RegistryView::k32Bit, kKey, u"code").has_value();
    });
    for (const std::string& key : keys) ::chmod(key.c_str(), 0755);
    EXPECT_TRUE(childOk);
    EXPECT_EQ(registry.QueryValue(RegistryView::k32Bit, kKey, u"code")->data, std::string("7\0" "0\0" "0\0" "1\0", 8));
}

TEST(MachineRegistryFolder, FollowsTheEnvironmentAtEveryAccess) {
    TempFolder a, b;
    MachineRegistry registry;
    {
        ScopedEnv env("VEXLO_MACHINE_REGISTRY", a.Path().c_str());
        ASSERT_TRUE(registry.CreateKey(RegistryView::k32Bit, kKey));
        ASSERT_TRUE(registry.SetValue(RegistryView::k32Bit, kKey, u"mid", RegistryValue::String(u"a")));
    }
    {
        ScopedEnv env("VEXLO_MACHINE_REGISTRY", b.Path().c_str());
        EXPECT_FALSE(registry.QueryValue(RegistryView::k32Bit, kKey, u"mid"));
    }
    {
        ScopedEnv env("VEXLO_MACHINE_REGISTRY", a.Path().c_str());
        EXPECT_TRUE(registry.QueryValue(RegistryView::k32Bit, kKey, u"mid"));
    }
    ScopedEnv unset("VEXLO_MACHINE_REGISTRY", nullptr);
    EXPECT_EQ(MachineRegistryFolder(), VEXLO_DEFAULT_MACHINE_REGISTRY);
}

}  // namespace
}  // namespace vexlo::platform
