#pragma once
// Observing what the window system delivers: every message sent to a window procedure,
// every message posted to a queue, every message dispatched from a queue. Tests use the
// MessageLog; a notification record of WM_UI_NOTIFY is copied while it is still alive.
#include "platform/win/handles.h"
#include "platform/win/messages.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace vexlo::win {

enum class MessageEventKind {
    Sent,        // a procedure was called synchronously (SendMessage or by the system)
    Posted,      // a message entered a queue (PostMessage, PostThreadMessage, PostQuitMessage)
    Dispatched,  // a procedure was called by DispatchMessage (queued, input, timer, paint)
};

struct MessageEvent {
    MessageEventKind kind = MessageEventKind::Sent;
    Window window;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    int64_t timeMs = 0;
    // For WM_UI_NOTIFY sent or dispatched with a non-null record.
    std::optional<NotificationRecord> notification;
};

// Called on whatever thread delivers the message, possibly with the window system's lock
// held: an observer must not call into the window system.
class MessageObserver {
public:
    virtual ~MessageObserver() = default;
    virtual void OnMessage(const MessageEvent& event) = 0;
};

// Records everything; thread-safe.
class MessageLog : public MessageObserver {
public:
    void OnMessage(const MessageEvent& event) override;

    std::vector<MessageEvent> Events() const;
    // Message numbers delivered (sent or dispatched) to the window, in order; with a
    // non-empty filter only those messages.
    std::vector<uint32_t> Delivered(Window window, const std::vector<uint32_t>& only = {}) const;
    std::vector<uint32_t> Posted(Window window) const;
    // The notification records of WM_UI_NOTIFY delivered to the window, in order.
    std::vector<NotificationRecord> Notifications(Window window) const;
    size_t Count(Window window, uint32_t message) const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<MessageEvent> events_;
};

}  // namespace vexlo::win
