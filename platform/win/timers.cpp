// Per-window and per-thread timers, the tick count, and what becomes due when.
#include "platform/sync/thread.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::Current;
using detail::SetLastErrorCode;
using detail::SystemState;

namespace {

constexpr uint32_t kMinimumElapse = 10;          // USER_TIMER_MINIMUM
constexpr uint32_t kMaximumElapse = 0x7FFFFFFF;  // USER_TIMER_MAXIMUM

}  // namespace

void detail::SystemState::RemoveTimersOf(Window window) {
    std::erase_if(timers, [&](const TimerEntry& t) { return t.window == window; });
}

std::optional<int64_t> detail::SystemState::NextDeadlineLocked(uint32_t thread) const {
    std::optional<int64_t> next;
    auto consider = [&](int64_t t) {
        if (!next || t < *next) next = t;
    };
    for (const auto& t : timers) {
        if (t.thread == thread) consider(t.due);
    }
    if (tracking.window && (tracking.flags & TME_HOVER)) {
        const WindowData* d = Find(tracking.window);
        if (d && d->thread == thread) consider(tracking.hoverDue);
    }
    return next;
}

uintptr_t SetTimer(Window window, uintptr_t id, uint32_t elapseMs, TimerProc proc) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    const uint32_t me = sync::CurrentThreadId();
    if (window) {
        const detail::WindowData* d = s->FindAlive(window);
        if (!d) {
            SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        if (d->thread != me) {
            SetLastErrorCode(ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    const uint32_t elapse = std::clamp(elapseMs, kMinimumElapse, kMaximumElapse);
    const int64_t now = s->backend->NowMs();
    auto existing = std::find_if(s->timers.begin(), s->timers.end(), [&](const detail::TimerEntry& t) {
        return t.window == window && t.id == id && (window || t.thread == me) && (window || id != 0);
    });
    if (existing == s->timers.end()) {
        detail::TimerEntry t;
        t.window = window;
        t.thread = me;
        if (window) {
            t.id = id;
        } else {
            // A new identifier that no timer of this thread uses.
            do {
                t.id = s->nextThreadTimerId++;
                if (s->nextThreadTimerId == 0) s->nextThreadTimerId = 1;
            } while (std::any_of(s->timers.begin(), s->timers.end(), [&](const detail::TimerEntry& o) {
                return !o.window && o.id == t.id;
            }));
        }
        s->timers.push_back(t);
        existing = s->timers.end() - 1;
    }
    existing->elapse = elapse;
    existing->due = now + elapse;
    existing->order = ++s->timerOrder;
    existing->proc = proc;
    s->WakeThread(me);  // a waiting loop must learn of the earlier deadline
    if (!window) return existing->id;
    return id ? id : 1;
}

bool KillTimer(Window window, uintptr_t id) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const uint32_t me = sync::CurrentThreadId();
    auto it = std::find_if(s->timers.begin(), s->timers.end(), [&](const detail::TimerEntry& t) {
        return t.window == window && t.id == id && (window || t.thread == me);
    });
    if (it == s->timers.end()) {
        SetLastErrorCode(ERROR_TIMER_NOT_FOUND);
        return false;
    }
    s->timers.erase(it);
    return true;
}

uint32_t GetTickCount() {
    SystemState* s = Current();
    return s ? static_cast<uint32_t>(s->backend->NowMs()) : 0;
}

void Sleep(uint32_t ms) {
    SystemState* s = Current();
    if (s) s->backend->Sleep(ms);
}

}  // namespace vexlo::win
