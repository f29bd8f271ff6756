#include "client/http_request.h"

#include <cstdio>

#include "client/atomic_file.h"
#include "client/reply_sink.h"
#include "client/transfer_limits.h"

namespace vexlo::client {
namespace {

// Receive buffer of the downloads: fewer, larger reads and writes for installers of
// hundreds of MiB (the library's default is 16 KiB).
constexpr long kDownloadBufferBytes = 512 * 1024;

constexpr const char* kFixedHeaderLines[] = {
    "User-Agent: Vexlo PC Client/1.0",
    "Accept: text/html, application/xml;q=0.9, application/xhtml+xml, */*",
    "Accept-Charset: GB2312,utf-8;q=0.7,*;q=0.7",
    "Accept-Language: zh-cn,zh;q=0.5",
    "Content-Type: application/x-www-form-urlencoded;charset=UTF-8",
    "Connection: Keep-Alive",
};

// Sets options in order and keeps the first error.
class OptionSetter {
public:
    explicit OptionSetter(CURL* handle) : handle_(handle) {}
    template <typename Value>
    OptionSetter& Set(CURLoption option, Value value) {
        if (result_ == CURLE_OK) result_ = curl_easy_setopt(handle_, option, value);
        return *this;
    }
    CURLcode Result() const { return result_; }

private:
    CURL* handle_;
    CURLcode result_ = CURLE_OK;
};

// A file opened for streaming whose close is checked.
class StreamedFile {
public:
    explicit StreamedFile(const std::string& fsPath)
        : file_(fsPath.empty() ? nullptr : std::fopen(fsPath.c_str(), "wb")) {}
    ~StreamedFile() {
        if (file_ != nullptr) std::fclose(file_);
    }
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;

    std::FILE* Get() const { return file_; }
    bool Close() {
        std::FILE* file = file_;
        file_ = nullptr;
        return std::fclose(file) == 0;
    }

private:
    std::FILE* file_;
};

bool StatusIs200(CURL* handle, CURLcode* readError = nullptr) {
    long status = 0;
    const CURLcode code = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (readError != nullptr) *readError = code;
    return code == CURLE_OK && status == 200;
}

}  // namespace

HttpRequest::HttpRequest()
    : handle_(curl_easy_init()), errorBuffer_(new char[CURL_ERROR_SIZE]()) {}

HttpRequest::HttpRequest(NoHandle) : errorBuffer_(new char[CURL_ERROR_SIZE]()) {}

HttpRequest::~HttpRequest() {
    // The handle goes first: it refers to the error buffer and the header list.
    handle_.reset();
}

void HttpRequest::Prepare(const std::string& url) {
    if (handle_) {
        curl_easy_setopt(handle_.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle_.get(), CURLOPT_ERRORBUFFER, errorBuffer_.get());
    }
    headers_.reset();
    for (const char* line : kFixedHeaderLines) AppendHeaderLine(line);
}

void HttpRequest::AddHeader(std::string_view name, std::string_view value) {
    std::string line(name);
    line += ": ";
    line += value;
    // Values come from user text (feedback): a line break would end the header line and
    // let the text forge further header lines or a body.
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    AppendHeaderLine(line);
}

void HttpRequest::AppendHeaderLine(const std::string& line) {
    curl_slist* head = curl_slist_append(headers_.get(), line.c_str());
    if (head == nullptr) return;  // out of memory: the list stays as it was
    // The library returns the same head for a list that already has lines.
    if (head != headers_.get()) headers_.reset(head);
}

CURLcode HttpRequest::ApplyTransferLimits() {
    const TransferLimits limits = CurrentTransferLimits();
    return OptionSetter(handle_.get())
        // Timeouts must not use signals: transfers run on several threads.
        .Set(CURLOPT_NOSIGNAL, 1L)
        .Set(CURLOPT_LOW_SPEED_LIMIT, 1L)
        .Set(CURLOPT_LOW_SPEED_TIME, limits.stallSeconds)
        .Set(CURLOPT_CONNECTTIMEOUT, limits.connectSeconds)
        // Addresses come from the service's replies: plain web transfers only, never a
        // local file or another protocol.
        .Set(CURLOPT_PROTOCOLS_STR, "http,https")
        .Result();
}

int HttpRequest::PerformCollecting(std::string& output) {
    CURL* handle = handle_.get();
    MemorySink sink;
    sink.text = &response_;
    sink.cap = CurrentTransferLimits().replyCapBytes;
    sink.handle = handle;

    OptionSetter options(handle);
    options.Set(CURLOPT_WRITEFUNCTION, &AppendToMemory).Set(CURLOPT_WRITEDATA, &sink);
    if (headers_) options.Set(CURLOPT_HTTPHEADER, headers_.get());
    if (options.Result() != CURLE_OK) return options.Result();
    if (const CURLcode code = ApplyTransferLimits(); code != CURLE_OK) return code;

    if (const CURLcode code = curl_easy_perform(handle); code != CURLE_OK) return code;
    CURLcode readError = CURLE_OK;
    if (!StatusIs200(handle, &readError)) return readError != CURLE_OK ? readError : -1;
    output = response_;
    return 0;
}

int HttpRequest::PerformPost(const std::string& body, std::string& output) {
    if (!handle_) return -1;
    response_.clear();
    body_ = body;
    OptionSetter options(handle_.get());
    options.Set(CURLOPT_POST, 1L)
        .Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()))
        .Set(CURLOPT_POSTFIELDS, body_.c_str());
    if (options.Result() != CURLE_OK) return options.Result();
    return PerformCollecting(output);
}

