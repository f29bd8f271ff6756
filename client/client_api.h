#pragma once
// The updater's client of its vendor's web service: one process-wide instance with no
// state; every operation makes one HTTP exchange of its own. Results are 0, a code of
// client/result_codes.h, or (downloads) the small codes of client/http_request.h.
#include <cstdint>
#include <map>
#include <string>

#include "client/http_request.h"
#include "client/report_records.h"
#include "client/result_codes.h"
#include "client/update_query.h"
#include "platform/base/text.h"

namespace vexlo::client {

using platform::WString;
using platform::WStringView;

class ClientAPI {
public:
    // The single instance, created on first use (double-checked under the client lock,
    // with the transfer library's global initialisation); never destroyed.
    static ClientAPI& GetInstance();

    // The operations, in the slot order of the interface.

    // POST with an empty body; reply {"ret":0,"value":[{"domain":..,"id":..},..]} fills
    // domains[domain] = id. A nonzero "ret" is returned as it stands.
    virtual int GetDomainList(const std::string& url, std::map<WString, WString>& domains);
    // POST of the compact JSON object {"content","contract"}; the reply is not read.
    virtual int PostFeedback(const std::string& url, WStringView content, WStringView contract);
    // POST of the file's bytes with six more header lines; returns the reply's "ret".
    virtual int UploadFeedbackFile(const std::string& url, const FeedbackRecord& record);
    // The update check: url ends in "?"; the identity and installation values go in the
    // query, the four reply members into the query's output fields.
    virtual int CheckUpdate(const std::string& url, UpdateQuery& query);
    // Records a downloaded installer in the pending-update file. Returns 0.
    virtual int SaveUpdateInfo(WStringView path, WStringView version);
    // Starts the given installer, or else a pending one newer than the installed version,
    // and then ends the process with exit code 0. Returns 1 when nothing was started.
    virtual int RunPendingUpdate(WStringView path = {});
    // Streams the installer to path, reporting progress. 0, or -1 for any failure.
    virtual int DownloadWithProgress(WStringView url, WStringView path, ProgressCallback callback,
                                     void* data);
    // Fetches the installer whole, then writes it to path. 0, -1 no handle, a positive
    // transfer code, -2 the file cannot be written, -3 status unreadable or not 200.
    virtual int Download(WStringView url, WStringView path);
    virtual int ReportInstall(const std::string& urlBase, const InstallReport& record);
    virtual int PostReport(const std::string& urlBase, const TextReport& record);
    virtual int PostEncodedReport(const std::string& urlBase, const EncodedReport& record);
    virtual int SendPing(const std::string& urlBase, const ReportRecord& record);
    virtual int ReportErrors(const std::string& urlBase, const ReportRecord& record,
                             WStringView errorList);
    // The same operation in its second slot.
    virtual int SendPing2(const std::string& urlBase, const ReportRecord& record);
    // 0 or CLIENT_ERR_REQUEST; on 0 the output holds the whole reply body.
    virtual int Post(const std::string& url, const std::string& body, std::string& output);
    virtual int Get(const std::string& url, std::string& output);

    virtual ~ClientAPI() = default;

protected:
    ClientAPI() = default;
    ClientAPI(const ClientAPI&) = delete;
    ClientAPI& operator=(const ClientAPI&) = delete;
};

// How many times GetInstance initialised the transfer library (once per process).
int TransferLibraryInitCount();

}  // namespace vexlo::client
