// The updater as a user's machine runs it: a separate process against the local update
// service, with its own registry store and per-user folders.
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/app/updater_process.h"
#include "tools/update-service/update_service.h"

namespace vexlo::testing {
namespace {
namespace fs = std::filesystem;

Json::Value Offer(const std::string& version, const std::string& type, const std::string& file) {
    Json::Value offer;
    offer["version_number"] = version;
    offer["version_explain"] = "\xE4\xBF\xAE\xE5\xA4\x8D";  // raw bytes pass through untouched
    offer["update_type"] = type;
    offer["file_32"] = file;
    return offer;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UpdaterProcess : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service_.Start()); }
    void TearDown() override { service_.Stop(); }

    void Offering(const Json::Value& offer) { service_.SetCheckReply(service::ReplyPlan::Json(offer)); }
    std::vector<service::RecordedRequest> Requests() const { return service_.Requests(); }
    size_t FilesInUpdateFolder() const {
        if (!fs::exists(sandbox_.updateFolder())) return 0;
        return static_cast<size_t>(std::distance(fs::directory_iterator(sandbox_.updateFolder()), fs::directory_iterator()));
    }

    service::UpdateService service_;
    UpdaterSandbox sandbox_;
};

TEST_F(UpdaterProcess, NoNewerVersionEndsAtOnceAfterOneCheck) {
    Offering(Offer("2.1.12.15", "2", "{base}/files/setup.exe"));
    ProcessResult r = sandbox_.RunUpdater(service_.BaseUrl());
    ASSERT_TRUE(r.exited) << r.output;
    EXPECT_EQ(r.exitCode, 0);
    auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].Path(), "/api/check_update.php");
    EXPECT_TRUE(sandbox_.InstallerStarts().empty());
}

TEST_F(UpdaterProcess, CheckCarriesTheInstalledVersionAndIdentity) {
    Offering(Json::Value(Json::objectValue));
    ASSERT_TRUE(sandbox_.RunUpdater(service_.BaseUrl()).exited);
    auto requests = Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& target = requests[0].target;
    // The pairs follow in name order; the four system facts go out empty.
    EXPECT_EQ(target.rfind("/api/check_update.php?aut=", 0), 0u) << target;
    EXPECT_NE(target.find("&cid=6000&dispix=&iever=&mcn=1&mid="), std::string::npos) << target;
    EXPECT_NE(target.find("&osbit=&osver=&pmid=&ver=2.1.12.15"), std::string::npos) << target;
    EXPECT_EQ(requests[0].body, "");
}

TEST_F(UpdaterProcess, UnreachableServiceEndsQuietly) {
    // Nothing listens on port 1 of the loopback address.
    ProcessResult r = sandbox_.RunUpdater("http://127.0.0.1:1");
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "");
    EXPECT_TRUE(sandbox_.InstallerStarts().empty());
}

TEST_F(UpdaterProcess, ForcedUpdateDownloadsIntoTheUpdateFolderAndStartsSilently) {
    sandbox_.PublishSampleInstaller("setup_2.2.0.1.exe");
    service_.ServeFiles(sandbox_.filesDir().string());
    Offering(Offer("2.2.0.1", "2", "{base}/files/setup_2.2.0.1.exe"));

    ProcessResult r = sandbox_.RunUpdater(service_.BaseUrl());
    ASSERT_TRUE(r.exited) << r.output;
    EXPECT_EQ(r.exitCode, 0);

    const fs::path installed = sandbox_.updateFolder() / "setup_2.2.0.1.exe";
    ASSERT_TRUE(fs::exists(installed));
    EXPECT_EQ(ReadAll(installed), ReadAll(sandbox_.filesDir() / "setup_2.2.0.1.exe"));
    auto starts = sandbox_.InstallerStarts();
    ASSERT_EQ(starts.size(), 1u) << r.output;
    EXPECT_EQ(starts[0], "[" + installed.string() + "] [/s]");

    auto requests = Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].target, "/files/setup_2.2.0.1.exe");
}

TEST_F(UpdaterProcess, ForcedUpdateThatCannotBeFetchedStartsNothing) {
    const struct {
        const char* name;
        const char* fileUrl;
    } cases[] = {
        {"missing file", "{base}/files/absent.exe"},
        {"unreachable host", "http://127.0.0.1:1/setup.exe"},
        {"name Windows refuses", "{base}/get?f=1"},
        {"name that climbs out", "{base}/files/.."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Offering(Offer("9.0", "2", c.fileUrl));
        ProcessResult r = sandbox_.RunUpdater(service_.BaseUrl());
        ASSERT_TRUE(r.exited);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(sandbox_.InstallerStarts().empty());
        EXPECT_EQ(FilesInUpdateFolder(), 0u);
    }
}

TEST_F(UpdaterProcess, OnlyTheNumberTwoMakesAnUpdateForced) {
    sandbox_.PublishSampleInstaller("setup.exe");
    service_.ServeFiles(sandbox_.filesDir().string());
    // The ordinary road opens the popup, which downloads; the user then ends the updater
    // from the tray menu (right click on the icon, then the system close keys on the menu).
    const std::string script = sandbox_.WriteScript(
        "at 300 tray right\n"
        "at 400 keydown alt\n"
        "at 410 key f4\n"
        "at 420 keyup alt\n").string();
    for (const char* type : {"0", "1", "", "forced", "4294967298", "-2", " 3"}) {
        SCOPED_TRACE(type);
        service_.ClearRequests();
        Offering(Offer("3", type, "{base}/files/setup.exe"));
        ProcessResult r = sandbox_.RunUpdater(service_.BaseUrl(), std::chrono::seconds(30),
                                              {"VEXLO_HEADLESS_SCRIPT=" + script});
        ASSERT_TRUE(r.exited) << r.output;
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(sandbox_.InstallerStarts().empty());
        auto requests = Requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[1].target, "/files/setup.exe");
    }
    // Text that reads as 2 the way atoi reads it is forced: no window, started with "/s".
    Offering(Offer("3", " +2.5", "{base}/files/setup.exe"));
    ASSERT_TRUE(sandbox_.RunUpdater(service_.BaseUrl()).exited);
    ASSERT_EQ(sandbox_.InstallerStarts().size(), 1u);
    EXPECT_NE(sandbox_.InstallerStarts()[0].find("] [/s]"), std::string::npos);
}

TEST_F(UpdaterProcess, UnreadableReplyIsLikeNoUpdate) {
    sandbox_.PublishSampleInstaller("setup.exe");
    service_.ServeFiles(sandbox_.filesDir().string());
    Json::Value numberType = Offer("3", "2", "{base}/files/setup.exe");
    numberType["update_type"] = 2;  // a number, not text
    for (const service::ReplyPlan& reply :
         {service::ReplyPlan::Json(numberType), service::ReplyPlan::Text(200, "not json"),
          service::ReplyPlan::Text(500, "{\"version_number\":\"3\",\"update_type\":\"2\"}")}) {
        service_.ClearRequests();
        service_.SetCheckReply(reply);
        ProcessResult r = sandbox_.RunUpdater(service_.BaseUrl());
        ASSERT_TRUE(r.exited);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(Requests().size(), 1u);
    }
    EXPECT_TRUE(sandbox_.InstallerStarts().empty());
}

}  // namespace
}  // namespace vexlo::testing
