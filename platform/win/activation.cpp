// Activation, keyboard focus, mouse capture and enabling.
#include "platform/sync/thread.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::Current;
using detail::Lock;
using detail::SetLastErrorCode;
using detail::SystemState;
using detail::WindowData;

namespace detail {

void SystemState::ActivateLocked(Lock& lock, Window window, uint32_t how) {
    if (window) {
        const WindowData* d = FindAlive(window);
        // Child-style windows (even children of the desktop) are never active.
        if (!d || !IsTopLevel(*d) || (d->style & WS_CHILD)) return;
    }
    const Window old = active;
    if (old == window) return;
    active = window;
    // The display follows the activation (keyboard focus, the active window's hints).
    if (WindowData* od = Find(old)) SyncNative(*od);
    if (WindowData* nd = Find(window)) SyncNative(*nd);
    if (window) {
        // Activation brings the window to the front of its band.
        const WindowData* d = Find(window);
        const bool topmost = (d->exStyle & WS_EX_TOPMOST) != 0;
        Window frontOfBand;
        for (Window w : topLevel) {
            const WindowData* wd = Find(w);
            if (wd && ((wd->exStyle & WS_EX_TOPMOST) != 0) == topmost) {
                frontOfBand = w;
                break;
            }
        }
        if (frontOfBand != window) {
            SetWindowPosLocked(lock, window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    if (old && Find(old)) {
        Send(lock, old, WM_NCACTIVATE, 0, 0);
        if (const WindowData* od = Find(old)) {
            Send(lock, old, WM_ACTIVATE, MakeWParam(WA_INACTIVE, (od->style & WS_MINIMIZE) ? 1 : 0),
                 static_cast<intptr_t>(window.value()));
        }
    }
    if (static_cast<bool>(old) != static_cast<bool>(window)) {
        // The application as a whole gained or lost the foreground.
        std::vector<Window> all = topLevel;
        for (Window w : all) {
            if (const WindowData* wd = Find(w); wd && wd->stage == Stage::Alive) {
                Send(lock, w, WM_ACTIVATEAPP, window ? 1 : 0, static_cast<intptr_t>(wd->thread));
            }
        }
    }
    if (window && active == window && Find(window)) {
        Send(lock, window, WM_NCACTIVATE, 1, 0);
        if (const WindowData* d = Find(window); d && active == window) {
            Send(lock, window, WM_ACTIVATE, MakeWParam(how, (d->style & WS_MINIMIZE) ? 1 : 0),
                 static_cast<intptr_t>(old.value()));
        }
    }
    // The focus never stays in a window that is no longer active.
    if (focus && (!active || !IsDescendant(active, focus))) {
        const WindowData* rootOfFocus = Find(RootOf(focus));
        const bool detachedPopup = rootOfFocus && (rootOfFocus->style & WS_CHILD);
        if (!detachedPopup) SetFocusLocked(lock, Window{});
    }
}

void SystemState::ActivateNextAfterLosing(Lock& lock, Window lost) {
    auto candidate = [&](Window w) {
        const WindowData* d = FindAlive(w);
        return d && w != lost && !d->destroyStarted && IsTopLevel(*d) && !(d->style & WS_CHILD) &&
               (d->style & WS_VISIBLE) && !(d->style & (WS_DISABLED | WS_MINIMIZE)) &&
               !(d->exStyle & WS_EX_NOACTIVATE);
    };
    Window next;
    if (const WindowData* d = Find(lost); d && d->owner && candidate(d->owner)) {
        next = d->owner;
    } else {
        for (Window w : topLevel) {
            if (candidate(w) && !IsDescendant(lost, w)) {
                next = w;
                break;
            }
        }
    }
    ActivateLocked(lock, next, WA_ACTIVE);
}

Window SystemState::SetFocusLocked(Lock& lock, Window window) {
    if (window) {
        const WindowData* d = FindAlive(window);
        if (!d) {
            SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
            return Window{};
        }
        if (d->thread != sync::CurrentThreadId()) {
            SetLastErrorCode(ERROR_ACCESS_DENIED);
            return Window{};
        }
        for (const WindowData* w = d; w; w = IsTopLevel(*w) ? nullptr : Find(w->parent)) {
            if (w->style & WS_DISABLED) return Window{};
        }
        const Window root = RootOf(window);
        const WindowData* rd = Find(root);
        if (root != active && rd && !(rd->style & WS_CHILD)) {
            ActivateLocked(lock, root, WA_ACTIVE);
            if (!FindAlive(window)) return Window{};
        }
    }
    const Window old = focus;
    if (old == window) return old;
    focus = window;
    if (old && Find(old)) Send(lock, old, WM_KILLFOCUS, window.value(), 0);
    if (window && focus == window && Find(window)) Send(lock, window, WM_SETFOCUS, old.value(), 0);
    return old;
}

Window SystemState::SetCaptureLocked(Lock& lock, Window window) {
    const Window old = capture;
    if (old == window) return old;
    capture = window;
    if (old && Find(old)) Send(lock, old, WM_CAPTURECHANGED, 0, static_cast<intptr_t>(window.value()));
    return old;
}

void SystemState::ReleaseCaptureLocked(Lock& lock) {
    const Window old = capture;
    if (!old) return;
    capture = Window{};
    if (Find(old)) Send(lock, old, WM_CAPTURECHANGED, 0, 0);
    // A move or size drag ends with its capture.
    if (moveSize.active && moveSize.window == old) EndMoveSize(lock, false);
    NoteCursorMaybeMoved();
}

}  // namespace detail

Window SetActiveWindow(Window window) {
    SystemState* s = Current();
    if (!s) return Window{};
    Lock lock(s->mutex);
    const WindowData* d = s->FindAlive(window);
    if (window && (!d || d->thread != sync::CurrentThreadId())) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return Window{};
    }
    const Window old = s->active;
    s->ActivateLocked(lock, window ? s->RootOf(window) : Window{}, WA_ACTIVE);
    return old;
}

Window GetActiveWindow() {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    return s->active;
}

bool SetForegroundWindow(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    if (!s->FindAlive(window)) return false;
    const Window root = s->RootOf(window);
    s->ActivateLocked(lock, root, WA_ACTIVE);
    return s->active == root;
}

Window GetForegroundWindow() { return GetActiveWindow(); }

Window SetFocus(Window window) {
    SystemState* s = Current();
    if (!s) return Window{};
    Lock lock(s->mutex);
    return s->SetFocusLocked(lock, window);
}

Window GetFocus() {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    return s->focus;
}

bool EnableWindow(Window window, bool enable) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    WindowData* d = s->FindAlive(window);
    if (!d) return false;
    const bool wasDisabled = (d->style & WS_DISABLED) != 0;
    if (enable != wasDisabled) return wasDisabled;  // nothing changes
    if (enable) {
        d->style &= ~WS_DISABLED;
    } else {
        d->style |= WS_DISABLED;
        if (s->focus && s->IsDescendant(window, s->focus)) s->SetFocusLocked(lock, Window{});
        if (s->capture && s->IsDescendant(window, s->capture)) s->ReleaseCaptureLocked(lock);
    }
    if (s->Find(window)) s->Send(lock, window, WM_ENABLE, enable ? 1 : 0, 0);
    s->NoteCursorMaybeMoved();
    return wasDisabled;
}

bool IsWindowEnabled(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d && !(d->style & WS_DISABLED);
}

Window SetCapture(Window window) {
    SystemState* s = Current();
    if (!s) return Window{};
    Lock lock(s->mutex);
    const WindowData* d = s->FindAlive(window);
    if (!d || d->thread != sync::CurrentThreadId()) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return Window{};
    }
    return s->SetCaptureLocked(lock, window);
}

bool ReleaseCapture() {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    s->ReleaseCaptureLocked(lock);
    return true;
}

Window GetCapture() {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    return s->capture;
}

}  // namespace vexlo::win
