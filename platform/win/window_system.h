#pragma once
// The window system: one object owns every window, class, queue, timer and the input
// state of the process. Its constructor makes it the current system, which the free
// functions of platform/win/window_api.h act on; its destructor restores the previous
// one. Tests create one per test (through the headless harness); the program creates
// one at start-up.
#include "platform/win/display_backend.h"
#include "platform/win/message_spy.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vexlo::win {

namespace detail {
class SystemState;
}

struct WindowSystemOptions {
    uint32_t doubleClickTimeMs = 500;
    int doubleClickWidth = 4;   // the second click must lie within half of this
    int doubleClickHeight = 4;  // of the first, both ways
    uint32_t hoverTimeMs = 400;  // what HOVER_DEFAULT means
    int hoverWidth = 4;
    int hoverHeight = 4;
    uint32_t caretBlinkTimeMs = 530;
};

class WindowSystem {
public:
    explicit WindowSystem(std::unique_ptr<DisplayBackend> backend, WindowSystemOptions options = {});
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // The system the free functions act on, or null.
    static WindowSystem* Current();

    DisplayBackend& backend();
    const WindowSystemOptions& options() const;
    // Where a backend (or a test) delivers native input.
    InputSink& input();

    // The earliest moment at which a timer, a hover report or another delayed event of
    // the calling thread becomes due; none when nothing is scheduled.
    std::optional<int64_t> NextDeadline() const;
    // Whether the calling thread's queue holds anything that GetMessage would act on now.
    bool HasPendingWork() const;

    // Observers see every message (see message_spy.h). Not owned.
    void AddMessageObserver(MessageObserver* observer);
    void RemoveMessageObserver(MessageObserver* observer);

    // Every cursor that SetCursor made current, in order (repeats of the same cursor are
    // not recorded).
    std::vector<Cursor> CursorHistory() const;

    // The top-level windows, front to back.
    std::vector<Window> ZOrder() const;

    detail::SystemState& state() { return *state_; }

private:
    std::unique_ptr<detail::SystemState> state_;
    WindowSystem* previous_;
};

}  // namespace vexlo::win
