// Queues and the message loop: retrieval order, waiting, dispatching, translating.
#include "platform/sync/thread.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::Current;
using detail::Lock;
using detail::SetLastErrorCode;
using detail::SystemState;
using detail::ThreadQueue;
using detail::WindowData;

namespace {

const Window kThreadMessagesOnly = Window::FromValue(~uintptr_t{0});

enum class Fetch { Found, Quit, Nothing };

bool InRange(uint32_t message, uint32_t first, uint32_t last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool RangeTouches(uint32_t first, uint32_t last, uint32_t lo, uint32_t hi) {
    return (first == 0 && last == 0) || (first <= hi && last >= lo);
}

bool Matches(const Msg& m, Window filter, uint32_t first, uint32_t last) {
    if (filter == kThreadMessagesOnly) {
        if (m.window) return false;
    } else if (filter && m.window != filter) {
        return false;
    }
    return InRange(m.message, first, last);
}

// Windows of the thread in painting order: each top-level window, then its children.
void PaintOrder(SystemState& s, Window w, std::vector<Window>& out) {
    const WindowData* d = s.Find(w);
    if (!d) return;
    out.push_back(w);
    for (auto it = d->children.rbegin(); it != d->children.rend(); ++it) PaintOrder(s, *it, out);
}

void QueueSyntheticMove(SystemState& s, ThreadQueue& q) {
    s.cursorMayHaveMoved = false;
    if (!s.mouseSeen) return;
    const Window under = s.WindowAtPoint(s.cursor);
    bool leaveDue = false;
    if (s.tracking.window && (s.tracking.flags & TME_LEAVE)) {
        const WindowData* t = s.Find(s.tracking.window);
        leaveDue = !t || under != s.tracking.window || !s.ClientScreenRect(*t).Contains(s.cursor.x, s.cursor.y);
    }
    if (under == s.lastMouseWindow && !leaveDue) return;
    detail::QueuedInput in;
    in.event.type = InputEvent::Type::MouseMove;
    in.event.point = s.cursor;
    in.cursor = s.cursor;
    in.timeMs = s.backend->NowMs();
    q.raw.push_back(in);
}

Fetch FetchMessage(SystemState& s, Lock& lock, ThreadQueue& q, Msg* out, Window filter, uint32_t first, uint32_t last,
                   bool remove) {
    for (int round = 0; round < 100000; ++round) {
        s.RunIncomingSends(lock, q);
        for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
            if (!Matches(*it, filter, first, last)) continue;
            *out = *it;
            if (remove) q.posted.erase(it);
            return out->message == WM_QUIT ? Fetch::Quit : Fetch::Found;
        }
        for (auto it = q.ready.begin(); it != q.ready.end(); ++it) {
            if (!Matches(*it, filter, first, last)) continue;
            *out = *it;
            if (remove) q.ready.erase(it);
            return Fetch::Found;
        }
        const bool inputWanted = filter != kThreadMessagesOnly &&
                                 (RangeTouches(first, last, WM_KEYFIRST, WM_KEYLAST) ||
                                  RangeTouches(first, last, WM_MOUSEFIRST, WM_MOUSELAST) ||
                                  RangeTouches(first, last, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK));
        if (s.cursorMayHaveMoved && q.thread == s.displayThread) QueueSyntheticMove(s, q);
        if (inputWanted && !q.raw.empty()) {
            s.ConvertInput(lock, q);
            continue;
        }
        if (q.quit && (!filter || filter == kThreadMessagesOnly)) {
            *out = Msg{};
            out->message = WM_QUIT;
            out->wParam = static_cast<uintptr_t>(static_cast<intptr_t>(q.quitCode));
            out->time = static_cast<uint32_t>(s.backend->NowMs());
            out->pt = s.cursor;
            if (remove) q.quit = false;
            return Fetch::Quit;
        }
        const size_t postedBefore = q.posted.size();
        s.GenerateHover(q);
        if (q.posted.size() != postedBefore) continue;

        if (filter != kThreadMessagesOnly && InRange(WM_PAINT, first, last)) {
            std::vector<Window> order;
            for (Window top : s.topLevel) PaintOrder(s, top, order);
            for (Window w : order) {
                const WindowData* d = s.Find(w);
                if (!d || d->thread != q.thread || d->update.IsEmpty() || (filter && filter != w)) continue;
                if (!s.IsShown(*d) || (d->exStyle & WS_EX_LAYERED)) continue;
                *out = Msg{};
                out->window = w;
                out->message = WM_PAINT;
                out->time = static_cast<uint32_t>(s.backend->NowMs());
                out->pt = s.cursor;
                return Fetch::Found;
            }
        }
        if (InRange(WM_TIMER, first, last)) {
            const int64_t now = s.backend->NowMs();
            detail::TimerEntry* best = nullptr;
            for (auto& t : s.timers) {
                if (t.thread != q.thread || t.due > now) continue;
                if (filter == kThreadMessagesOnly ? static_cast<bool>(t.window) : (filter && t.window != filter)) continue;
                if (!best || t.due < best->due || (t.due == best->due && t.order < best->order)) best = &t;
            }
            if (best) {
                *out = Msg{};
                out->window = best->window;
                out->message = WM_TIMER;
                out->wParam = best->id;
                out->lParam = reinterpret_cast<intptr_t>(best->proc);
                out->time = static_cast<uint32_t>(now);
                out->pt = s.cursor;
                if (remove) {
                    int64_t next = best->due + best->elapse;
                    if (next <= now) next = now + best->elapse;  // late timers do not pile up
                    best->due = next;
                }
                return Fetch::Found;
            }
        }
        return Fetch::Nothing;
    }
    return Fetch::Nothing;
}

// Waits until something may have arrived for the thread.
void WaitForWork(SystemState& s, Lock& lock, ThreadQueue& q) {
    if (q.wake) {
        q.wake = false;
        return;
    }
    const std::optional<int64_t> deadline = s.NextDeadlineLocked(q.thread);
    if (q.thread == s.displayThread) {
        lock.unlock();
        s.backend->WaitForEvents(deadline);
        lock.lock();
    } else if (deadline) {
        const int64_t wait = std::max<int64_t>(0, *deadline - s.backend->NowMs());
        q.changed.wait_for(lock, std::chrono::milliseconds(wait));
    } else {
        q.changed.wait(lock);
    }
    q.wake = false;
}

bool ValidFilter(SystemState& s, Window filter) {
    return !filter || filter == kThreadMessagesOnly || s.Find(filter) != nullptr;
}

}  // namespace

