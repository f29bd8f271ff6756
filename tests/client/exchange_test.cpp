// The HTTP exchange itself: what goes over the wire, which replies count, and the bounds
// every transfer runs under.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "client/transfer_limits.h"
#include "tests/client/service_fixture.h"

namespace vexlo::client {
namespace {

using service::ReplyPlan;

const std::vector<std::string> kFixedHeaderLines = {
    "User-Agent: Vexlo PC Client/1.0",
    "Accept: text/html, application/xml;q=0.9, application/xhtml+xml, */*",
    "Accept-Charset: GB2312,utf-8;q=0.7,*;q=0.7",
    "Accept-Language: zh-cn,zh;q=0.5",
    "Content-Type: application/x-www-form-urlencoded;charset=UTF-8",
    "Connection: Keep-Alive",
};

// The header lines without Host and Content-Length, which the transfer library adds.
std::vector<std::string> OwnHeaderLines(const service::RecordedRequest& request) {
    std::vector<std::string> lines;
    for (const std::string& line : request.headerLines) {
        if (line.rfind("Host:", 0) == 0 || line.rfind("Content-Length:", 0) == 0) continue;
        lines.push_back(line);
    }
    return lines;
}

using Exchange = testing::ServiceTest;

TEST_F(Exchange, PostSendsTheFixedHeaderLinesInOrderAndTheBodyAsGiven) {
    service.SetRoute("/post", ReplyPlan::Text(200, "reply body"));
    std::string output;
    ASSERT_EQ(client.Post(Url("/post?b=2&a=1"), "x=1&y=\xD6\xD0", output), 0);
    EXPECT_EQ(output, "reply body");

    const auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& request = requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/post?b=2&a=1");
    EXPECT_EQ(request.version, "HTTP/1.1");
    EXPECT_EQ(request.headerLines.front(), "Host: 127.0.0.1:" + std::to_string(service.Port()));
    EXPECT_EQ(OwnHeaderLines(request), kFixedHeaderLines);
    EXPECT_EQ(request.Header("Content-Length"), "8");
    EXPECT_EQ(request.body, "x=1&y=\xD6\xD0");
}

TEST_F(Exchange, GetSendsTheSameLinesWithoutABody) {
    service.SetRoute("/get", ReplyPlan::Text(200, "ok"));
    std::string output;
    ASSERT_EQ(client.Get(Url("/get?q"), output), 0);
    EXPECT_EQ(output, "ok");
    const auto request = service.Requests().at(0);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(OwnHeaderLines(request), kFixedHeaderLines);
    EXPECT_FALSE(request.HasHeader("Content-Length"));
    EXPECT_EQ(request.body, "");
}

TEST_F(Exchange, OnlyAComplete200ReplyCounts) {
    struct Case {
        const char* name;
        ReplyPlan reply;
        int expected;
        const char* output;
    };
    ReplyPlan cut = ReplyPlan::Generated(10000);
    cut.cutAfter = 100;
    ReplyPlan closeDelimited = ReplyPlan::Text(200, "until close");
    closeDelimited.framing = service::Framing::Close;
    ReplyPlan chunked = ReplyPlan::Text(200, "in uneven chunks");
    chunked.framing = service::Framing::Chunked;
    chunked.chunkSizes = {1, 5, 2};
    ReplyPlan redirect = ReplyPlan::Text(302, "moved");
    redirect.headers = {{"Location", "/elsewhere"}};
    ReplyPlan garbage;
    garbage.raw = "HTTP/1.1 abc\r\n\r\nnonsense";
    ReplyPlan noHead;
    noHead.raw = "";
    const Case cases[] = {
        {"empty 200", ReplyPlan::Text(200, ""), 0, ""},
        {"close-delimited", closeDelimited, 0, "until close"},
        {"chunked", chunked, 0, "in uneven chunks"},
        {"redirect", redirect, CLIENT_ERR_REQUEST, "untouched"},
        {"not found", ReplyPlan::Text(404, "<html>404</html>"), CLIENT_ERR_REQUEST, "untouched"},
        {"server error", ReplyPlan::Text(500, "oops"), CLIENT_ERR_REQUEST, "untouched"},
        {"cut short", cut, CLIENT_ERR_REQUEST, "untouched"},
        {"garbage status line", garbage, CLIENT_ERR_REQUEST, "untouched"},
        {"closed without reply", noHead, CLIENT_ERR_REQUEST, "untouched"},
    };
    service.SetRoute("/elsewhere", ReplyPlan::Text(200, "followed"));
    for (const Case& c : cases) {
        service.SetRoute("/r", c.reply);
        std::string output = "untouched";
        EXPECT_EQ(client.Post(Url("/r"), "", output), c.expected) << c.name;
        EXPECT_EQ(output, c.output) << c.name;
        output = "untouched";
        EXPECT_EQ(client.Get(Url("/r"), output), c.expected) << c.name;
        EXPECT_EQ(output, c.output) << c.name;
    }
    for (const auto& request : service.Requests()) EXPECT_NE(request.target, "/elsewhere");
}

TEST_F(Exchange, RequestLevelResults) {
    HttpRequest noHandle{HttpRequest::NoHandle{}};
    noHandle.Prepare(Url("/x"));
    std::string output = "untouched";
    EXPECT_EQ(noHandle.PerformPost("", output), -1);
    EXPECT_EQ(noHandle.PerformGet(output), -1);
    EXPECT_EQ(output, "untouched");

    service.SetRoute("/404", ReplyPlan::Text(404, "no"));
    HttpRequest notFound;
    notFound.Prepare(Url("/404"));
    EXPECT_EQ(notFound.PerformGet(output), -1);

    HttpRequest badUrl;
    badUrl.Prepare("no scheme at all");
    EXPECT_EQ(badUrl.PerformGet(output), CURLE_URL_MALFORMAT);
    EXPECT_TRUE(service.Requests().size() == 1);
}

TEST_F(Exchange, OnlyWebAddressesAreFetched) {
    testing::WriteWholeFile(dir.File("secret"), "local file");
    std::string output;
    EXPECT_EQ(client.Get("file://" + dir.File("secret"), output), CLIENT_ERR_REQUEST);
    HttpRequest request;
    request.Prepare("file://" + dir.File("secret"));
    EXPECT_EQ(request.PerformGet(output), CURLE_UNSUPPORTED_PROTOCOL);
}

TEST_F(Exchange, AddedHeaderLinesFollowTheFixedOnesAndCannotSplit) {
    service.SetRoute("/h", ReplyPlan::Text(200, "ok"));
    HttpRequest request;
    request.Prepare(Url("/h"));
    request.AddHeader("uid", "42");
    request.AddHeader("content", "line one\r\nX-Forged: yes\nmore");
    std::string output;
    ASSERT_EQ(request.PerformPost("", output), 0);
    auto expected = kFixedHeaderLines;
    expected.push_back("uid: 42");
    expected.push_back("content: line one  X-Forged: yes more");
    EXPECT_EQ(OwnHeaderLines(service.Requests().at(0)), expected);
}

TEST_F(Exchange, RepliesLargerThanTheCapFail) {
    TransferLimits limits;
    limits.replyCapBytes = 1000;
    ScopedTransferLimits scoped(limits);
    ReplyPlan chunked = ReplyPlan::Generated(5000);
    chunked.framing = service::Framing::Chunked;
    service.SetRoute("/announced", ReplyPlan::Generated(5000));
    service.SetRoute("/chunked", chunked);
    service.SetRoute("/fits", ReplyPlan::Generated(1000));
    std::string output = "untouched";
    EXPECT_EQ(client.Get(Url("/announced"), output), CLIENT_ERR_REQUEST);
    EXPECT_EQ(client.Post(Url("/chunked"), "", output), CLIENT_ERR_REQUEST);
    EXPECT_EQ(output, "untouched");
    EXPECT_EQ(client.Get(Url("/fits"), output), 0);
    EXPECT_EQ(output, testing::GeneratedBytes(1000));
}

TEST_F(Exchange, ATransferThatReceivesNothingIsAborted) {
    TransferLimits limits;
    limits.stallSeconds = 1;
    ScopedTransferLimits scoped(limits);
    ReplyPlan stall = ReplyPlan::Generated(100000);
    stall.stallAfter = 0;  // the head, then nothing until the client goes away
    service.SetRoute("/stall", stall);
    HttpRequest request;
    request.Prepare(Url("/stall"));
    std::string output;
    EXPECT_EQ(request.PerformGet(output), CURLE_OPERATION_TIMEDOUT);
}

TEST_F(Exchange, AConnectionThatIsNeverAcceptedIsAbandoned) {
    // A listening socket whose queue is full: further connection attempts get no answer.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::vector<int> fillers;
    for (int i = 0; i < 4; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(filler);
    }

    TransferLimits limits;
    limits.connectSeconds = 1;
    ScopedTransferLimits scoped(limits);
    HttpRequest request;
    request.Prepare("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/");
    std::string output;
    EXPECT_EQ(request.PerformGet(output), CURLE_OPERATION_TIMEDOUT);
    for (const int fd : fillers) ::close(fd);
    ::close(listener);
}

TEST(ClientInstance, OneInstanceAndOneLibraryInitialisationAcrossThreads) {
    std::vector<ClientAPI*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &ClientAPI::GetInstance(); });
    for (auto& thread : threads) thread.join();
    for (ClientAPI* instance : seen) EXPECT_EQ(instance, seen[0]);
    EXPECT_EQ(TransferLibraryInitCount(), 1);
}

}  // namespace
}  // namespace vexlo::client
