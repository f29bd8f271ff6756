// The domain list and the two feedback uploads.
#include "client/client_api.h"
#include "client/json_reply.h"
#include "env/install_config.h"
#include "platform/base/debug_output.h"

namespace vexlo::client {
namespace {

// A member that is a string gives its text; anything else counts as empty.
WString StringMemberOrEmpty(const Json::Value& element, const char* name) {
    if (!element.isObject()) return {};
    const Json::Value* member = element.find(name, name + std::char_traits<char>::length(name));
    if (member == nullptr || !member->isString()) return {};
    WString text;
    return ReadTextMember(element, name, text) == 0 ? text : WString();
}

}  // namespace

int ClientAPI::GetDomainList(const std::string& url, std::map<WString, WString>& domains) {
    HttpRequest request;
    request.Prepare(url);
    std::string reply;
    if (request.PerformPost(std::string(), reply) != 0) return CLIENT_ERR_REQUEST;
    Json::Value root;
    if (ParseReplyObject(reply, root) != 0) return CLIENT_ERR_JSON;
    int32_t ret = 0;
    if (ReadIntMember(root, "ret", ret) != 0) return CLIENT_ERR_JSON;
    if (ret != 0) return ret;

    Json::Value value;
    if (root.isObject() && root.isMember("value")) value = root["value"];
    Json::ArrayIndex length = 0;
    if (value.isArray() || value.isObject()) length = value.size();
    for (Json::ArrayIndex i = 0; i < length; ++i) {
        // The members of an object list are not its elements: they read as null.
        const Json::Value element = value.isArray() ? value[i] : Json::Value();
        const WString domain = StringMemberOrEmpty(element, "domain");
        const WString id = StringMemberOrEmpty(element, "id");
        if (domain.empty() || id.empty()) return CLIENT_ERR_JSON;
        domains[domain] = id;
    }
    return 0;
}

int ClientAPI::PostFeedback(const std::string& url, WStringView content, WStringView contract) {
    Json::Value body(Json::objectValue);
    body["content"] = platform::WideToAnsi(content);
    body["contract"] = platform::WideToAnsi(contract);
    std::string text;
    try {
        text = WriteCompactJson(body);
    } catch (...) {
        return CLIENT_ERR_REQUEST;
    }
    HttpRequest request;
    request.Prepare(url);
    std::string reply;
    return request.PerformPost(text, reply) == 0 ? 0 : CLIENT_ERR_REQUEST;
}

int ClientAPI::UploadFeedbackFile(const std::string& url, const FeedbackRecord& record) {
    HttpRequest request;
    request.Prepare(url);
    request.AddHeader("uid", platform::WideToAnsi(record.uid));
    request.AddHeader("content", platform::WideToAnsi(record.content));
    request.AddHeader("contract", platform::WideToAnsi(record.contract));
    request.AddHeader("client-version", platform::WideToAnsi(record.clientVersion));
    request.AddHeader("os-version", platform::WideToAnsi(record.osVersion));
    request.AddHeader("ie-version", platform::WideToAnsi(record.ieVersion));
    // An unreadable file gives an empty body; the upload still goes out.
    const std::string bytes = env::ReadFileBytes(record.filePath);
    std::string reply;
    if (request.PerformPost(bytes, reply) != 0) return CLIENT_ERR_REQUEST;

    Json::Value root;
    if (!ParseJsonDocument(reply, root)) {
        platform::OutputDebugTextAnsi("ClientAPI_Error_Json 1");
        return CLIENT_ERR_JSON;
    }
    if (!root.isObject() && !root.isNull()) {
        platform::OutputDebugTextAnsi("ClientAPI_Error_Json 2");
        return CLIENT_ERR_JSON;
    }
    if (!root.isObject() || !root.isMember("ret") || root["ret"].isNull()) {
        platform::OutputDebugTextAnsi("ClientAPI_Error_Json 3");
        return CLIENT_ERR_JSON;
    }
    int32_t ret = 0;
    if (ReadIntValue(root["ret"], ret) != 0) return CLIENT_ERR_JSON;
    return ret;
}

}  // namespace vexlo::client
