#pragma once
// Threads with a handle that can be waited on with a timeout and closed while the thread
// still runs, as the target system's thread handles allow.
#include "platform/sync/event.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace vexlo::sync {

// A small number naming the calling thread, stable for its lifetime and never 0.
uint32_t CurrentThreadId();

class Thread {
public:
    using Body = std::function<uint32_t()>;

    Thread() = default;
    // Starts body at once on a new thread.
    explicit Thread(Body body);
    Thread(Thread&& other) noexcept;
    Thread& operator=(Thread&& other) noexcept;
    ~Thread();  // Close()

    bool IsValid() const { return state_ != nullptr; }
    uint32_t Id() const;

    // Waits until the thread has returned from its body. True when it has.
    bool Wait(uint32_t timeoutMs = kInfinite);
    bool HasEnded() const;
    // The body's result once it has ended; 0 before.
    uint32_t ExitCode() const;

    // Gives up the handle. A thread that has ended is joined; one that still runs keeps
    // running on its own and releases its resources when its body returns.
    void Close();

private:
    struct State;
    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace vexlo::sync
