#pragma once
// One HTTP exchange over one transfer handle: prepared with the service's fixed header
// lines, performed once, then destroyed. Request-level results are 0, -1 (no handle, or a
// status other than 200) or a positive transfer-library error code; the two downloads
// return their own small negative codes.
#include <curl/curl.h>

#include <memory>
#include <string>
#include <string_view>

namespace vexlo::client {

// The transfer library's progress form: return 0 to go on, anything else aborts.
using ProgressCallback = int (*)(void* data, double dlTotal, double dlNow, double ulTotal,
                                 double ulNow);

// Download results.
inline constexpr int kDownloadOk = 0;
inline constexpr int kDownloadNoHandle = -1;       // FetchToFile
inline constexpr int kStreamFailed = -1;           // StreamToFile: any failure
inline constexpr int kDownloadCannotWrite = -2;    // FetchToFile
inline constexpr int kDownloadBadStatus = -3;      // FetchToFile

class HttpRequest {
public:
    HttpRequest();
    // A request for which the transfer library gave no handle (what a failed creation gives).
    struct NoHandle {};
    explicit HttpRequest(NoHandle);
    ~HttpRequest();

    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    bool HasHandle() const { return handle_ != nullptr; }

    // Sets the URL, registers the error buffer and builds the fixed header list (replacing
    // any list built before). Only the list is built when there is no handle.
    void Prepare(const std::string& url);
    // Appends "name: value" to the header list.
    void AddHeader(std::string_view name, std::string_view value);

    // POST of body (exactly its bytes, an empty body has size 0) with the header list;
    // on 0 the output holds the whole reply body.
    int PerformPost(const std::string& body, std::string& output);
    // GET with the header list; on 0 the output holds the whole reply body.
    int PerformGet(std::string& output);

    // Collects the body in memory and writes it to fsPath only after a status-200 transfer:
    // -1 no handle, a positive library code, -3 status unreadable or not 200, -2 the file
    // cannot be written (an empty fsPath stands for a name that cannot be opened). The file
    // is replaced as a whole: any failure leaves what was there before.
    int FetchToFile(const std::string& fsPath);
    // Streams the body into fsPath as it arrives, reporting progress: 0, or -1 for every
    // failure (the file cannot be opened, a write, the transfer, the status, the close).
    int StreamToFile(const std::string& fsPath, ProgressCallback callback, void* data);

private:
    struct CurlDeleter {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    struct ListDeleter {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    // Options every transfer runs under (time limits, allowed protocols).
    CURLcode ApplyTransferLimits();
    void AppendHeaderLine(const std::string& line);
    int PerformCollecting(std::string& output);

    std::unique_ptr<CURL, CurlDeleter> handle_;
    std::unique_ptr<char[]> errorBuffer_;
    std::unique_ptr<curl_slist, ListDeleter> headers_;
    std::string body_;
    std::string response_;
};

}  // namespace vexlo::client
