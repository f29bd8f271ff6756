#include <signal.h>
#include <sys/resource.h>

#include "client/transfer_limits.h"
#include "tests/client/service_fixture.h"

namespace vexlo::client {
namespace {

using service::ReplyPlan;
using testing::FileExists;
using testing::ListFolder;
using testing::ReadWholeFile;
using testing::WriteWholeFile;

// Files may grow to `bytes` while it lives: a stand-in for a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    sighandler_t previousHandler_;
};

struct ProgressLog {
    std::vector<double> now;
    double lastTotal = 0;
    int abortAfterCalls = -1;
    static int Record(void* data, double dlTotal, double dlNow, double, double) {
        auto& log = *static_cast<ProgressLog*>(data);
        log.now.push_back(dlNow);
        log.lastTotal = dlTotal;
        return log.abortAfterCalls >= 0 && static_cast<int>(log.now.size()) > log.abortAfterCalls ? 1 : 0;
    }
};

class Downloads : public testing::ServiceTest {
protected:
    int Fetch(const std::string& route, const std::string& path) {
        return client.Download(WideUrl(route), Wide(path));
    }
    int Stream(const std::string& route, const std::string& path) {
        return client.DownloadWithProgress(WideUrl(route), Wide(path), &ProgressLog::Record, &progress);
    }
    ProgressLog progress;
};

TEST_F(Downloads, BothWriteTheWholeBodyWithoutHeaderLinesOfTheirOwn) {
    service.SetRoute("/setup.exe", ReplyPlan::Generated(3 << 20));
    const std::string target = dir.File("setup.exe");
    WriteWholeFile(target, "older installer");
    ASSERT_EQ(Fetch("/setup.exe", target), 0);
    EXPECT_EQ(ReadWholeFile(target), testing::GeneratedBytes(3 << 20));
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"setup.exe"});

    const std::string streamed = dir.File("streamed.exe");
    ASSERT_EQ(Stream("/setup.exe", streamed), 0);
    EXPECT_EQ(ReadWholeFile(streamed), testing::GeneratedBytes(3 << 20));
    ASSERT_FALSE(progress.now.empty());
    EXPECT_EQ(progress.now.back(), 3 << 20);
    EXPECT_EQ(progress.lastTotal, 3 << 20);
    EXPECT_TRUE(std::is_sorted(progress.now.begin(), progress.now.end()));

    for (const auto& request : service.Requests()) {
        EXPECT_EQ(request.method, "GET");
        EXPECT_FALSE(request.HasHeader("Accept-Language"));
        EXPECT_NE(request.Header("User-Agent"), "Vexlo PC Client/1.0");
    }
}

TEST_F(Downloads, UnevenChunksAndCloseDelimitedBodiesArriveWhole) {
    ReplyPlan chunked = ReplyPlan::Generated(100000);
    chunked.framing = service::Framing::Chunked;
    chunked.chunkSizes = {1, 4095, 17, 65536};
    ReplyPlan closeDelimited = ReplyPlan::Generated(100000);
    closeDelimited.framing = service::Framing::Close;
    closeDelimited.chunkSizes = {3, 9000};
    service.SetRoute("/chunked", chunked);
    service.SetRoute("/close", closeDelimited);
    for (const char* route : {"/chunked", "/close"}) {
        EXPECT_EQ(Fetch(route, dir.File("a")), 0) << route;
        EXPECT_EQ(ReadWholeFile(dir.File("a")), testing::GeneratedBytes(100000)) << route;
        EXPECT_EQ(Stream(route, dir.File("b")), 0) << route;
        EXPECT_EQ(ReadWholeFile(dir.File("b")), testing::GeneratedBytes(100000)) << route;
    }
}

TEST_F(Downloads, FailedTransfersNeverTouchTheFileOfTheInMemoryDownload) {
    ReplyPlan cut = ReplyPlan::Generated(100000);
    cut.cutAfter = 30000;
    ReplyPlan garbage;
    garbage.raw = "HTTP/1.1 abc\r\n\r\nnonsense";
    service.SetRoute("/404", ReplyPlan::Text(404, "<html>missing</html>"));
    service.SetRoute("/cut", cut);
    service.SetRoute("/garbage", garbage);
    struct Case {
        const char* route;
        int fetch;  // Download's result
    };
    const Case cases[] = {{"/404", -3}, {"/cut", CURLE_PARTIAL_FILE}, {"/garbage", CURLE_UNSUPPORTED_PROTOCOL}};
    for (const Case& c : cases) {
        const std::string target = dir.File("setup.exe");
        WriteWholeFile(target, "older installer");
        EXPECT_EQ(Fetch(c.route, target), c.fetch) << c.route;
        EXPECT_EQ(ReadWholeFile(target), "older installer") << c.route;
        EXPECT_EQ(Fetch(c.route, dir.File("absent.exe")), c.fetch) << c.route;
        EXPECT_FALSE(FileExists(dir.File("absent.exe"))) << c.route;
        EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"setup.exe"}) << c.route;
    }
    EXPECT_EQ(client.Download(u"file:///etc/hostname", Wide(dir.File("x"))), CURLE_UNSUPPORTED_PROTOCOL);
}

TEST_F(Downloads, FailedStreamsKeepWhatArrived) {
    ReplyPlan cut = ReplyPlan::Generated(100000);
    cut.cutAfter = 30000;
    service.SetRoute("/404", ReplyPlan::Text(404, "<html>missing</html>"));
    service.SetRoute("/cut", cut);
    EXPECT_EQ(Stream("/404", dir.File("a")), -1);
    EXPECT_EQ(ReadWholeFile(dir.File("a")), "<html>missing</html>");
    EXPECT_EQ(Stream("/cut", dir.File("b")), -1);
    EXPECT_EQ(ReadWholeFile(dir.File("b")), testing::GeneratedBytes(30000));
}

