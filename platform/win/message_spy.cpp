#include "platform/win/message_spy.h"

#include <algorithm>

namespace vexlo::win {

void MessageLog::OnMessage(const MessageEvent& event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
}

std::vector<MessageEvent> MessageLog::Events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::vector<uint32_t> MessageLog::Delivered(Window window, const std::vector<uint32_t>& only) const {
    std::lock_guard lock(mutex_);
    std::vector<uint32_t> out;
    for (const auto& e : events_) {
        if (e.window != window || e.kind == MessageEventKind::Posted) continue;
        if (!only.empty() && std::find(only.begin(), only.end(), e.message) == only.end()) continue;
        out.push_back(e.message);
    }
    return out;
}

std::vector<uint32_t> MessageLog::Posted(Window window) const {
    std::lock_guard lock(mutex_);
    std::vector<uint32_t> out;
    for (const auto& e : events_) {
        if (e.window == window && e.kind == MessageEventKind::Posted) out.push_back(e.message);
    }
    return out;
}

std::vector<NotificationRecord> MessageLog::Notifications(Window window) const {
    std::lock_guard lock(mutex_);
    std::vector<NotificationRecord> out;
    for (const auto& e : events_) {
        if (e.window == window && e.kind != MessageEventKind::Posted && e.notification) out.push_back(*e.notification);
    }
    return out;
}

size_t MessageLog::Count(Window window, uint32_t message) const {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(events_.begin(), events_.end(), [&](const MessageEvent& e) {
        return e.window == window && e.message == message && e.kind != MessageEventKind::Posted;
    }));
}

void MessageLog::Clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

}  // namespace vexlo::win
