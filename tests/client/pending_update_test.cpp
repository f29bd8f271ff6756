#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "client/client_api.h"
#include "client/ini_file.h"
#include "client/pending_update.h"
#include "env/install_config.h"
#include "platform/base/debug_output.h"
#include "tests/client/test_support.h"

namespace vexlo::client {
namespace {

using testing::FileExists;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

class PendingUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        pendingFile = PendingUpdateFsPath();
        ::unlink(pendingFile.c_str());
        installer = dir.File("setup.exe");
        WriteWholeFile(installer, "installer");
        PendingUpdateHooks hooks;
        hooks.launch = [this](platform::WStringView path) {
            launched.emplace_back(path);
            return launchSucceeds;
        };
        hooks.endProcess = [this](int code) { exitCodes.push_back(code); };
        SetPendingUpdateHooks(hooks);
    }
    void TearDown() override { ResetPendingUpdateHooks(); }

    void SavePending(const std::string& path, const char16_t* version) {
        client.SaveUpdateInfo(platform::Utf8ToWide(path), version);
    }

    ClientAPI& client = ClientAPI::GetInstance();
    testing::TempDir dir;
    std::string pendingFile;
    std::string installer;
    std::vector<platform::WString> launched;
    std::vector<int> exitCodes;
    bool launchSucceeds = true;
};

TEST_F(PendingUpdate, SaveWritesTheTwoKeysInTheTempFolderKeepingOtherContent) {
    EXPECT_EQ(platform::Utf8ToWide(pendingFile),
              platform::Utf8ToWide(testing::IsolatedEnvironment::DataHome()) + u"/Vexlo/Temp/_update");
    WriteWholeFile(pendingFile, "[other]\r\nkeep=1\r\n");
    EXPECT_EQ(client.SaveUpdateInfo(u"/x/setup.exe", u"2.1.13.0"), 0);
    EXPECT_EQ(ReadWholeFile(pendingFile),
              "[other]\r\nkeep=1\r\n[update]\r\npath=/x/setup.exe\r\nversion=2.1.13.0\r\n");
    EXPECT_EQ(client.SaveUpdateInfo(u"/y/setup.exe", u"2.1.14.0"), 0);
    EXPECT_EQ(ReadWholeFile(pendingFile),
              "[other]\r\nkeep=1\r\n[update]\r\npath=/y/setup.exe\r\nversion=2.1.14.0\r\n");
}

TEST_F(PendingUpdate, ANewerPendingInstallerStartsAndTheProcessEnds) {
    SavePending(installer, u"2.1.13.0");
    EXPECT_EQ(client.RunPendingUpdate(), 0);  // returns only because the hook lets it
    EXPECT_EQ(launched, std::vector<platform::WString>{platform::Utf8ToWide(installer)});
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_FALSE(FileExists(pendingFile));
}

TEST_F(PendingUpdate, NothingStartsUnlessTheVersionIsNewerAndTheInstallerExists) {
    struct Case {
        const char* name;
        std::string path;
        const char16_t* version;
    };
    const Case cases[] = {
        {"equal", installer, env::kInstalledVersion},
        {"older", installer, u"2.1.12.14"},
        {"no version", installer, u""},
        {"missing installer", dir.File("gone.exe"), u"9.0"},
        {"a folder", dir.Path(), u"9.0"},
    };
    for (const Case& c : cases) {
        SavePending(c.path, c.version);
        EXPECT_EQ(client.RunPendingUpdate(), 1) << c.name;
        EXPECT_FALSE(FileExists(pendingFile)) << c.name;
    }
    EXPECT_EQ(client.RunPendingUpdate(), 1);  // no pending file at all
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(exitCodes.empty());
}

TEST_F(PendingUpdate, AnExistingArgumentWinsButThePendingFileIsStillDeleted) {
    const std::string other = dir.File("other.exe");
    WriteWholeFile(other, "other");
    SavePending(installer, u"9.0");
    EXPECT_EQ(client.RunPendingUpdate(platform::Utf8ToWide(other)), 0);
    EXPECT_EQ(launched, std::vector<platform::WString>{platform::Utf8ToWide(other)});
    EXPECT_FALSE(FileExists(pendingFile));

    // An argument that names nothing falls back to the pending file.
    launched.clear();
    SavePending(installer, u"9.0");
    EXPECT_EQ(client.RunPendingUpdate(platform::Utf8ToWide(dir.File("nothing.exe"))), 0);
    EXPECT_EQ(launched, std::vector<platform::WString>{platform::Utf8ToWide(installer)});
}

TEST_F(PendingUpdate, AFailedStartIsReportedAndTheProcessGoesOn) {
    launchSucceeds = false;
    SavePending(installer, u"9.0");
    platform::DebugOutputCapture capture;
    EXPECT_EQ(client.RunPendingUpdate(), 1);
    EXPECT_EQ(capture.Messages(), std::vector<std::u16string>{u"启动更新进程失败"});
    EXPECT_TRUE(exitCodes.empty());
}

TEST_F(PendingUpdate, APathTooLongForTheProfileBufferIsNotCutToAnotherFile) {
    // A prefix of the long path exists; a cut value would start it.
    const std::string prefix = dir.File(std::string(20, 'p'));
    WriteWholeFile(prefix, "wrong program");
    SavePending(prefix + std::string(300, 'x'), u"9.0");
    EXPECT_EQ(client.RunPendingUpdate(), 1);
    EXPECT_TRUE(launched.empty());
}

TEST(PendingUpdateProcess, TheInstallerRunsAndTheCallerExitsWithCodeZero) {
    // Forked where it stands (one thread here): the child sees the files set up below.
    GTEST_FLAG_SET(death_test_style, "fast");
    testing::TempDir dir;
    const std::string fifo = dir.File("started");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string installer = dir.File("setup.sh");
    WriteWholeFile(installer, "#!/bin/sh\necho started > '" + fifo + "'\n");
    ::chmod(installer.c_str(), 0700);
    // Opened before the start, so the installer's write finds a reader.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const int keepOpen = ::open(fifo.c_str(), O_WRONLY);  // no end-of-file before the installer writes

    ClientAPI::GetInstance().SaveUpdateInfo(platform::Utf8ToWide(installer), u"9.9.9.9");
    EXPECT_EXIT(ClientAPI::GetInstance().RunPendingUpdate(), ::testing::ExitedWithCode(0), "");

    pollfd ready{reader, POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 30000), 1) << "the installer did not start";
    char text[16] = {};
    EXPECT_GT(::read(reader, text, sizeof text - 1), 0);
    EXPECT_STREQ(text, "started\n");
    ::close(keepOpen);
    ::close(reader);
}

}  // namespace
}  // namespace vexlo::client
