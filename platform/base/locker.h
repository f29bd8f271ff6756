#pragma once
// A process-wide lock owning one critical section. One instance guards the double-checked
// creation of each lazily created single instance.
#include <mutex>

namespace vexlo::platform {

class Locker {
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    // So that std::lock_guard<Locker> works.
    void lock() { Enter(); }
    void unlock() { Leave(); }

private:
    std::mutex mutex_;
};

}  // namespace vexlo::platform