int GetMessage(Msg* msg, Window filter, uint32_t first, uint32_t last) {
    SystemState* s = Current();
    if (!s || !msg) return -1;
    Lock lock(s->mutex);
    ThreadQueue& q = s->Queue(sync::CurrentThreadId());
    for (;;) {
        if (!ValidFilter(*s, filter)) {
            SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
            return -1;
        }
        const Fetch r = FetchMessage(*s, lock, q, msg, filter, first, last, true);
        if (r != Fetch::Nothing) {
            q.lastMessage = *msg;
            return r == Fetch::Quit ? 0 : 1;
        }
        WaitForWork(*s, lock, q);
    }
}

bool PeekMessage(Msg* msg, Window filter, uint32_t first, uint32_t last, uint32_t flags) {
    SystemState* s = Current();
    if (!s || !msg) return false;
    Lock lock(s->mutex);
    ThreadQueue& q = s->Queue(sync::CurrentThreadId());
    if (!ValidFilter(*s, filter)) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    const Fetch r = FetchMessage(*s, lock, q, msg, filter, first, last, (flags & PM_REMOVE) != 0);
    if (r == Fetch::Nothing) return false;
    q.lastMessage = *msg;
    return true;
}

bool WaitMessage() {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    ThreadQueue& q = s->Queue(sync::CurrentThreadId());
    s->RunIncomingSends(lock, q);
    if (!q.posted.empty() || !q.ready.empty() || !q.raw.empty() || q.quit) return true;
    WaitForWork(*s, lock, q);
    return true;
}

