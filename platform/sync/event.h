#pragma once
// Kernel-style events: a manual-reset event stays signalled until Reset; an auto-reset
// event lets exactly one waiter through and clears itself.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vexlo::sync {

enum class ResetMode { Manual, Automatic };
enum class WaitResult { Signaled, TimedOut };

// The timeout value that never expires.
constexpr uint32_t kInfinite = 0xFFFFFFFFu;

class Event {
public:
    explicit Event(ResetMode mode = ResetMode::Manual, bool initiallySignaled = false);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    // Whether the event is signalled now (does not consume an auto-reset signal).
    bool IsSet() const;

    // Waits at most timeoutMs milliseconds (kInfinite: no limit). A timeout of 0 only
    // tests the state. An auto-reset event is cleared by the waiter it releases.
    WaitResult Wait(uint32_t timeoutMs = kInfinite);

private:
    const ResetMode mode_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool signaled_;
};

}  // namespace vexlo::sync
