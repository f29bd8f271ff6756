#include "platform/sync/event.h"

namespace vexlo::sync {

Event::Event(ResetMode mode, bool initiallySignaled) : mode_(mode), signaled_(initiallySignaled) {}

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        signaled_ = true;
    }
    if (mode_ == ResetMode::Manual) {
        changed_.notify_all();
    } else {
        changed_.notify_one();
    }
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    signaled_ = false;
}

bool Event::IsSet() const {
    std::lock_guard lock(mutex_);
    return signaled_;
}

WaitResult Event::Wait(uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    auto ready = [this] { return signaled_; };
    if (timeoutMs == kInfinite) {
        changed_.wait(lock, ready);
    } else if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
        return WaitResult::TimedOut;
    }
    if (mode_ == ResetMode::Automatic) signaled_ = false;
    return WaitResult::Signaled;
}

}  // namespace vexlo::sync
