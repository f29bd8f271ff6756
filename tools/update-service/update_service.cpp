#include "tools/update-service/update_service.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>

#include <httplib.h>

#include "tools/update-service/connection_stream.h"

namespace vexlo::service {
namespace {

constexpr int kKeepAliveMaxCount = 5;
constexpr int kKeepAliveTimeoutMs = 5000;
constexpr int kReadTimeoutMs = 5000;
constexpr int kWriteTimeoutMs = 5000;
constexpr size_t kDefaultWriteSize = 256 * 1024;

// The stream of the connection whose request the current thread is handling.
thread_local ConnectionStream* tCurrentStream = nullptr;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Splits the raw head ("request line CRLF header lines CRLF CRLF") into the record.
void ParseHead(std::string_view raw, RecordedRequest& record) {
    const size_t headEnd = raw.find("\r\n\r\n");
    std::string_view head = raw.substr(0, headEnd);
    bool first = true;
    while (!head.empty() || first) {
        const size_t lineEnd = head.find("\r\n");
        const std::string_view line = head.substr(0, lineEnd);
        head = lineEnd == std::string_view::npos ? std::string_view() : head.substr(lineEnd + 2);
        if (first) {
            first = false;
            const size_t methodEnd = line.find(' ');
            const size_t targetEnd = line.rfind(' ');
            record.method = std::string(line.substr(0, methodEnd));
            if (methodEnd != std::string_view::npos && targetEnd > methodEnd) {
                record.target = std::string(line.substr(methodEnd + 1, targetEnd - methodEnd - 1));
                record.version = std::string(line.substr(targetEnd + 1));
            }
        } else if (!line.empty()) {
            record.headerLines.emplace_back(line);
        }
    }
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// The body of one reply as it is being sent.
class BodyStream {
public:
    BodyStream(ReplyPlan plan, std::string literal, std::shared_ptr<FileDescriptor> file,
               uint64_t size, ConnectionStream& connection)
        : plan_(std::move(plan)),
          literal_(std::move(literal)),
          file_(std::move(file)),
          size_(size),
          limit_(plan_.cutAfter ? std::min(size, *plan_.cutAfter) : size),
          connection_(connection) {}

    uint64_t Size() const { return size_; }

    // Sends the next piece at offset; false closes the connection (cut short or peer gone).
    bool SendNext(uint64_t offset, httplib::DataSink& sink, bool signalEnd) {
        if (offset >= limit_) {
            if (limit_ < size_) return false;
            if (signalEnd) sink.done();
            return true;
        }
        if (plan_.stallAfter && !stalled_ && offset >= *plan_.stallAfter) {
            stalled_ = true;
            if (!connection_.Pause(plan_.stallMs)) return false;
        }
        if (plan_.chunkDelayMs > 0 && offset > 0 && !connection_.Pause(plan_.chunkDelayMs))
            return false;
        size_t length = plan_.chunkSizes.empty()
                            ? kDefaultWriteSize
                            : plan_.chunkSizes[nextChunk_++ % plan_.chunkSizes.size()];
        length = static_cast<size_t>(std::min<uint64_t>(length, limit_ - offset));
        if (plan_.stallAfter && !stalled_ && offset < *plan_.stallAfter)
            length = static_cast<size_t>(std::min<uint64_t>(length, *plan_.stallAfter - offset));
        buffer_.resize(length);
        if (!Fill(offset, buffer_.data(), length)) return false;
        return sink.write(buffer_.data(), length);
    }

private:
    bool Fill(uint64_t offset, char* out, size_t length) {
        if (plan_.generate) {
            FillGenerated(offset, out, length);
            return true;
        }
        if (file_) {
            size_t done = 0;
            while (done < length) {
                const ssize_t got = ::pread(file_->Get(), out + done, length - done,
                                            static_cast<off_t>(offset + done));
                if (got <= 0) return false;
                done += static_cast<size_t>(got);
            }
            return true;
        }
        std::copy_n(literal_.data() + offset, length, out);
        return true;
    }

    ReplyPlan plan_;
    std::string literal_;
    std::shared_ptr<FileDescriptor> file_;
    uint64_t size_;
    uint64_t limit_;
    ConnectionStream& connection_;
    std::vector<char> buffer_;
    size_t nextChunk_ = 0;
    bool stalled_ = false;
};

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

bool IsSafeFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
    for (const std::string& line : headerLines) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos || !EqualsIgnoringCase(std::string_view(line).substr(0, colon), name))
            continue;
        size_t valueStart = colon + 1;
        while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t'))
            ++valueStart;
        return line.substr(valueStart);
    }
    return {};
}

