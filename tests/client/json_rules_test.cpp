#include <gtest/gtest.h>

#include "client/json_reply.h"
#include "client/result_codes.h"
#include "client/usage_reports.h"
#include "platform/base/text.h"

namespace vexlo::client {
namespace {

class JsonRules : public ::testing::Test {
protected:
    void SetUp() override { platform::SetAnsiCodePage(936); }
};

TEST_F(JsonRules, ReplyShapes) {
    struct Case {
        const char* body;
        int expected;
    };
    const Case cases[] = {
        {"{}", 0},
        {"null", 0},
        {"  {\"a\":1} // trailing comment", 0},
        {"/* lead */ {\"a\":\"x\"}", 0},
        {"", CLIENT_ERR_JSON},
        {"[]", CLIENT_ERR_JSON},
        {"5", CLIENT_ERR_JSON},
        {"\"text\"", CLIENT_ERR_JSON},
        {"true", CLIENT_ERR_JSON},
        {"<html>404</html>", CLIENT_ERR_JSON},
        {"{\"a\":", CLIENT_ERR_JSON},
    };
    for (const Case& c : cases) {
        Json::Value root;
        EXPECT_EQ(ParseReplyObject(c.body, root), c.expected) << c.body;
    }
}

TEST_F(JsonRules, DeepNestingFailsInsteadOfExhaustingTheStack) {
    const std::string deep = "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}";
    Json::Value root;
    EXPECT_EQ(ParseReplyObject(deep, root), CLIENT_ERR_JSON);
}

TEST_F(JsonRules, TextMembers) {
    Json::Value root;
    ASSERT_EQ(ParseReplyObject(R"({"s":"2.1","t":true,"f":false,"n":null,"i":2,"r":2.5,
                                   "a":[],"o":{}})",
                               root),
              0);
    struct Case {
        const char* name;
        int expected;
        const char16_t* text;
    };
    const Case cases[] = {
        {"s", 0, u"2.1"},         {"t", 0, u"true"},          {"f", 0, u"false"},
        {"n", 0, u""},            {"missing", 0, u""},        {"i", CLIENT_ERR_JSON, u"kept"},
        {"r", CLIENT_ERR_JSON, u"kept"}, {"a", CLIENT_ERR_JSON, u"kept"}, {"o", CLIENT_ERR_JSON, u"kept"},
    };
    for (const Case& c : cases) {
        platform::WString out = u"kept";
        EXPECT_EQ(ReadTextMember(root, c.name, out), c.expected) << c.name;
        EXPECT_EQ(out, c.text) << c.name;
    }
    // A null top level reads as an object without members.
    Json::Value null;
    platform::WString out = u"x";
    EXPECT_EQ(ReadTextMember(null, "s", out), 0);
    EXPECT_EQ(out, u"");
}

TEST_F(JsonRules, CjkEscapesBecomeCodePage936BytesOthersUtf8) {
    struct Case {
        const char* escaped;
        std::string bytes;
    };
    const Case cases[] = {
        {"\\u4e2d\\u6587", "\xD6\xD0\xCE\xC4"},      // inside U+2E80..U+A4CF
        {"\\u4E2D", "\xD6\xD0"},                      // uppercase digits too
        {"\\uFF01", "\xA3\xA1"},                      // U+FF00..U+FFEF: fullwidth !
        {"\\uFE30", "\xA9\x55"},                      // U+FE30..U+FE4F
        {"\\uF92C", "\xFD\x9C"},                      // U+F900..U+FAFF: a compatibility ideograph
        {"\\u00e9", "\xC3\xA9"},                      // outside the ranges: UTF-8
        {"\\u2E7F", "\xE2\xB9\xBF"},                  // just below the first range
        {"\\ud83d\\ude00", "\xF0\x9F\x98\x80"},       // a surrogate pair
        {"\\uA4C6", ""},                              // in range, lacking in 936: no bytes
        {"\xD6\xD0", "\xD6\xD0"},                     // unescaped bytes pass unchanged
        {"\\\\u4e2d", "\\u4e2d"},                     // an escaped backslash, no escape
        {"a\\\"\\u4e2d\\\"b", "a\"\xD6\xD0\"b"},
    };
    for (const Case& c : cases) {
        Json::Value root;
        ASSERT_EQ(ParseReplyObject(std::string("{\"v\":\"") + c.escaped + "\"}", root), 0) << c.escaped;
        std::string bytes = "unset";
        EXPECT_EQ(ReadTextMemberBytes(root, "v", bytes), 0);
        EXPECT_EQ(bytes, c.bytes) << c.escaped;
    }
}

TEST_F(JsonRules, A936TrailByteThatIsABackslashStaysInsideTheText) {
    // U+4E57 is 81 5C in code page 936: the second byte is a backslash.
    Json::Value root;
    ASSERT_EQ(ParseReplyObject(R"({"v":"\u4e57x","w":"y"})", root), 0);
    std::string bytes;
    ASSERT_EQ(ReadTextMemberBytes(root, "v", bytes), 0);
    EXPECT_EQ(bytes, "\x81\x5Cx");
    platform::WString wide;
    ASSERT_EQ(ReadTextMember(root, "v", wide), 0);
    EXPECT_EQ(wide, u"\u4E57x");
    ASSERT_EQ(ReadTextMember(root, "w", wide), 0);
    EXPECT_EQ(wide, u"y");
}

