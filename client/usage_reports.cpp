#include "client/usage_reports.h"

#include <openssl/evp.h>

#include <cstdlib>

#include "client/client_api.h"
#include "client/json_reply.h"
#include "client/request_form.h"

namespace vexlo::client {
namespace {

// The pairs every report starts with.
RequestForm ReportForm(const std::string& urlBase, const ReportRecord& record) {
    RequestForm form(urlBase);
    form.Add(u"mid", record.mid);
    form.Add(u"aut", record.aut);
    form.AddNumber(u"cid", record.cid);
    form.Add(u"ver", record.ver);
    form.Add(u"pmid", record.pmid);
    form.AddNumber(u"mcn", record.mcn);
    return form;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string encoded(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    // EVP_EncodeBlock takes an int length; report bodies are far below that.
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()),
                                       reinterpret_cast<const unsigned char*>(bytes.data()),
                                       static_cast<int>(bytes.size()));
    encoded.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return encoded;
}

std::string EncodeReportBody(std::string_view text, std::time_t seed) {
    const std::string first = Base64Encode(text);
    std::string drawn;
    // With nothing to draw from (an empty text) no characters are drawn.
    if (!first.empty()) {
        std::srand(static_cast<unsigned>(seed));
        for (int i = 0; i < 6; ++i) drawn += first[static_cast<size_t>(std::rand()) % first.size()];
    }
    const std::string second = drawn.substr(0, 3) + first + (drawn.size() > 3 ? drawn.substr(3) : "");
    return Base64Encode(second);
}

int ClientAPI::ReportInstall(const std::string& urlBase, const InstallReport& record) {
    RequestForm form = ReportForm(urlBase, record);
    form.Add(u"osver", record.osver);
    form.Add(u"osbit", record.osbit);
    form.Add(u"iever", record.iever);
    form.Add(u"dispix", record.dispix);
    form.Add(u"date", record.date);
    form.AddNumber(u"install", record.install);
    switch (record.install) {
    case 0:
    case 1:
        form.AddNumber(u"stu", record.stu);
        break;
    case 2:
        form.Add(u"idate", record.extra);
        break;
    case 3:
    case 5:
        form.Add(u"pver", record.extra);
        break;
    case 8:
        form.AddNumber(u"stu", record.stu);
        form.Add(u"ext", record.extra);
        break;
    default:
        break;
    }
    std::string reply;
    return Get(form.ToUrl(), reply);
}

int ClientAPI::PostReport(const std::string& urlBase, const TextReport& record) {
    std::string reply;
    return Post(ReportForm(urlBase, record).ToUrl(), platform::WideToAnsi(record.body), reply);
}

int ClientAPI::PostEncodedReport(const std::string& urlBase, const EncodedReport& record) {
    std::string body;
    try {
        body = EncodeReportBody(WriteStyledJson(record.payload), std::time(nullptr));
    } catch (...) {
        return CLIENT_ERR_REQUEST;
    }
    std::string reply;
    return Post(ReportForm(urlBase, record).ToUrl(), body, reply);
}

int ClientAPI::SendPing(const std::string& urlBase, const ReportRecord& record) {
    std::string reply;
    return Get(ReportForm(urlBase, record).ToUrl(), reply);
}

int ClientAPI::ReportErrors(const std::string& urlBase, const ReportRecord& record,
                            WStringView errorList) {
    RequestForm form = ReportForm(urlBase, record);
    form.Add(u"errlist", errorList);
    std::string reply;
    return Get(form.ToUrl(), reply);
}

}  // namespace vexlo::client
