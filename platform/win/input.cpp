// Native input turned into window messages: hit testing, the cursor, mouse activation,
// capture, double clicks, mouse tracking (hover and leave), keys.
#include "platform/sync/thread.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>
#include <cstdlib>

namespace vexlo::win {

using detail::Current;
using detail::Lock;
using detail::QueuedInput;
using detail::SetLastErrorCode;
using detail::SystemState;
using detail::ThreadQueue;
using detail::WindowData;

namespace {

using Type = InputEvent::Type;

bool IsPointer(Type t) {
    return t == Type::MouseMove || t == Type::ButtonDown || t == Type::ButtonUp || t == Type::Wheel ||
           t == Type::HorizontalWheel;
}

int ButtonIndex(MouseButton b) {
    switch (b) {
        case MouseButton::Left: return 0;
        case MouseButton::Right: return 1;
        case MouseButton::Middle: return 2;
    }
    return 0;
}

// The client message of a mouse event (WM_MOUSEMOVE, WM_LBUTTONDOWN, ...).
uint32_t ClientMessage(const InputEvent& e) {
    if (e.type == Type::MouseMove) return WM_MOUSEMOVE;
    const bool down = e.type == Type::ButtonDown;
    switch (e.button) {
        case MouseButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case MouseButton::Middle: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
    return WM_MOUSEMOVE;
}

// WM_*BUTTONDOWN -> WM_*BUTTONDBLCLK, and the same for the non-client ones.
uint32_t DoubleClickOf(uint32_t downMessage) { return downMessage + 2; }

// The non-client counterpart of a client mouse message.
uint32_t NonClientMessage(uint32_t clientMessage) { return clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE; }

gfx::Point Clamp(const SystemState& s, gfx::Point p) {
    return {std::clamp(p.x, 0, std::max(0, s.screen.size.width - 1)),
            std::clamp(p.y, 0, std::max(0, s.screen.size.height - 1))};
}

bool OverClient(const SystemState& s, Window w, gfx::Point screen) {
    const WindowData* d = s.Find(w);
    return d && s.WindowAtPoint(screen) == w && s.ClientScreenRect(*d).Contains(screen.x, screen.y);
}

void PushReady(SystemState& s, ThreadQueue& q, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam,
               const QueuedInput& in) {
    Msg m;
    m.window = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<uint32_t>(in.timeMs);
    m.pt = in.cursor;
    q.ready.push_back(m);
    (void)s;
}

}  // namespace

namespace detail {

uint32_t SystemState::KeyFlags() const {
    uint32_t f = 0;
    if (buttons[0]) f |= MK_LBUTTON;
    if (buttons[1]) f |= MK_RBUTTON;
    if (buttons[2]) f |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80) f |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80) f |= MK_CONTROL;
    return f;
}

void SystemState::NoteCursorMaybeMoved() { cursorMayHaveMoved = true; }

void SystemState::QueueInput(const InputEvent& event) {
    std::lock_guard lock(mutex);
    QueuedInput in;
    in.event = event;
    in.timeMs = backend->NowMs();
    if (IsPointer(event.type)) {
        // The cursor moves when the input happens, before anyone reads the message.
        cursor = Clamp(*this, event.point);
        in.event.point = cursor;
        mouseSeen = true;
    }
    in.cursor = cursor;
    uint32_t thread = displayThread;
    auto threadOf = [&](Window w) -> std::optional<uint32_t> {
        const WindowData* d = Find(w);
        return d ? std::optional<uint32_t>(d->thread) : std::nullopt;
    };
    if (IsPointer(event.type)) {
        if (auto t = threadOf(capture)) {
            thread = *t;
        } else if (auto t2 = threadOf(moveSize.active ? moveSize.window : Window{})) {
            thread = *t2;
        } else if (auto t3 = threadOf(WindowAtPoint(cursor))) {
            thread = *t3;
        } else if (auto t4 = threadOf(lastMouseWindow)) {
            thread = *t4;
        }
    } else if (event.type == Type::KeyDown || event.type == Type::KeyUp || event.type == Type::Character) {
        if (auto t = threadOf(focus ? focus : active)) thread = *t;
    } else if (event.type == Type::TrayMouse) {
        if (auto t = threadOf(event.trayWindow)) thread = *t;
    }
    Queue(thread).raw.push_back(in);
    WakeThread(thread);
}

void SystemState::PostMouseLeave(Lock& /*lock*/) {
    const Window w = tracking.window;
    tracking = {};
    if (Find(w)) Post(w, WM_MOUSELEAVE, 0, 0);
}

void SystemState::CheckMouseLeave(Lock& lock) {
    if (tracking.window && (tracking.flags & TME_LEAVE) && !OverClient(*this, tracking.window, cursor)) {
        PostMouseLeave(lock);
    }
}

void SystemState::GenerateHover(ThreadQueue& q) {
    if (!tracking.window || !(tracking.flags & TME_HOVER)) return;
    const WindowData* d = Find(tracking.window);
    if (!d) {
        tracking = {};
        return;
    }
    if (d->thread != q.thread || backend->NowMs() < tracking.hoverDue) return;
    tracking.flags &= ~TME_HOVER;
    if (!OverClient(*this, tracking.window, cursor)) return;
    const gfx::Rect client = ClientScreenRect(*d);
    Post(tracking.window, WM_MOUSEHOVER, KeyFlags(), MakeLParam(cursor.x - client.left, cursor.y - client.top));
    if (!tracking.flags) tracking.window = Window{};
}

bool SystemState::ConvertInput(Lock& lock, ThreadQueue& q) {
    if (q.raw.empty()) return false;
    const QueuedInput in = q.raw.front();
    q.raw.pop_front();
    const InputEvent& e = in.event;

    switch (e.type) {
        case Type::AppDeactivated:
            ActivateLocked(lock, Window{}, WA_INACTIVE);
            return true;
        case Type::AppActivated:
            if (!active) ActivateNextAfterLosing(lock, Window{});
            return true;
        case Type::TrayMouse: {
            auto it = std::find_if(tray.begin(), tray.end(),
                                   [&](const TrayEntry& t) { return t.window == e.trayWindow && t.id == e.trayId; });
            if (it == tray.end()) return true;
            if (!Find(it->window)) {
                // The owner is gone: the shell drops its icon when the mouse reaches it.
                backend->RemoveTrayIcon(it->window, it->id);
                tray.erase(it);
                return true;
            }
            // The task bar takes the foreground on a press; the owner may take it back.
            if (e.trayMessage == WM_LBUTTONDOWN || e.trayMessage == WM_RBUTTONDOWN || e.trayMessage == WM_MBUTTONDOWN) {
                ActivateLocked(lock, Window{}, WA_INACTIVE);
            }
            if (it->callbackMessage) Post(it->window, it->callbackMessage, it->id, static_cast<intptr_t>(e.trayMessage));
            return true;
        }
        case Type::KeyDown:
        case Type::KeyUp: {
            const bool down = e.type == Type::KeyDown;
            const uint32_t vk = e.virtualKey & 0xFF;
            const bool wasDown = (keys[vk] & 0x80) != 0;
            auto setKey = [&](uint32_t k) {
                if (down) {
                    if (!(keys[k] & 0x80)) keys[k] ^= 0x01;  // toggles flip on each press
                    keys[k] |= 0x80;
                } else {
                    keys[k] &= ~0x80;
                }
            };
            setKey(vk);
            if (vk == VK_LSHIFT || vk == VK_RSHIFT) setKey(VK_SHIFT);
            if (vk == VK_LCONTROL || vk == VK_RCONTROL) setKey(VK_CONTROL);
            if (vk == VK_LMENU || vk == VK_RMENU) setKey(VK_MENU);
            if (moveSize.active) {
                if (down && vk == VK_ESCAPE) EndMoveSize(lock, true);
                return true;
            }
            const Window target = focus ? focus : active;
            if (!target) return true;
            const bool alt = (keys[VK_MENU] & 0x80) != 0 || (!down && vk == VK_MENU);
            const bool sys = alt || vk == VK_F10 || !focus;
            uint32_t lParam = 1u | (ScanCodeForKey(vk) << 16);
            if (alt) lParam |= 1u << 29;
            if (down && wasDown) lParam |= 1u << 30;
            if (!down) lParam |= (1u << 30) | (1u << 31);
            const uint32_t message = sys ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
            PushReady(*this, q, target, message, vk, static_cast<intptr_t>(lParam), in);
            return true;
        }
        case Type::Character: {
            const Window target = focus ? focus : active;
            if (!target) return true;
            PushReady(*this, q, target, WM_KEYDOWN, VK_PACKET, 1, in);
            PushReady(*this, q, target, WM_CHAR, e.character, 1, in);
            PushReady(*this, q, target, WM_KEYUP, VK_PACKET, static_cast<intptr_t>(1u | (3u << 30)), in);
            return true;
        }
        default:
            break;
    }

    // Pointer input.
    if (e.type == Type::ButtonDown || e.type == Type::ButtonUp) {
        buttons[static_cast<size_t>(ButtonIndex(e.button))] = e.type == Type::ButtonDown;
        const uint32_t vk = e.button == MouseButton::Left ? VK_LBUTTON : e.button == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
        if (e.type == Type::ButtonDown) keys[vk] |= 0x80; else keys[vk] &= ~0x80;
    }
    if (moveSize.active && HandleMoveSizeInput(lock, in)) return true;

    const gfx::Point pt = in.cursor;
    if (e.type == Type::Wheel || e.type == Type::HorizontalWheel) {
        const Window target = focus ? focus : active;
        if (!target) return true;
        const uint32_t message = e.type == Type::Wheel ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL;
        PushReady(*this, q, target, message, MakeWParam(KeyFlags(), static_cast<unsigned>(e.wheelDelta) & 0xFFFF),
                  MakeLParam(pt.x, pt.y), in);
        return true;
    }

    const uint32_t clientMessage = ClientMessage(e);
    Window target;
    intptr_t hit = HTCLIENT;
    if (capture && Find(capture)) {
        target = capture;
    } else {
        std::vector<Window> skip;
        for (size_t guard = 0; guard <= windows.size(); ++guard) {
            const Window w = WindowAtPoint(pt, skip);
            if (!w) break;
            if (Find(w)->thread != q.thread) {
                target = w;
                break;
            }
            hit = Send(lock, w, WM_NCHITTEST, 0, MakeLParam(pt.x, pt.y));
            if (hit == HTTRANSPARENT && Find(w)) {
                skip.push_back(w);
                continue;
            }
            if (Find(w)) target = w;
            break;
        }
    }

    // Leave and hover bookkeeping happen before the message itself is delivered.
    if (tracking.window && (tracking.flags & TME_LEAVE)) {
        const bool stillOver = capture ? OverClient(*this, tracking.window, pt)
                                       : (target == tracking.window && hit == HTCLIENT);
        if (!stillOver) PostMouseLeave(lock);
    }
    if (tracking.window && (tracking.flags & TME_HOVER)) {
        if (std::abs(pt.x - tracking.hoverOrigin.x) > options.hoverWidth / 2 ||
            std::abs(pt.y - tracking.hoverOrigin.y) > options.hoverHeight / 2) {
            tracking.hoverOrigin = pt;
            tracking.hoverDue = in.timeMs + tracking.hoverTime;
        }
    }

    lastMouseWindow = target;
    lastMouseHit = hit;
    WindowData* d = Find(target);
    if (!d) {
        // A press on no window of this program goes to another one (the desktop, the task
        // bar), which takes the foreground.
        if (e.type == Type::ButtonDown && !capture) ActivateLocked(lock, Window{}, WA_INACTIVE);
        return true;
    }

    if (!capture && (d->style & WS_DISABLED)) {
        Send(lock, target, WM_SETCURSOR, target.value(), MakeLParam(static_cast<int>(HTERROR), static_cast<int>(clientMessage)));
        return true;
    }
    if (!capture) {
        Send(lock, target, WM_SETCURSOR, target.value(), MakeLParam(static_cast<int>(hit), static_cast<int>(clientMessage)));
        if ((d = Find(target)) == nullptr) return true;
    }
    if (e.type == Type::ButtonDown && !capture) {
        const Window root = RootOf(target);
        const WindowData* rd = Find(root);
        if (rd && root != active && !(rd->style & WS_CHILD) && !(rd->exStyle & WS_EX_NOACTIVATE)) {
            const intptr_t answer = Send(lock, target, WM_MOUSEACTIVATE, root.value(),
                                         MakeLParam(static_cast<int>(hit), static_cast<int>(clientMessage)));
            if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT || answer == 0) {
                ActivateLocked(lock, root, WA_CLICKACTIVE);
            }
            if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return true;
        }
        if ((d = Find(target)) == nullptr) return true;
    }