TEST_F(JsonRules, EscapesInCommentsAndQuotesInCommentsDoNotConfuseTheReading) {
    Json::Value root;
    ASSERT_EQ(ParseReplyObject("/* \" \\u4e2d */ {\"v\": // \"\n \"\\u4e2d\"}", root), 0);
    platform::WString wide;
    ASSERT_EQ(ReadTextMember(root, "v", wide), 0);
    EXPECT_EQ(wide, u"\u4E2D");
}

TEST_F(JsonRules, TextMembersAreReadInTheAnsiCodePage) {
    Json::Value root;
    ASSERT_EQ(ParseReplyObject("{\"raw\":\"\xD6\xD0\",\"utf8\":\"\\u00e9\"}", root), 0);
    platform::WString wide;
    ASSERT_EQ(ReadTextMember(root, "raw", wide), 0);
    EXPECT_EQ(wide, u"\u4E2D");
    // UTF-8 bytes read as 936 text, as on the original target: not the character é.
    ASSERT_EQ(ReadTextMember(root, "utf8", wide), 0);
    EXPECT_NE(wide, u"\u00E9");
}

TEST_F(JsonRules, IntegerMembers) {
    Json::Value root;
    ASSERT_EQ(ParseReplyObject(R"({"null":null,"t":true,"i":-7,"r":2.9,"neg":-2.9,
        "max":2147483647,"over":2147483648,"under":-2147483649,"big":1e10,
        "s":"5","a":[],"o":{}})",
                               root),
              0);
    struct Case {
        const char* name;
        int expected;
        int32_t value;
    };
    const Case cases[] = {
        {"null", 0, 0},   {"t", 0, 1},   {"i", 0, -7},   {"r", 0, 2},  {"neg", 0, -2},
        {"max", 0, 2147483647},          {"over", CLIENT_ERR_JSON, 99}, {"under", CLIENT_ERR_JSON, 99},
        {"big", CLIENT_ERR_JSON, 99},    {"s", CLIENT_ERR_JSON, 99},    {"a", CLIENT_ERR_JSON, 99},
        {"o", CLIENT_ERR_JSON, 99},
    };
    for (const Case& c : cases) {
        int32_t out = 99;
        EXPECT_EQ(ReadIntMember(root, c.name, out), c.expected) << c.name;
        EXPECT_EQ(out, c.value) << c.name;
    }
}

TEST_F(JsonRules, QuotingOfWrittenStrings) {
    struct Case {
        std::string narrow;
        std::string quoted;
    };
    const Case cases[] = {
        {"plain / text", "\"plain / text\""},
        {"q\"b\\", "\"q\\\"b\\\\\""},
        {"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001F\x7f\""},
        {"\xD6\xD0\xCE\xC4", "\"\\u4E2D\\u6587\""},  // 中文 in code page 936
        {"\xA3\xA1", "\"\\uFF01\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QuoteJsonText(c.narrow), c.quoted);
        Json::Value object(Json::objectValue);
        object["k"] = c.narrow;
        EXPECT_EQ(WriteCompactJson(object), "{\"k\":" + c.quoted + "}\n") << c.quoted;
    }
}

TEST_F(JsonRules, WritersKeepTheLibraryLayout) {
    Json::Value object(Json::objectValue);
    object["contract"] = "\xD6\xD0";
    object["content"] = "a\\u00e9";  // a backslash followed by u: not an escape to change
    EXPECT_EQ(WriteCompactJson(object), "{\"content\":\"a\\\\u00e9\",\"contract\":\"\\u4E2D\"}\n");

    Json::Value payload(Json::objectValue);
    payload["list"].append(1);
    payload["list"].append("\xD6\xD0");
    payload["name"] = "x";
    EXPECT_EQ(WriteStyledJson(payload),
              "{\n   \"list\" : [ 1, \"\\u4E2D\" ],\n   \"name\" : \"x\"\n}\n");
}

TEST(EncodedReportBody, WrapsTheBase64TextInSixDrawnCharacters) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");

    const std::string text = "{\n   \"a\" : 1\n}\n";
    const std::string first = Base64Encode(text);
    const std::string body = EncodeReportBody(text, 1700000000);
    EXPECT_EQ(body, EncodeReportBody(text, 1700000000));  // the same second draws the same
    // Decode the outer layer by re-encoding candidates: the inner text is drawn + first + drawn.
    std::srand(1700000000);
    std::string drawn;
    for (int i = 0; i < 6; ++i) drawn += first[static_cast<size_t>(std::rand()) % first.size()];
    EXPECT_EQ(body, Base64Encode(drawn.substr(0, 3) + first + drawn.substr(3)));
    // Nothing to draw from: no characters, and no division by zero.
    EXPECT_EQ(EncodeReportBody("", 1), "");
}

}  // namespace
}  // namespace vexlo::client
