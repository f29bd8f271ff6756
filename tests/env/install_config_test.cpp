#include "env/install_config.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/sys/file_path.h"
#include "platform/sys/system_info.h"
#include "tests/sys/test_support.h"

namespace vexlo::env {
namespace {

using platform::WString;

TEST(XorWithKey, DoesNotRepeatTheKey) {
    EXPECT_EQ(XorWithKey("", "RV#(&%"), "");
    EXPECT_EQ(XorWithKey(std::string("\0\0\0", 3), "RV#(&%"), "RV#");
    EXPECT_EQ(XorWithKey(std::string(9, '\0'), "RV#(&%"), "RV#(&%RRR");
    EXPECT_EQ(XorWithKey("abc", ""), "abc");
    const std::string text = "[config]\ncode=6001";
    EXPECT_EQ(XorWithKey(XorWithKey(text, kVersionDatKey), kVersionDatKey), text);
}

class InstallConfigTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    RegistryKey key{kVexloKeyPath, platform::RegistryView::k32Bit,
                    platform::MachineRegistry(folder.Path() + "/registry")};
    WString versionDat = platform::FsPathToWide(folder / "version.dat");

    void WriteVersionDat(const std::string& text) {
        testing::WriteFile(folder / "version.dat", XorWithKey(text, kVersionDatKey));
    }
    std::optional<std::string> StoredCode() const {
        auto value = key.Store().QueryValue(key.View(), key.Path(), u"code");
        if (!value) return std::nullopt;
        return value->data;
    }
};

TEST_F(InstallConfigTest, RegistryCodeComesFirst) {
    key.Create();
    key.WriteString(u"code", u"7001");
    WriteVersionDat("[config]\ncode=6123");
    const InstallConfig config(key, versionDat);
    EXPECT_EQ(config.GetCode(), 7001);
    EXPECT_EQ(config.GetVersion(), u"2.1.12.15");
    EXPECT_EQ(key.ReadString(u"code"), u"7001");
}

TEST_F(InstallConfigTest, VersionDatSuppliesTheCodeAndIsCopiedToTheRegistry) {
    WriteVersionDat("[CONFIG]\r\nCode = 6123\r\n");
    EXPECT_EQ(InstallConfig(key, versionDat).GetCode(), 6123);
    EXPECT_EQ(key.ReadString(u"code"), u"6123");
    // From then on the registry value is what counts.
    WriteVersionDat("[config]\ncode=1");
    EXPECT_EQ(InstallConfig(key, versionDat).GetCode(), 6123);
}

TEST_F(InstallConfigTest, CodeReadings) {
    struct Case {
        const char* what;
        std::optional<std::string> versionDat;  // nullopt: no file
        int32_t code;
        std::string written;
    };
    const Case cases[] = {
        {"no version.dat", std::nullopt, 6000, ""},
        {"leading line break", "\n[config]\ncode=6001", 6000, ""},
        {"no digits", "[config]\ncode=abc", 0, "abc"},
        {"repeated entry", "[config]\ncode=6002\ncode=6003", 6002, "6002\n6003"},
        {"saturating", "[config]\ncode=99999999999", INT32_MAX, "99999999999"},
        {"no entry", "[other]\ncode=6004", 6000, ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(folder / "registry");
        std::filesystem::remove(folder / "version.dat");
        if (c.versionDat) WriteVersionDat(*c.versionDat);
        EXPECT_EQ(InstallConfig(key, versionDat).GetCode(), c.code) << c.what;
        EXPECT_EQ(key.ReadString(u"code"), platform::AsciiToWide(c.written)) << c.what;
        EXPECT_TRUE(StoredCode().has_value()) << c.what << ": the value is written even when empty";
        EXPECT_EQ(std::filesystem::exists(folder / "version.dat"), c.versionDat.has_value())
            << c.what << ": version.dat is only opened, never created";
    }
}

TEST_F(InstallConfigTest, AKeyThatCannotBeWrittenIsStillRead) {
    key.Create();
    key.WriteString(u"code", u"7001");
    const std::string keyFolder = folder.Path() + "/registry/view32/k.SOFTWARE/k.VEXLO";
    ::chmod(keyFolder.c_str(), 0555);
    const bool ok = testing::RunInChild(true, [&] {
        return InstallConfig(key, versionDat).GetCode() == 7001;
    });
    ::chmod(keyFolder.c_str(), 0755);
    EXPECT_TRUE(ok);
}

TEST(InstallConfigInstance, ReadsTheVersionDatBesideTheExecutable) {
    const WString path = InstallConfig::DefaultVersionDatPath();
    const std::string exe = platform::CurrentExecutablePath();
    EXPECT_EQ(platform::WideToFsPath(path),
              std::filesystem::path(exe).parent_path().string() + "/version.dat");

    testing::TempFolder registry;
    testing::ScopedEnv env("VEXLO_MACHINE_REGISTRY", registry.Path().c_str());
    InstallConfig& config = InstallConfig::GetInstance();
    EXPECT_EQ(&config, &InstallConfig::GetInstance());
    EXPECT_EQ(config.VersionDatPath(), path);
    EXPECT_EQ(config.GetVersion(), kInstalledVersion);
}

TEST(ReadScrambledFile, LeavesTheOutputAloneWhenTheFileCannotBeRead) {
    testing::TempFolder folder;
    std::string out = "unchanged";
    EXPECT_FALSE(ReadScrambledFile(platform::FsPathToWide(folder / "missing"), kVersionDatKey, out));
    EXPECT_FALSE(ReadScrambledFile(platform::FsPathToWide(folder.Path()), kVersionDatKey, out));
    testing::WriteFile(folder / "big", std::string(kMaxVersionDatBytes + 1, 'x'));
    EXPECT_FALSE(ReadScrambledFile(platform::FsPathToWide(folder / "big"), kVersionDatKey, out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(ReadFileBytes, ReadsWholeFilesOnly) {
    testing::TempFolder folder;
    const std::string bytes("a\0b\xff", 4);
    testing::WriteFile(folder / "f\xc3\xa4.bin", bytes);
    EXPECT_EQ(ReadFileBytes(u"" + platform::FsPathToWide(folder.Path()) + u"/f\u00e4.bin"), bytes);
    EXPECT_EQ(ReadFileBytes(platform::FsPathToWide(folder / "missing")), "");
    EXPECT_EQ(ReadFileBytes(platform::FsPathToWide(folder.Path())), "");
    EXPECT_EQ(ReadFileBytes(WString(u"/dev/null\0x", 11)), "");
}

class FoldersTest : public ::testing::Test {
protected:
    testing::TempFolder home;
};

TEST_F(FoldersTest, FollowTheDataHomeAndAreCreatedOnEveryCall) {
    const std::string data = home / "d\xc3\xa4ta";
    testing::ScopedEnv xdg("XDG_DATA_HOME", data.c_str());
    const WString expected = platform::FsPathToWide(data) + u"/Vexlo";
    EXPECT_EQ(GetDataFolder(), expected);
    EXPECT_FALSE(std::filesystem::exists(data));

    EXPECT_EQ(GetTempFolder(), expected + u"/Temp");
    EXPECT_TRUE(std::filesystem::is_directory(data + "/Vexlo/Temp"));
    EXPECT_EQ(GetTempFolder(), expected + u"/Temp");
    EXPECT_EQ(GetUpdateFolder(), expected + u"/Update");
    EXPECT_TRUE(std::filesystem::is_directory(data + "/Vexlo/Update"));
}

TEST_F(FoldersTest, WithoutADataHomeTheHomeFolderIsUsed) {
    const std::string user = home / "J\xc3\xb6rg";
    testing::ScopedEnv homeEnv("HOME", user.c_str());
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/path"}) {
        testing::ScopedEnv xdgEnv("XDG_DATA_HOME", xdg);
        EXPECT_EQ(GetDataFolder(), platform::FsPathToWide(user) + u"/.local/share/Vexlo");
    }
    testing::ScopedEnv xdgEnv("XDG_DATA_HOME", nullptr);
    GetUpdateFolder();
    EXPECT_TRUE(std::filesystem::is_directory(user + "/.local/share/Vexlo/Update"));
}

}  // namespace
}  // namespace vexlo::env