    const bool client = capture || hit == HTCLIENT;
    uint32_t message = client ? clientMessage : NonClientMessage(clientMessage);
    if (e.type == Type::ButtonDown) {
        const bool wantsDouble = !client || (d->cls->info.style & CS_DBLCLKS);
        const ClickRecord& last = lastClick;
        const bool isDouble = wantsDouble && last.valid && last.window == target && last.button == e.button &&
                              last.client == client && last.hit == hit &&
                              in.timeMs - last.timeMs <= static_cast<int64_t>(options.doubleClickTimeMs) &&
                              std::abs(pt.x - last.point.x) <= options.doubleClickWidth / 2 &&
                              std::abs(pt.y - last.point.y) <= options.doubleClickHeight / 2;
        if (isDouble) {
            message = DoubleClickOf(message);
            lastClick = {};  // a third click starts a new pair
        } else {
            lastClick = {true, target, e.button, client, hit, pt, in.timeMs};
        }
    }
    if (client) {
        const gfx::Rect c = ClientScreenRect(*d);
        PushReady(*this, q, target, message, KeyFlags(), MakeLParam(pt.x - c.left, pt.y - c.top), in);
    } else {
        PushReady(*this, q, target, message, static_cast<uintptr_t>(hit), MakeLParam(pt.x, pt.y), in);
    }
    return true;
}

}  // namespace detail

