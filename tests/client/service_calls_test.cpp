// The calls the updater carries but does not make: domain list, feedback, usage reports.
#include "client/json_reply.h"
#include "client/usage_reports.h"
#include "platform/base/debug_output.h"
#include "tests/client/service_fixture.h"

namespace vexlo::client {
namespace {

using service::ReplyPlan;
using ServiceCalls = testing::ServiceTest;

ReplyPlan JsonReply(const std::string& body) { return ReplyPlan::Text(200, body, "application/json"); }

TEST_F(ServiceCalls, DomainList) {
    struct Case {
        const char* name;
        std::string body;
        int expected;
        std::map<platform::WString, platform::WString> domains;
    };
    const std::map<platform::WString, platform::WString> before{{u"old", u"0"}};
    const Case cases[] = {
        {"two entries", R"({"ret":0,"value":[{"domain":"a.example","id":"1"},{"domain":"b.example","id":"2"}]})",
         0, {{u"old", u"0"}, {u"a.example", u"1"}, {u"b.example", u"2"}}},
        {"same domain twice", R"({"ret":0,"value":[{"domain":"a","id":"1"},{"domain":"a","id":"2"}]})",
         0, {{u"old", u"0"}, {u"a", u"2"}}},
        {"service status", R"({"ret":5,"value":[{"domain":"a","id":"1"}]})", 5, before},
        {"entry without id", R"({"ret":0,"value":[{"domain":"a","id":"1"},{"domain":"b"}]})",
         CLIENT_ERR_JSON, {{u"old", u"0"}, {u"a", u"1"}}},
        {"numeric id", R"({"ret":0,"value":[{"domain":"a","id":1}]})", CLIENT_ERR_JSON, before},
        {"object list", R"({"ret":0,"value":{"x":{"domain":"a","id":"1"}}})", CLIENT_ERR_JSON, before},
        {"no list", R"({"ret":0})", 0, before},
        {"ret as text", R"({"ret":"0"})", CLIENT_ERR_JSON, before},
        {"not json", "<html>", CLIENT_ERR_JSON, before},
    };
    for (const Case& c : cases) {
        service.SetRoute("/domains", JsonReply(c.body));
        auto domains = before;
        EXPECT_EQ(client.GetDomainList(Url("/domains"), domains), c.expected) << c.name;
        EXPECT_EQ(domains, c.domains) << c.name;
    }
    service.SetRoute("/domains", ReplyPlan::Text(404, ""));
    auto domains = before;
    EXPECT_EQ(client.GetDomainList(Url("/domains"), domains), CLIENT_ERR_REQUEST);
    const auto request = service.Requests().at(0);
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.Header("Content-Length"), "0");
}

TEST_F(ServiceCalls, FeedbackGoesAsCompactJsonWithEscapedChinese) {
    service.SetRoute("/feedback", ReplyPlan::Text(200, "not read"));
    EXPECT_EQ(client.PostFeedback(Url("/feedback"), u"\u4E0D\u80FD\u66F4\u65B0 \"now\"", u"qq:1"), 0);
    const auto request = service.Requests().at(0);
    EXPECT_EQ(request.body, "{\"content\":\"\\u4E0D\\u80FD\\u66F4\\u65B0 \\\"now\\\"\",\"contract\":\"qq:1\"}\n");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded;charset=UTF-8");
    service.SetRoute("/feedback", ReplyPlan::Text(500, ""));
    EXPECT_EQ(client.PostFeedback(Url("/feedback"), u"x", u"y"), CLIENT_ERR_REQUEST);
}

TEST_F(ServiceCalls, FeedbackFileUpload) {
    testing::WriteWholeFile(dir.File("log.txt"), std::string("log\0bytes", 9));
    FeedbackRecord record;
    record.uid = u"u1";
    record.content = u"\u95EE\u9898\nsecond line";
    record.contract = u"c";
    record.clientVersion = u"2.1.12.15";
    record.osVersion = u"6.1";
    record.ieVersion = u"11";
    record.filePath = Wide(dir.File("log.txt"));

    service.SetRoute("/upload", JsonReply(R"({"ret":7})"));
    EXPECT_EQ(client.UploadFeedbackFile(Url("/upload"), record), 7);
    const auto request = service.Requests().at(0);
    EXPECT_EQ(request.body, std::string("log\0bytes", 9));
    std::vector<std::string> extra(request.headerLines.end() - 6, request.headerLines.end());
    if (request.headerLines.back().rfind("Content-Length", 0) == 0)
        extra.assign(request.headerLines.end() - 7, request.headerLines.end() - 1);
    EXPECT_EQ(extra, (std::vector<std::string>{"uid: u1", "content: \xCE\xCA\xCC\xE2 second line",
                                               "contract: c", "client-version: 2.1.12.15",
                                               "os-version: 6.1", "ie-version: 11"}));

    struct Case {
        std::string body;
        int expected;
        const char* message;
    };
    const Case cases[] = {
        {"{\"ret\":0}", 0, nullptr},
        {"<html>", CLIENT_ERR_JSON, "ClientAPI_Error_Json 1"},
        {"[1]", CLIENT_ERR_JSON, "ClientAPI_Error_Json 2"},
        {"{\"other\":1}", CLIENT_ERR_JSON, "ClientAPI_Error_Json 3"},
        {"null", CLIENT_ERR_JSON, "ClientAPI_Error_Json 3"},
        {"{\"ret\":\"x\"}", CLIENT_ERR_JSON, nullptr},
    };
    for (const Case& c : cases) {
        service.SetRoute("/upload", JsonReply(c.body));
        platform::DebugOutputCapture capture;
        EXPECT_EQ(client.UploadFeedbackFile(Url("/upload"), record), c.expected) << c.body;
        std::vector<std::u16string> expected;
        if (c.message != nullptr) expected.push_back(platform::AsciiToWide(c.message));
        EXPECT_EQ(capture.Messages(), expected) << c.body;
    }
    // An unreadable file still sends the request, with an empty body.
    service.ClearRequests();
    record.filePath = Wide(dir.File("missing.txt"));
    service.SetRoute("/upload", JsonReply(R"({"ret":0})"));
    EXPECT_EQ(client.UploadFeedbackFile(Url("/upload"), record), 0);
    EXPECT_EQ(service.Requests().at(0).body, "");
}

TEST_F(ServiceCalls, InstallReportPairsDependOnTheKindOfEvent) {
    struct Case {
        int32_t install;
        const char* tail;  // the query after "install=N"
    };
    const Case cases[] = {
        {0, "&mcn=3&mid=M&osbit=64&osver=6.1&pmid=P&stu=9&ver=2.1.12.15"},
        {1, "&mcn=3&mid=M&osbit=64&osver=6.1&pmid=P&stu=9&ver=2.1.12.15"},
        {2, "&iever=8&install=2&mcn=3"},
        {3, "&pmid=P&pver=E&ver=2.1.12.15"},
        {5, "&pmid=P&pver=E&ver=2.1.12.15"},
        {8, "&ext=E&iever=8&install=8&mcn=3&mid=M&osbit=64&osver=6.1&pmid=P&stu=9&ver"},
        {4, "&iever=8&install=4&mcn=3&mid=M&osbit=64&osver=6.1&pmid=P&ver=2.1.12.15"},
        {-1, "&iever=8&install=-1&mcn=3&mid=M&osbit=64&osver=6.1&pmid=P&ver=2.1.12.15"},
    };
    service.SetRoute("/report", ReplyPlan::Text(200, "ignored"));
    for (const Case& c : cases) {
        InstallReport record;
        record.mid = u"M";
        record.aut = u"A";
        record.cid = 6000;
        record.ver = u"2.1.12.15";
        record.stu = 9;
        record.mcn = 3;
        record.pmid = u"P";
        record.osver = u"6.1";
        record.osbit = u"64";
        record.iever = u"8";
        record.date = u"2024-01-02";
        record.install = c.install;
        record.extra = u"E";
        service.ClearRequests();
        EXPECT_EQ(client.ReportInstall(Url("/report?"), record), 0) << c.install;
        const auto request = service.Requests().at(0);
        EXPECT_EQ(request.method, "GET");
        EXPECT_NE(request.target.find(c.tail), std::string::npos) << c.install << ": " << request.target;
    }
    // Install 4 carries no pair after install beyond the common ones.
    EXPECT_EQ(service.Requests().at(0).target,
              "/report?aut=A&cid=6000&date=2024-01-02&dispix=&iever=8&install=-1&mcn=3&mid=M&osbit=64&"
              "osver=6.1&pmid=P&ver=2.1.12.15");
}

TEST_F(ServiceCalls, OtherReports) {
    service.SetRoute("/r", ReplyPlan::Text(200, "ignored"));
    ReportRecord common;
    common.mid = u"M";
    common.cid = -5;
    const std::string query = "/r?aut=&cid=-5&mcn=0&mid=M&pmid=&ver=";

    EXPECT_EQ(client.SendPing(Url("/r?"), common), 0);
    EXPECT_EQ(client.SendPing2(Url("/r?"), common), 0);
    EXPECT_EQ(client.ReportErrors(Url("/r?"), common, u"e1,e2"), 0);
    TextReport text;
    static_cast<ReportRecord&>(text) = common;
    text.body = u"\u4E2D body";
    EXPECT_EQ(client.PostReport(Url("/r?"), text), 0);
    EncodedReport encoded;
    static_cast<ReportRecord&>(encoded) = common;
    encoded.payload["k"] = "v";
    EXPECT_EQ(client.PostEncodedReport(Url("/r?"), encoded), 0);

    const auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].method + " " + requests[0].target, "GET " + query);
    EXPECT_EQ(requests[1].method + " " + requests[1].target, "GET " + query);
    EXPECT_EQ(requests[2].target, "/r?aut=&cid=-5&errlist=e1,e2&mcn=0&mid=M&pmid=&ver=");
    EXPECT_EQ(requests[3].method + " " + requests[3].target, "POST " + query);
    EXPECT_EQ(requests[3].body, "\xD6\xD0 body");
    EXPECT_EQ(requests[4].method, "POST");
    // The body is Base64 of three drawn characters, the Base64 styled text, three more.
    const std::string inner = Base64Encode(WriteStyledJson(encoded.payload));
    const std::string& body = requests[4].body;
    bool matches = false;
    for (std::time_t seed = std::time(nullptr) - 5; seed <= std::time(nullptr) && !matches; ++seed)
        matches = body == EncodeReportBody(WriteStyledJson(encoded.payload), seed);
    EXPECT_TRUE(matches) << body << " does not wrap " << inner;

    service.SetRoute("/r", ReplyPlan::Text(404, ""));
    EXPECT_EQ(client.SendPing(Url("/r?"), common), CLIENT_ERR_REQUEST);
}

}  // namespace
}  // namespace vexlo::client