TEST_F(Downloads, AProgressCallbackCanStopTheStream) {
    ReplyPlan slow = ReplyPlan::Generated(1 << 20);
    slow.chunkSizes = {1000};
    service.SetRoute("/slow", slow);
    progress.abortAfterCalls = 2;
    EXPECT_EQ(Stream("/slow", dir.File("a")), -1);
    EXPECT_EQ(client.DownloadWithProgress(WideUrl("/slow"), Wide(dir.File("b")), nullptr, nullptr), 0);
}

TEST_F(Downloads, FileNamesThatCannotBeCreatedFail) {
    service.SetRoute("/setup.exe", ReplyPlan::Generated(1000));
    const char16_t* names[] = {u"get?f=1", u"..", u".", u"", u"a:b", u"a\"b", u"a|b", u"a*b",
                               u"a<b",     u"a>b", u"a\\b", u"tab\tname", u"\u0E01.exe"};
    for (const char16_t* name : names) {
        const platform::WString path = Wide(dir.Path()) + u"/" + name;
        EXPECT_EQ(client.Download(WideUrl("/setup.exe"), path), -2) << platform::WideToUtf8(name);
        EXPECT_EQ(client.DownloadWithProgress(WideUrl("/setup.exe"), path, nullptr, nullptr), -1)
            << platform::WideToUtf8(name);
    }
    EXPECT_TRUE(ListFolder(dir.Path()).empty());
    // The streamed download sends nothing when its file cannot be opened.
    EXPECT_EQ(service.Requests().size(), std::size(names));
}

TEST_F(Downloads, FoldersThatCannotHoldTheFileFail) {
    service.SetRoute("/setup.exe", ReplyPlan::Generated(1000));
    WriteWholeFile(dir.File("plain"), "a file, not a folder");
    for (const std::string& path : {dir.File("missing/setup.exe"), dir.File("plain/setup.exe")}) {
        service.ClearRequests();
        EXPECT_EQ(Fetch("/setup.exe", path), -2) << path;
        EXPECT_EQ(Stream("/setup.exe", path), -1) << path;
        EXPECT_EQ(service.Requests().size(), 1u) << path;
    }
}

TEST_F(Downloads, AFullDiskFailsAndKeepsTheOldInstaller) {
    service.SetRoute("/setup.exe", ReplyPlan::Generated(1 << 20));
    const std::string target = dir.File("setup.exe");
    WriteWholeFile(target, "older installer");
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(Fetch("/setup.exe", target), -2);
        EXPECT_EQ(Stream("/setup.exe", dir.File("streamed.exe")), -1);
    }
    EXPECT_EQ(ReadWholeFile(target), "older installer");
    auto names = ListFolder(dir.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"setup.exe", "streamed.exe"}));
}

TEST_F(Downloads, NonAsciiPathsInTheCodePageWork) {
    service.SetRoute("/setup.exe", ReplyPlan::Generated(5000));
    const std::string folder = dir.File("\xE7\x94\xA8\xE6\x88\xB7");  // 用户
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const std::string target = folder + "/\xE5\xAE\x89\xE8\xA3\x85.exe";  // 安装.exe
    EXPECT_EQ(Fetch("/setup.exe", target), 0);
    EXPECT_EQ(ReadWholeFile(target), testing::GeneratedBytes(5000));
    EXPECT_EQ(Stream("/setup.exe", target + "2"), 0);
    EXPECT_EQ(ReadWholeFile(target + "2"), testing::GeneratedBytes(5000));
}

TEST_F(Downloads, BoundsOnSizeAndSilence) {
    TransferLimits limits;
    limits.downloadCapBytes = 10000;
    limits.stallSeconds = 1;
    ScopedTransferLimits scoped(limits);
    ReplyPlan chunked = ReplyPlan::Generated(20000);
    chunked.framing = service::Framing::Chunked;
    ReplyPlan stall = ReplyPlan::Generated(100000);
    stall.stallAfter = 0;
    service.SetRoute("/big", ReplyPlan::Generated(20000));
    service.SetRoute("/chunked", chunked);
    service.SetRoute("/stall", stall);
    EXPECT_EQ(Fetch("/big", dir.File("a")), CURLE_WRITE_ERROR);
    EXPECT_EQ(Fetch("/chunked", dir.File("a")), CURLE_WRITE_ERROR);
    EXPECT_FALSE(FileExists(dir.File("a")));
    // Streaming to disk holds nothing in memory: the cap does not apply.
    EXPECT_EQ(Stream("/big", dir.File("b")), 0);
    EXPECT_EQ(Fetch("/stall", dir.File("c")), CURLE_OPERATION_TIMEDOUT);
    EXPECT_EQ(Stream("/stall", dir.File("c")), -1);
}

TEST(DownloadWithoutHandle, FailsBeforeTouchingTheFile) {
    testing::TempDir dir;
    HttpRequest request{HttpRequest::NoHandle{}};
    request.Prepare("http://127.0.0.1:1/");
    EXPECT_EQ(request.FetchToFile(dir.File("a")), -1);
    EXPECT_EQ(request.StreamToFile(dir.File("b"), nullptr, nullptr), -1);
    EXPECT_TRUE(ListFolder(dir.Path()).empty());
}

}  // namespace
}  // namespace vexlo::client