bool TranslateMessage(const Msg* msg) {
    if (!msg) return false;
    const bool sys = msg->message == WM_SYSKEYDOWN;
    if (msg->message != WM_KEYDOWN && !sys) {
        return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    }
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const uint32_t key = static_cast<uint32_t>(msg->wParam);
    if (key == VK_PACKET) return true;  // the character follows as its own message
    const bool shift = (s->keys[VK_SHIFT] & 0x80) != 0;
    const bool control = (s->keys[VK_CONTROL] & 0x80) != 0;
    const bool caps = (s->keys[VK_CAPITAL] & 0x01) != 0;
    char16_t ch = CharacterForKey(key, shift, caps);
    if (control && !sys && key >= 'A' && key <= 'Z') ch = static_cast<char16_t>(key - 'A' + 1);
    if (ch == 0) return true;
    Msg m = *msg;
    m.message = sys ? WM_SYSCHAR : WM_CHAR;
    m.wParam = ch;
    const WindowData* d = s->Find(msg->window);
    ThreadQueue& q = s->Queue(d ? d->thread : sync::CurrentThreadId());
    q.posted.push_front(m);  // the character comes next, before anything queued earlier
    s->Observe(MessageEventKind::Posted, m.window, m.message, m.wParam, m.lParam);
    return true;
}

intptr_t DispatchMessage(const Msg* msg) {
    SystemState* s = Current();
    if (!s || !msg) return 0;
    Lock lock(s->mutex);
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only a timer procedure that a live timer names is called.
        const auto proc = reinterpret_cast<TimerProc>(msg->lParam);
        const bool known = std::any_of(s->timers.begin(), s->timers.end(), [&](const detail::TimerEntry& t) {
            return t.window == msg->window && t.id == msg->wParam && t.proc == proc;
        });
        if (!known) return 0;
        lock.unlock();
        proc(msg->window, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    const WindowData* d = s->Find(msg->window);
    if (!d || d->thread != sync::CurrentThreadId()) return 0;
    const WindowProc proc = d->proc;
    const auto watchers = s->observers;
    lock.unlock();
    s->Notify(watchers, MessageEventKind::Dispatched, msg->window, msg->message, msg->wParam, msg->lParam);
    return proc ? proc(msg->window, msg->message, msg->wParam, msg->lParam)
                : DefWindowProc(msg->window, msg->message, msg->wParam, msg->lParam);
}

intptr_t SendMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SystemState* s = Current();
    if (!s) return 0;
    Lock lock(s->mutex);
    return s->Send(lock, window, message, wParam, lParam);
}

bool PostMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    return s->Post(window, message, wParam, lParam);
}

bool PostThreadMessage(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    if (s->queues.find(threadId) == s->queues.end()) {
        SetLastErrorCode(1444);  // ERROR_INVALID_THREAD_ID: that thread has no queue
        return false;
    }
    return s->PostToThread(threadId, Window{}, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    SystemState* s = Current();
    if (!s) return;
    std::lock_guard lock(s->mutex);
    const uint32_t me = sync::CurrentThreadId();
    ThreadQueue& q = s->Queue(me);
    q.quit = true;
    q.quitCode = exitCode;
    s->Observe(MessageEventKind::Posted, Window{}, WM_QUIT, static_cast<uintptr_t>(static_cast<intptr_t>(exitCode)), 0);
    s->WakeThread(me);
}

intptr_t CallWindowProc(WindowProc proc, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return proc ? proc(window, message, wParam, lParam) : 0;
}

bool InSendMessage() {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    auto it = s->queues.find(sync::CurrentThreadId());
    return it != s->queues.end() && it->second->sendDepth > 0;
}

uint32_t GetMessageTime() {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    auto it = s->queues.find(sync::CurrentThreadId());
    return it != s->queues.end() ? it->second->lastMessage.time : 0;
}

}  // namespace vexlo::win
