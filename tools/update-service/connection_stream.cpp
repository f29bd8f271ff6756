#include "tools/update-service/connection_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace vexlo::service {
namespace {

void AddressOf(const sockaddr_storage& address, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
        port = ntohs(in.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
        port = ntohs(in6.sin6_port);
    }
    ip = text;
}

}  // namespace

ConnectionStream::ConnectionStream(int socketFd, int stopFd, int readTimeoutMs,
                                   int writeTimeoutMs)
    : fd_(socketFd), stopFd_(stopFd), readTimeoutMs_(readTimeoutMs), writeTimeoutMs_(writeTimeoutMs) {}

ConnectionStream::Wake ConnectionStream::WaitFor(short events, int timeoutMs) const {
    pollfd fds[2] = {{fd_, static_cast<short>(events | POLLRDHUP), 0}, {stopFd_, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return Wake::PeerGone;
        if (ready == 0) return Wake::Timeout;
        if (fds[1].revents != 0) return Wake::Stopped;
        if (fds[0].revents & events) return Wake::Ready;
        return Wake::PeerGone;
    }
}

bool ConnectionStream::is_readable() const {
    return bufferBegin_ < bufferEnd_ || WaitFor(POLLIN, readTimeoutMs_) == Wake::Ready;
}

bool ConnectionStream::is_writable() const {
    return WaitFor(POLLOUT, writeTimeoutMs_) == Wake::Ready;
}

bool ConnectionStream::WaitForRequest(int timeoutMs) const {
    if (bufferBegin_ < bufferEnd_) return true;
    // A peer that sent a request and then half-closed still has bytes to read.
    pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || fds[1].revents != 0) return false;
        char probe;
        return ::recv(fd_, &probe, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
    }
}

bool ConnectionStream::Pause(std::optional<uint64_t> timeoutMs) const {
    using Clock = std::chrono::steady_clock;
    const auto deadline = timeoutMs ? Clock::now() + std::chrono::milliseconds(*timeoutMs)
                                    : Clock::time_point::max();
    for (;;) {
        int wait = -1;
        if (timeoutMs) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - Clock::now());
            if (left.count() <= 0) return true;
            wait = static_cast<int>(std::min<int64_t>(left.count(), 1 << 30));
        }
        // Only hang-ups and the stop wake us: incoming bytes are not read while paused.
        pollfd fds[2] = {{fd_, POLLRDHUP, 0}, {stopFd_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        if (ready > 0) return false;
    }
}

ssize_t ConnectionStream::read(char* ptr, size_t size) {
    if (bufferBegin_ == bufferEnd_) {
        const Wake wake = WaitFor(POLLIN, readTimeoutMs_);
        if (wake == Wake::Stopped || wake == Wake::Timeout) return -1;
        ssize_t received;
        do {
            received = ::recv(fd_, buffer_, sizeof buffer_, MSG_DONTWAIT);
        } while (received < 0 && errno == EINTR);
        if (received <= 0) return received < 0 ? -1 : 0;
        bufferBegin_ = 0;
        bufferEnd_ = static_cast<size_t>(received);
    }
    const size_t length = std::min(size, bufferEnd_ - bufferBegin_);
    std::memcpy(ptr, buffer_ + bufferBegin_, length);
    consumed_.append(buffer_ + bufferBegin_, length);
    bufferBegin_ += length;
    return static_cast<ssize_t>(length);
}

ssize_t ConnectionStream::write(const char* ptr, size_t size) {
    if (raw_) return static_cast<ssize_t>(size);  // the raw reply replaces all of it
    if (WaitFor(POLLOUT, writeTimeoutMs_) != Wake::Ready) return -1;
    ssize_t sent;
    do {
        sent = ::send(fd_, ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
    return sent;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    port = 0;
    if (::getpeername(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        AddressOf(address, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    port = 0;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        AddressOf(address, ip, port);
}

std::string ConnectionStream::TakeConsumed() {
    std::string taken;
    taken.swap(consumed_);
    return taken;
}

void ConnectionStream::ReplaceReply(std::string raw) { raw_ = std::move(raw); }

void ConnectionStream::SendRawReply() {
    if (!raw_) return;
    const std::string raw = std::move(*raw_);
    raw_.reset();
    size_t offset = 0;
    while (offset < raw.size()) {
        const ssize_t sent = write(raw.data() + offset, raw.size() - offset);
        if (sent < 0) return;
        offset += static_cast<size_t>(sent);
    }
}

}  // namespace vexlo::service