bool RecordedRequest::HasHeader(std::string_view name) const {
    return std::any_of(headerLines.begin(), headerLines.end(), [&](const std::string& line) {
        const size_t colon = line.find(':');
        return colon != std::string::npos &&
               EqualsIgnoringCase(std::string_view(line).substr(0, colon), name);
    });
}

std::string RecordedRequest::Path() const { return target.substr(0, target.find('?')); }

Json::Value RecordedRequest::ToJson() const {
    Json::Value json(Json::objectValue);
    json["method"] = method;
    json["target"] = target;
    json["version"] = version;
    Json::Value& headers = json["headers"] = Json::Value(Json::arrayValue);
    for (const std::string& line : headerLines) headers.append(line);
    json["body"] = body;
    return json;
}

class UpdateService::HttpServer : public httplib::Server {
public:
    HttpServer(UpdateService& owner, int stopFd) : owner_(owner), stopFd_(stopFd) {
        const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
            owner_.Handle(request, response);
        };
        Get(".*", handler);
        Post(".*", handler);
        Put(".*", handler);
        Patch(".*", handler);
        Delete(".*", handler);
        Options(".*", handler);
    }

private:
    // Our own connection loop around the library's request processing, so that the bytes
    // of each request can be recorded as they arrived.
    bool process_and_close_socket(socket_t socket) override {
        ConnectionStream stream(socket, stopFd_, kReadTimeoutMs, kWriteTimeoutMs);
        tCurrentStream = &stream;
        bool result = false;
        for (int left = kKeepAliveMaxCount; left > 0; --left) {
            if (!stream.WaitForRequest(kKeepAliveTimeoutMs)) break;
            bool connectionClosed = false;
            result = process_request(stream, left == 1, connectionClosed,
                                     [](httplib::Request&) {});
            // Bytes of a request the library refused never reached a handler: they must not
            // be taken for the head of the next one.
            stream.TakeConsumed();
            if (stream.HasRawReply()) {
                stream.SendRawReply();
                break;
            }
            if (!result || connectionClosed || stream.ClosesAfterReply()) break;
        }
        tCurrentStream = nullptr;
        ::shutdown(socket, SHUT_RDWR);
        ::close(socket);
        return result;
    }

    UpdateService& owner_;
    int stopFd_;
};

UpdateService::UpdateService() { SetCheckReply(ReplyPlan::Text(200, "{}", "application/json")); }

UpdateService::~UpdateService() { Stop(); }

bool UpdateService::Start(const std::string& host, int port) {
    if (server_) return false;
    stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stopFd_ < 0) return false;
    server_ = std::make_unique<HttpServer>(*this, stopFd_);
    int bound = -1;
    if (port == 0) {
        bound = server_->bind_to_any_port(host);
    } else if (server_->bind_to_port(host, port)) {
        bound = port;
    }
    if (bound <= 0) {
        server_.reset();
        ::close(stopFd_);
        stopFd_ = -1;
        return false;
    }
    host_ = host;
    port_ = bound;
    listenerDone_ = false;
    listener_ = std::thread([this] {
        server_->listen_after_bind();
        listenerDone_ = true;
    });
    // The library's stop only works once its accept loop runs: wait for it to begin.
    while (!server_->is_running() && !listenerDone_) std::this_thread::yield();
    return true;
}

void UpdateService::Stop() {
    if (!server_) return;
    const uint64_t one = 1;
    if (::write(stopFd_, &one, sizeof one) < 0) {
        // The descriptor is ours and non-blocking; a full counter still wakes everyone.
    }
    server_->stop();
    if (listener_.joinable()) listener_.join();
    server_.reset();
    ::close(stopFd_);
    stopFd_ = -1;
}

std::string UpdateService::BaseUrl() const {
    const bool v6 = host_.find(':') != std::string::npos;
    return "http://" + (v6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
}

std::string UpdateService::CheckUrl() const { return BaseUrl() + kCheckPath + "?"; }

void UpdateService::SetCheckReply(ReplyPlan plan) { SetRoute(kCheckPath, std::move(plan)); }

void UpdateService::SetRoute(const std::string& path, ReplyPlan plan) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(plan);
}

void UpdateService::ServeFiles(const std::string& folder) {
    std::lock_guard lock(mutex_);
    filesFolder_ = folder;
}

bool UpdateService::LoadOffer(const Json::Value& offer, std::string& error) {
    if (!offer.isObject()) {
        error = "the offer must be a JSON object";
        return false;
    }
    if (!offer.isMember("check") && !offer.isMember("routes")) {
        SetCheckReply(ReplyPlan::Json(offer));
        return true;
    }
    if (offer.isMember("check")) {
        ReplyPlan plan;
        if (!ParseReplyPlan(offer["check"], plan, error)) {
            error = "check: " + error;
            return false;
        }
        SetCheckReply(std::move(plan));
    }
    const Json::Value& routes = offer["routes"];
    if (!routes.isNull() && !routes.isObject()) {
        error = "\"routes\" must map paths to replies";
        return false;
    }
    for (const std::string& path : routes.getMemberNames()) {
        ReplyPlan plan;
        if (!ParseReplyPlan(routes[path], plan, error)) {
            error = path + ": " + error;
            return false;
        }
        SetRoute(path, std::move(plan));
    }
    return true;
}

