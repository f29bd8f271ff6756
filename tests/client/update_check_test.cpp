#include <climits>

#include "client/transfer_limits.h"
#include "env/identity_store.h"
#include "tests/client/service_fixture.h"

namespace vexlo::client {
namespace {

using service::ReplyPlan;
using UpdateCheck = testing::ServiceTest;

std::vector<std::pair<std::string, std::string>> QueryPairs(const std::string& target) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string query = target.substr(target.find('?') + 1);
    size_t start = 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        if (end == std::string::npos) end = query.size();
        const std::string pair = query.substr(start, end - start);
        const size_t equals = pair.find('=');
        pairs.emplace_back(pair.substr(0, equals), equals == std::string::npos ? "" : pair.substr(equals + 1));
        start = end + 1;
    }
    return pairs;
}

TEST_F(UpdateCheck, SendsTheIdentityInTheQueryOfAnEmptyPost) {
    UpdateQuery query;
    ASSERT_EQ(client.CheckUpdate(service.CheckUrl(), query), 0);
    const auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto& request = requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.Path(), "/api/check_update.php");
    EXPECT_EQ(request.Header("Content-Length"), "0");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded;charset=UTF-8");
    EXPECT_EQ(request.Header("User-Agent"), "Vexlo PC Client/1.0");
    EXPECT_EQ(request.body, "");

    const auto pairs = QueryPairs(request.target);
    std::vector<std::string> names;
    for (const auto& pair : pairs) names.push_back(pair.first);
    EXPECT_EQ(names, (std::vector<std::string>{"aut", "cid", "dispix", "iever", "mcn", "mid", "osbit",
                                               "osver", "pmid", "ver"}));
    std::map<std::string, std::string> values(pairs.begin(), pairs.end());
    EXPECT_EQ(values["cid"], "6000");
    EXPECT_EQ(values["ver"], "2.1.12.15");
    for (const char* empty : {"dispix", "iever", "osbit", "osver"}) EXPECT_EQ(values[empty], "") << empty;
    EXPECT_NE(values["mid"], "");
    // aut is the token written while reading mid.
    EXPECT_EQ(values["aut"], platform::WideToAnsi(env::IdentityStore::GetInstance().GetAut()));
    EXPECT_EQ(values["mcn"], std::to_string(env::IdentityStore::GetInstance().GetMcn()));
    EXPECT_NE(request.target.find("&dispix=&iever=&"), std::string::npos);
}

TEST_F(UpdateCheck, InputFieldsTravelAsTheyStand) {
    UpdateQuery query;
    query.osver = u"10.0";
    query.osbit = u"64";
    query.iever = u"a&x=1";
    ASSERT_EQ(client.CheckUpdate(service.CheckUrl(), query), 0);
    const std::string target = service.Requests().at(0).target;
    EXPECT_NE(target.find("&iever=a&x=1&mcn="), std::string::npos) << target;
    EXPECT_NE(target.find("&osbit=64&osver=10.0&"), std::string::npos) << target;
}

TEST_F(UpdateCheck, ReplyMembersAreCopiedInOrderUntilOneIsNotText) {
    struct Case {
        const char* name;
        std::string body;
        int expected;
        const char16_t* version;
        const char16_t* explanation;
        int32_t updateType;
        const char16_t* fileUrl;
    };
    const Case cases[] = {
        {"strings", R"({"version_number":"2.1.13.0","version_explain":"fixes","update_type":"2",
           "file_32":"http://h/setup.exe","other":[1]})",
         0, u"2.1.13.0", u"fixes", 2, u"http://h/setup.exe"},
        {"type as number", R"({"version_number":"2.1.13.0","version_explain":"fixes","update_type":2,
           "file_32":"http://h/setup.exe"})",
         CLIENT_ERR_JSON, u"2.1.13.0", u"fixes", -1, u"untouched"},
        {"empty object", "{}", 0, u"", u"", 0, u""},
        {"null", "null", 0, u"", u"", 0, u""},
        {"booleans", R"({"version_number":true,"update_type":false})", 0, u"true", u"", 0, u""},
        {"letters", R"({"update_type":"forced"})", 0, u"", u"", 0, u""},
        {"real text", R"({"update_type":"2.5"})", 0, u"", u"", 2, u""},
        {"blanks and sign", R"({"update_type":"  -3x"})", 0, u"", u"", -3, u""},
        {"beyond 32 bits", R"({"update_type":"4294967298"})", 0, u"", u"", INT32_MAX, u""},
        {"chinese escapes", R"({"version_explain":"\u4fee\u590d"})", 0, u"", u"\u4FEE\u590D", 0, u""},
        {"chinese bytes", "{\"version_explain\":\"\xD0\xDE\xB8\xB4\"}", 0, u"", u"\u4FEE\u590D", 0, u""},
        {"array", "[]", CLIENT_ERR_JSON, u"untouched", u"untouched", -1, u"untouched"},
        {"html", "<html>sorry</html>", CLIENT_ERR_JSON, u"untouched", u"untouched", -1, u"untouched"},
        {"empty body", "", CLIENT_ERR_JSON, u"untouched", u"untouched", -1, u"untouched"},
    };
    for (const Case& c : cases) {
        service.SetCheckReply(ReplyPlan::Text(200, c.body, "application/json"));
        UpdateQuery query;
        query.version = query.explanation = query.fileUrl = u"untouched";
        query.updateType = -1;
        EXPECT_EQ(client.CheckUpdate(service.CheckUrl(), query), c.expected) << c.name;
        EXPECT_EQ(query.version, c.version) << c.name;
        EXPECT_EQ(query.explanation, c.explanation) << c.name;
        EXPECT_EQ(query.updateType, c.updateType) << c.name;
        EXPECT_EQ(query.fileUrl, c.fileUrl) << c.name;
    }
}

TEST_F(UpdateCheck, TransportFailuresLeaveTheQueryUntouched) {
    ReplyPlan huge = ReplyPlan::Generated(8 << 20);  // beyond the reply cap
    ReplyPlan redirect = ReplyPlan::Text(302, "");
    redirect.headers = {{"Location", "/api/check_update.php?again"}};
    const ReplyPlan replies[] = {ReplyPlan::Text(404, "<html>404</html>"), ReplyPlan::Text(500, "{}"),
                                 redirect, huge};
    for (const ReplyPlan& reply : replies) {
        service.SetCheckReply(reply);
        UpdateQuery query;
        query.version = u"untouched";
        EXPECT_EQ(client.CheckUpdate(service.CheckUrl(), query), CLIENT_ERR_REQUEST) << reply.status;
        EXPECT_EQ(query.version, u"untouched");
    }
    service.Stop();
    UpdateQuery query;
    EXPECT_EQ(client.CheckUpdate(service.CheckUrl(), query), CLIENT_ERR_REQUEST);
}

}  // namespace
}  // namespace vexlo::client