int HttpRequest::PerformGet(std::string& output) {
    if (!handle_) return -1;
    response_.clear();
    if (const CURLcode code = curl_easy_setopt(handle_.get(), CURLOPT_POST, 0L); code != CURLE_OK)
        return code;
    return PerformCollecting(output);
}

int HttpRequest::FetchToFile(const std::string& fsPath) {
    if (!handle_) return kDownloadNoHandle;
    CURL* handle = handle_.get();
    response_.clear();
    MemorySink sink;
    sink.text = &response_;
    sink.cap = CurrentTransferLimits().downloadCapBytes;
    sink.handle = handle;

    const CURLcode optionError = OptionSetter(handle)
                                     .Set(CURLOPT_FORBID_REUSE, 1L)
                                     .Set(CURLOPT_WRITEFUNCTION, &AppendToMemory)
                                     .Set(CURLOPT_WRITEDATA, &sink)
                                     .Set(CURLOPT_BUFFERSIZE, kDownloadBufferBytes)
                                     .Result();
    if (optionError != CURLE_OK) return optionError;
    if (const CURLcode code = ApplyTransferLimits(); code != CURLE_OK) return code;

    if (const CURLcode code = curl_easy_perform(handle); code != CURLE_OK) return code;
    if (!StatusIs200(handle)) return kDownloadBadStatus;
    if (!ReplaceFileAtomically(fsPath, response_)) return kDownloadCannotWrite;
    return kDownloadOk;
}

int HttpRequest::StreamToFile(const std::string& fsPath, ProgressCallback callback, void* data) {
    if (!handle_) return kStreamFailed;
    StreamedFile file(fsPath);
    if (file.Get() == nullptr) return kStreamFailed;

    CURL* handle = handle_.get();
    FileSink sink;
    sink.file = file.Get();
    ProgressTarget progress;
    progress.callback = callback;
    progress.data = data;
    const CURLcode optionError = OptionSetter(handle)
                                     .Set(CURLOPT_WRITEDATA, &sink)
                                     .Set(CURLOPT_WRITEFUNCTION, &AppendToFile)
                                     .Set(CURLOPT_NOPROGRESS, 0L)
                                     .Set(CURLOPT_XFERINFOFUNCTION, &ForwardProgress)
                                     .Set(CURLOPT_XFERINFODATA, &progress)
                                     .Set(CURLOPT_BUFFERSIZE, kDownloadBufferBytes)
                                     .Result();
    bool succeeded = optionError == CURLE_OK && ApplyTransferLimits() == CURLE_OK &&
                     curl_easy_perform(handle) == CURLE_OK && StatusIs200(handle) &&
                     !sink.failed;
    // The close flushes the last buffered bytes: a failure there loses part of the file.
    if (!file.Close()) succeeded = false;
    return succeeded ? kDownloadOk : kStreamFailed;
}

}  // namespace vexlo::client