std::vector<RecordedRequest> UpdateService::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void UpdateService::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void UpdateService::SetRecordFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    recordFile_ = path;
}

void UpdateService::Record(RecordedRequest request) {
    std::lock_guard lock(mutex_);
    if (!recordFile_.empty()) {
        Json::StreamWriterBuilder writer;
        writer["indentation"] = "";
        std::ofstream file(recordFile_, std::ios::app | std::ios::binary);
        file << Json::writeString(writer, request.ToJson()) << '\n';
    }
    requests_.push_back(std::move(request));
}

bool UpdateService::FindReply(const std::string& path, ReplyPlan& plan) const {
    std::lock_guard lock(mutex_);
    if (const auto route = routes_.find(path); route != routes_.end()) {
        plan = route->second;
        return true;
    }
    constexpr std::string_view kFiles = "/files/";
    if (!filesFolder_.empty() && path.rfind(kFiles, 0) == 0) {
        const std::string name = path.substr(kFiles.size());
        if (!IsSafeFileName(name)) return false;
        plan = ReplyPlan();
        plan.file = filesFolder_ + "/" + name;
        return true;
    }
    constexpr std::string_view kGenerated = "/gen/";
    if (path.rfind(kGenerated, 0) == 0) {
        const std::string digits = path.substr(kGenerated.size());
        if (digits.empty() || digits.size() > 12 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        plan = ReplyPlan::Generated(std::stoull(digits));
        return true;
    }
    return false;
}

void UpdateService::Handle(const httplib::Request& request, httplib::Response& response) {
    ConnectionStream& stream = *tCurrentStream;
    RecordedRequest record;
    ParseHead(stream.TakeConsumed(), record);
    record.body = request.body;
    Record(std::move(record));

    ReplyPlan plan;
    if (!FindReply(request.path, plan)) plan = ReplyPlan::Text(404, "<html><body>404 Not Found</body></html>");
    Respond(plan, stream, response);
}

void UpdateService::Respond(const ReplyPlan& plan, ConnectionStream& stream,
                            httplib::Response& response) {
    if (plan.raw) {
        stream.ReplaceReply(*plan.raw);
        response.status = 200;
        return;
    }
    std::string literal;
    std::shared_ptr<FileDescriptor> file;
    uint64_t size = 0;
    if (plan.generate) {
        size = *plan.generate;
    } else if (!plan.file.empty()) {
        file = std::make_shared<FileDescriptor>(::open(plan.file.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat info {};
        if (file->Get() < 0 || ::fstat(file->Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
            Respond(ReplyPlan::Text(404, "<html><body>404 Not Found</body></html>"), stream, response);
            return;
        }
        size = static_cast<uint64_t>(info.st_size);
    } else {
        literal = ReplaceAll(plan.body, "{base}", BaseUrl());
        size = literal.size();
    }

    response.status = plan.status;
    for (const auto& [name, value] : plan.headers) response.set_header(name, value);

    const bool plain = literal.size() == size && !file && !plan.generate && !plan.cutAfter &&
                       !plan.stallAfter && plan.chunkSizes.empty() && plan.chunkDelayMs == 0 &&
                       plan.framing == Framing::Length;
    if (plain || (size == 0 && plan.framing == Framing::Length)) {
        response.set_content(literal, plan.contentType);
        return;
    }
    auto body = std::make_shared<BodyStream>(plan, std::move(literal), std::move(file), size, stream);
    switch (plan.framing) {
    case Framing::Length:
        response.set_content_provider(
            static_cast<size_t>(size), plan.contentType,
            [body](size_t offset, size_t, httplib::DataSink& sink) {
                return body->SendNext(offset, sink, false);
            });
        break;
    case Framing::Chunked:
        response.set_chunked_content_provider(plan.contentType,
                                              [body](size_t offset, httplib::DataSink& sink) {
                                                  return body->SendNext(offset, sink, true);
                                              });
        break;
    case Framing::Close:
        response.set_header("Connection", "close");
        stream.CloseAfterReply();
        response.set_content_provider(plan.contentType,
                                      [body](size_t offset, httplib::DataSink& sink) {
                                          return body->SendNext(offset, sink, true);
                                      });
        break;
    }
}

}  // namespace vexlo::service
