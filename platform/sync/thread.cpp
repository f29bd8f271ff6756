#include "platform/sync/thread.h"

#include <atomic>

namespace vexlo::sync {

uint32_t CurrentThreadId() {
    static std::atomic<uint32_t> next{1};
    thread_local const uint32_t id = next.fetch_add(1);
    return id;
}

struct Thread::State {
    Event ended{ResetMode::Manual, false};
    std::atomic<uint32_t> exitCode{0};
    std::atomic<uint32_t> id{0};
    Event started{ResetMode::Manual, false};
};

Thread::Thread(Body body) : state_(std::make_shared<State>()) {
    // The thread keeps its own reference so that closing the handle early is safe.
    thread_ = std::thread([state = state_, body = std::move(body)]() mutable {
        state->id = CurrentThreadId();
        state->started.Set();
        const uint32_t code = body ? body() : 0;
        state->exitCode = code;
        state->ended.Set();
    });
    state_->started.Wait();
}

Thread::Thread(Thread&& other) noexcept : state_(std::move(other.state_)), thread_(std::move(other.thread_)) {}

Thread& Thread::operator=(Thread&& other) noexcept {
    if (this != &other) {
        Close();
        state_ = std::move(other.state_);
        thread_ = std::move(other.thread_);
    }
    return *this;
}

Thread::~Thread() { Close(); }

uint32_t Thread::Id() const { return state_ ? state_->id.load() : 0; }

bool Thread::Wait(uint32_t timeoutMs) {
    if (!state_) return true;
    return state_->ended.Wait(timeoutMs) == WaitResult::Signaled;
}

bool Thread::HasEnded() const { return !state_ || state_->ended.IsSet(); }

uint32_t Thread::ExitCode() const { return state_ ? state_->exitCode.load() : 0; }

void Thread::Close() {
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();  // a thread closing its own handle
        } else if (state_->ended.IsSet()) {
            thread_.join();
        } else {
            thread_.detach();
        }
    }
    state_.reset();
}

}  // namespace vexlo::sync
