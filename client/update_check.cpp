#include "client/client_api.h"
#include "client/json_reply.h"
#include "client/request_form.h"
#include "env/identity_store.h"
#include "env/install_config.h"
#include "platform/base/numbers.h"

namespace vexlo::client {

int ClientAPI::CheckUpdate(const std::string& url, UpdateQuery& query) {
    HttpRequest request;
    RequestForm form(url);
    env::IdentityStore& identity = env::IdentityStore::GetInstance();
    env::InstallConfig& config = env::InstallConfig::GetInstance();
    // mid first: reading it refreshes aut.
    form.Add(u"mid", identity.GetMid());
    form.Add(u"aut", identity.GetAut());
    form.AddNumber(u"cid", config.GetCode());
    form.Add(u"ver", config.GetVersion());
    form.Add(u"pmid", identity.GetPmid());
    form.AddNumber(u"mcn", identity.GetMcn());
    form.Add(u"osver", query.osver);
    form.Add(u"osbit", query.osbit);
    form.Add(u"iever", query.iever);
    form.Add(u"dispix", query.dispix);

    request.Prepare(form.ToUrl());
    std::string reply;
    if (request.PerformPost(std::string(), reply) != 0) return CLIENT_ERR_REQUEST;

    Json::Value root;
    if (const int result = ParseReplyObject(reply, root); result != 0) return result;
    // Each member is stored before the next is read: a failure keeps the earlier ones.
    if (const int result = ReadTextMember(root, "version_number", query.version); result != 0)
        return result;
    if (const int result = ReadTextMember(root, "version_explain", query.explanation); result != 0)
        return result;
    WString updateType;
    if (const int result = ReadTextMember(root, "update_type", updateType); result != 0)
        return result;
    query.updateType = platform::Atoi32(updateType);
    if (const int result = ReadTextMember(root, "file_32", query.fileUrl); result != 0)
        return result;
    return 0;
}

}  // namespace vexlo::client
