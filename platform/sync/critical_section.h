#pragma once
// A critical section as the target system has it: recursive for its owner thread.
#include <mutex>

namespace vexlo::sync {

class CriticalSection {
public:
    void Enter() { mutex_.lock(); }
    bool TryEnter() { return mutex_.try_lock(); }
    void Leave() { mutex_.unlock(); }
    // So that std::lock_guard / std::unique_lock work.
    void lock() { Enter(); }
    bool try_lock() { return TryEnter(); }
    void unlock() { Leave(); }

private:
    std::recursive_mutex mutex_;
};

using CriticalSectionLock = std::lock_guard<CriticalSection>;

}  // namespace vexlo::sync