bool TrackMouseEvent(TrackMouseEventInfo* request) {
    SystemState* s = Current();
    if (!s || !request) return false;
    Lock lock(s->mutex);
    auto& t = s->tracking;
    if (request->flags & TME_QUERY) {
        request->window = t.window;
        request->flags = t.window ? t.flags : 0;
        request->hoverTime = t.hoverTime;
        return true;
    }
    const WindowData* d = s->FindAlive(request->window);
    if (!d || d->thread != sync::CurrentThreadId() || (request->flags & TME_NONCLIENT)) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (request->flags & TME_CANCEL) {
        if (t.window == request->window) {
            t.flags &= ~(request->flags & (TME_HOVER | TME_LEAVE));
            if (!t.flags) t = {};
        }
        return true;
    }
    if (t.window != request->window) t = {request->window, 0, 0, 0, {}};
    if (request->flags & TME_LEAVE) {
        if (OverClient(*s, request->window, s->cursor)) {
            t.flags |= TME_LEAVE;
        } else {
            // Already outside: the report comes at once.
            s->Post(request->window, WM_MOUSELEAVE, 0, 0);
            t.flags &= ~TME_LEAVE;
        }
    }
    if (request->flags & TME_HOVER) {
        t.hoverTime = request->hoverTime == HOVER_DEFAULT ? s->options.hoverTimeMs : request->hoverTime;
        t.hoverDue = s->backend->NowMs() + t.hoverTime;
        t.hoverOrigin = s->cursor;
        t.flags |= TME_HOVER;
        s->WakeThread(d->thread);
    }
    if (!t.flags) t = {};
    return true;
}

bool GetCursorPos(gfx::Point* point) {
    SystemState* s = Current();
    if (!s || !point) return false;
    std::lock_guard lock(s->mutex);
    *point = s->cursor;
    return true;
}

bool SetCursorPos(int x, int y) {
    SystemState* s = Current();
    if (!s) return false;
    {
        std::lock_guard lock(s->mutex);
        s->backend->WarpCursor(Clamp(*s, {x, y}));
    }
    // Moving the cursor is mouse input like any other.
    InputEvent e;
    e.type = InputEvent::Type::MouseMove;
    e.point = {x, y};
    s->QueueInput(e);
    return true;
}

int16_t GetKeyState(int virtualKey) {
    SystemState* s = Current();
    if (!s || virtualKey < 0 || virtualKey > 255) return 0;
    std::lock_guard lock(s->mutex);
    const uint8_t k = s->keys[static_cast<size_t>(virtualKey)];
    return static_cast<int16_t>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

int16_t GetAsyncKeyState(int virtualKey) { return static_cast<int16_t>(GetKeyState(virtualKey) & 0x8000); }

}  // namespace vexlo::win
