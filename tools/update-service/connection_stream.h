#pragma once
// One accepted connection as the HTTP library's stream. It keeps every byte the library
// consumed, so that a request can be recorded exactly as it came over the wire (the
// library itself keeps headers sorted by name), and every wait also ends when the service
// stops.
#include <httplib.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vexlo::service {

class ConnectionStream : public httplib::Stream {
public:
    ConnectionStream(int socketFd, int stopFd, int readTimeoutMs, int writeTimeoutMs);

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    int socket() const override { return fd_; }

    // Waits until a request begins, the peer closes, the timeout passes or the service
    // stops; true only for the first.
    bool WaitForRequest(int timeoutMs) const;
    // Waits without sending for timeoutMs (or without limit when absent); ends early when
    // the peer closes or the service stops. False when it ended early.
    bool Pause(std::optional<uint64_t> timeoutMs) const;

    // The bytes consumed since the last call (a request's head and body).
    std::string TakeConsumed();

    // Replaces whatever the library writes for the current request by these bytes.
    void ReplaceReply(std::string raw);
    bool HasRawReply() const { return raw_.has_value(); }
    void SendRawReply();

    // The current reply ends with the connection (a body without a length).
    void CloseAfterReply() { closeAfterReply_ = true; }
    bool ClosesAfterReply() const { return closeAfterReply_; }

private:
    enum class Wake { Ready, Timeout, Stopped, PeerGone };
    Wake WaitFor(short events, int timeoutMs) const;

    int fd_;
    int stopFd_;
    int readTimeoutMs_;
    int writeTimeoutMs_;
    char buffer_[16384];
    size_t bufferBegin_ = 0;
    size_t bufferEnd_ = 0;
    std::string consumed_;
    std::optional<std::string> raw_;
    bool closeAfterReply_ = false;
};

}  // namespace vexlo::service
