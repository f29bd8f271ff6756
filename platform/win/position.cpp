// Showing, placing and stacking windows; coordinates.
#include "platform/sync/thread.h"
#include "platform/win/detail/frame_metrics.h"
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

namespace {

bool IsTopmost(const SystemState& s, Window w) {
    const WindowData* d = s.Find(w);
    return d && (d->exStyle & WS_EX_TOPMOST);
}

// Index of the first window of the normal band (after the topmost ones).
size_t FirstNormalIndex(const SystemState& s) {
    size_t i = 0;
    while (i < s.topLevel.size() && IsTopmost(s, s.topLevel[i])) ++i;
    return i;
}

}  // namespace

void SystemState::PlaceInZOrder(Window window, Window after) {
    WindowData* d = Find(window);
    if (!d || !IsTopLevel(*d)) return;
    const bool wasPresent = std::find(topLevel.begin(), topLevel.end(), window) != topLevel.end();
    if (after == HWND_NOTOPMOST && !(d->exStyle & WS_EX_TOPMOST) && wasPresent) return;
    std::erase(topLevel, window);
    if (after == HWND_TOPMOST) {
        d->exStyle |= WS_EX_TOPMOST;
        topLevel.insert(topLevel.begin(), window);
    } else if (after == HWND_NOTOPMOST || after == HWND_TOP) {
        if (after == HWND_NOTOPMOST) d->exStyle &= ~WS_EX_TOPMOST;
        const size_t at = (d->exStyle & WS_EX_TOPMOST) ? 0 : FirstNormalIndex(*this);
        topLevel.insert(topLevel.begin() + static_cast<std::ptrdiff_t>(at), window);
    } else if (after == HWND_BOTTOM) {
        d->exStyle &= ~WS_EX_TOPMOST;
        topLevel.push_back(window);
    } else {
        auto it = std::find(topLevel.begin(), topLevel.end(), after);
        if (it == topLevel.end()) {
            const size_t at = (d->exStyle & WS_EX_TOPMOST) ? 0 : FirstNormalIndex(*this);
            topLevel.insert(topLevel.begin() + static_cast<std::ptrdiff_t>(at), window);
        } else if (IsTopmost(*this, after) && !(d->exStyle & WS_EX_TOPMOST)) {
            topLevel.insert(topLevel.begin() + static_cast<std::ptrdiff_t>(FirstNormalIndex(*this)), window);
        } else {
            if (!IsTopmost(*this, after)) d->exStyle &= ~WS_EX_TOPMOST;
            topLevel.insert(it + 1, window);
        }
    }
    RaiseOwned(window);
}

void SystemState::RaiseOwned(Window owner) {
    // Owned windows always stay in front of their owner. Repeat for chains of owners.
    for (int pass = 0; pass < 16; ++pass) {
        bool moved = false;
        for (size_t i = 0; i < topLevel.size(); ++i) {
            const WindowData* d = Find(topLevel[i]);
            if (!d || !d->owner) continue;
            auto ownerIt = std::find(topLevel.begin(), topLevel.end(), d->owner);
            if (ownerIt == topLevel.end()) continue;
            const size_t ownerIndex = static_cast<size_t>(ownerIt - topLevel.begin());
            if (ownerIndex < i) {
                const Window w = topLevel[i];
                topLevel.erase(topLevel.begin() + static_cast<std::ptrdiff_t>(i));
                topLevel.insert(topLevel.begin() + static_cast<std::ptrdiff_t>(ownerIndex), w);
                if (IsTopmost(*this, d->owner)) Find(w)->exStyle |= WS_EX_TOPMOST;
                moved = true;
            }
        }
        if (!moved) break;
    }
    (void)owner;
}

void SystemState::Restack() {
    if (topLevel == lastStack) return;
    lastStack = topLevel;
    backend->RestackNativeWindows(topLevel);
}

NativeWindowState SystemState::NativeStateOf(const WindowData& d) const {
    NativeWindowState n;
    n.rect = d.rect;
    n.visible = (d.style & WS_VISIBLE) && !(d.style & WS_MINIMIZE);
    n.topmost = (d.exStyle & WS_EX_TOPMOST) != 0;
    n.layered = (d.exStyle & WS_EX_LAYERED) != 0;
    n.toolWindow = (d.exStyle & WS_EX_TOOLWINDOW) != 0;
    n.title = d.text;
    n.style = d.style;
    n.exStyle = d.exStyle;
    n.owner = d.owner;
    n.active = active == d.handle;
    n.mouseTransparent = d.cls && d.cls->mouseTransparent;
    n.region = d.region;
    return n;
}

void SystemState::SyncNative(WindowData& d) {
    if (!d.native) return;
    backend->UpdateNativeWindow(d.handle, NativeStateOf(d));
}

void SystemState::RecomputeClient(Lock& lock, Window window) {
    WindowData* d = Find(window);
    if (!d) return;
    gfx::Rect r = d->rect;
    Send(lock, window, WM_NCCALCSIZE, 0, reinterpret_cast<intptr_t>(&r));
    d = Find(window);
    if (!d) return;
    gfx::Rect inWindow = r.Offset(-d->rect.left, -d->rect.top);
    inWindow.left = std::clamp(inWindow.left, 0, std::max(0, d->rect.width()));
    inWindow.top = std::clamp(inWindow.top, 0, std::max(0, d->rect.height()));
    inWindow.right = std::clamp(inWindow.right, inWindow.left, std::max(inWindow.left, d->rect.width()));
    inWindow.bottom = std::clamp(inWindow.bottom, inWindow.top, std::max(inWindow.top, d->rect.height()));
    d->clientInWindow = inWindow;
    ResizeSurface(*d);
}

bool SystemState::SetWindowPosLocked(Lock& lock, Window window, Window after, int x, int y, int cx, int cy,
                                     uint32_t flags) {
    WindowData* d = Find(window);
    if (!d || window == desktop) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    const bool topLevelWindow = IsTopLevel(*d);
    WindowPos pos;
    pos.window = window;
    pos.insertAfter = after;
    pos.x = (flags & SWP_NOMOVE) ? d->rect.left : x;
    pos.y = (flags & SWP_NOMOVE) ? d->rect.top : y;
    pos.cx = (flags & SWP_NOSIZE) ? d->rect.width() : cx;
    pos.cy = (flags & SWP_NOSIZE) ? d->rect.height() : cy;
    pos.flags = flags;
    if ((flags & SWP_SHOWWINDOW) && (d->style & WS_VISIBLE)) pos.flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !(d->style & WS_VISIBLE)) pos.flags &= ~SWP_HIDEWINDOW;
    if (!(flags & SWP_NOSENDCHANGING)) {
        Send(lock, window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<intptr_t>(&pos));
        if ((d = Find(window)) == nullptr) return false;
    }
    const gfx::Rect oldRect = d->rect;
    const gfx::Rect oldClient = d->clientInWindow;
    gfx::Rect newRect = oldRect;
    if (!(pos.flags & SWP_NOMOVE)) newRect = newRect.Offset(pos.x - oldRect.left, pos.y - oldRect.top);
    if (!(pos.flags & SWP_NOSIZE)) {
        newRect.right = gfx::SaturatingAdd(newRect.left, std::max(0, pos.cx));
        newRect.bottom = gfx::SaturatingAdd(newRect.top, std::max(0, pos.cy));
    }
    const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    const bool sized = newRect.width() != oldRect.width() || newRect.height() != oldRect.height();
    if (!moved) pos.flags |= SWP_NOMOVE;
    if (!sized) pos.flags |= SWP_NOSIZE;
    pos.x = newRect.left;
    pos.y = newRect.top;
    pos.cx = newRect.width();
    pos.cy = newRect.height();
    d->rect = newRect;
    const bool showing = (pos.flags & SWP_SHOWWINDOW) != 0;
    const bool hiding = (pos.flags & SWP_HIDEWINDOW) != 0;
    if (showing) d->style |= WS_VISIBLE;
    if (hiding) d->style &= ~WS_VISIBLE;
    if (!(pos.flags & SWP_NOZORDER)) {
        if (topLevelWindow) {
            PlaceInZOrder(window, pos.insertAfter);
        } else if (WindowData* parent = Find(d->parent)) {
            auto& sib = parent->children;
            std::erase(sib, window);
            if (pos.insertAfter == HWND_BOTTOM) {
                sib.push_back(window);
            } else if (pos.insertAfter == HWND_TOP || pos.insertAfter == HWND_TOPMOST || pos.insertAfter == HWND_NOTOPMOST) {
                sib.insert(sib.begin(), window);
            } else {
                auto it = std::find(sib.begin(), sib.end(), pos.insertAfter);
                sib.insert(it == sib.end() ? sib.begin() : it + 1, window);
            }
        }
    }
    if (sized || (pos.flags & SWP_FRAMECHANGED)) {
        RecomputeClient(lock, window);
        if ((d = Find(window)) == nullptr) return false;
    }
    const bool widthChanged = d->clientInWindow.width() != oldClient.width();
    const bool heightChanged = d->clientInWindow.height() != oldClient.height();
    if (!(pos.flags & SWP_NOREDRAW)) {
        if (showing || (pos.flags & SWP_FRAMECHANGED) || (widthChanged && (d->cls->info.style & CS_HREDRAW)) ||
            (heightChanged && (d->cls->info.style & CS_VREDRAW))) {
            InvalidateLocked(*d, nullptr, true);
        } else if (widthChanged || heightChanged) {
            gfx::Region exposed(gfx::Rect{0, 0, d->clientInWindow.width(), d->clientInWindow.height()});
            exposed.Subtract(gfx::Rect{0, 0, oldClient.width(), oldClient.height()});
            if (!exposed.IsEmpty()) InvalidateLocked(*d, &exposed, true);
        }
    }
    if (topLevelWindow) {
        SyncNative(*d);
        Restack();
    }
    // What the screen shows moves with the window: present the kept content again.
    if (!hiding && IsShown(*d) && (showing || moved || sized)) {
        if ((d->exStyle & WS_EX_LAYERED) && d->layeredPresented && !sized) {
            PresentLayered(*d);
        } else if (!(d->exStyle & WS_EX_LAYERED) && !showing && !sized && d->update.IsEmpty()) {
            PresentSurface(*d);
        }
    }
    if (!(pos.flags & SWP_NOACTIVATE) && !hiding && topLevelWindow && !(d->style & WS_CHILD) &&
        (d->style & WS_VISIBLE)) {
        ActivateLocked(lock, window, WA_ACTIVE);
        if ((d = Find(window)) == nullptr) return true;
    }
    Send(lock, window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<intptr_t>(&pos));
    if (hiding) {
        if (focus && IsDescendant(window, focus) && !topLevelWindow) SetFocusLocked(lock, Window{});
        if (active && IsDescendant(window, active)) ActivateNextAfterLosing(lock, active);
    }
    NoteCursorMaybeMoved();
    return true;
}

bool SystemState::ShowWindowLocked(Lock& lock, Window window, int command) {
    WindowData* d = FindAlive(window);
    if (!d) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    const bool wasVisible = (d->style & WS_VISIBLE) != 0;
    const bool child = (d->style & WS_CHILD) != 0;
    if (command == SW_SHOWDEFAULT) command = SW_SHOWNORMAL;
    auto showMessage = [&](bool show) {
        if (show != wasVisible) Send(lock, window, WM_SHOWWINDOW, show ? 1 : 0, 0);
        return Find(window) != nullptr;
    };
    auto placeFlags = [&](bool activate) {
        uint32_t f = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;
        if (!activate || child) f |= SWP_NOACTIVATE | SWP_NOZORDER;
        return f;
    };
    switch (command) {
        case SW_HIDE:
            if (!wasVisible) return false;
            if (!showMessage(false)) return wasVisible;
            SetWindowPosLocked(lock, window, Window{}, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return wasVisible;
        case SW_SHOW:
        case SW_SHOWNA:
            if (!showMessage(true)) return wasVisible;
            SetWindowPosLocked(lock, window, HWND_TOP, 0, 0, 0, 0, placeFlags(command == SW_SHOW));
            return wasVisible;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE: {
            if (!(d->style & (WS_MINIMIZE | WS_MAXIMIZE))) d->normalRect = d->rect;
            d->style = (d->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
            if (!showMessage(true)) return wasVisible;
            SetWindowPosLocked(lock, window, Window{}, -32000, -32000, 160, 28,
                               SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            if (active && IsDescendant(window, active)) ActivateNextAfterLosing(lock, active);
            return wasVisible;
        }
        case SW_MAXIMIZE: {
            if (!(d->style & (WS_MINIMIZE | WS_MAXIMIZE))) d->normalRect = d->rect;
            MinMaxInfo info;
            info.maxPosition = {screen.workArea.left, screen.workArea.top};
            info.maxSize = {screen.workArea.width(), screen.workArea.height()};
            info.maxTrackSize = {screen.size.width, screen.size.height};
            Send(lock, window, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
            if ((d = Find(window)) == nullptr) return wasVisible;
            d->style = (d->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
            if (!showMessage(true)) return wasVisible;
            SetWindowPosLocked(lock, window, HWND_TOP, info.maxPosition.x, info.maxPosition.y,
                               std::min(info.maxSize.x, std::max(info.maxTrackSize.x, 0)),
                               std::min(info.maxSize.y, std::max(info.maxTrackSize.y, 0)),
                               SWP_SHOWWINDOW | SWP_FRAMECHANGED | (child ? SWP_NOACTIVATE : 0));
            return wasVisible;
        }
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWNOACTIVATE: {
            const bool activate = command != SW_SHOWNOACTIVATE;
            if (d->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
                d->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
                const gfx::Rect r = d->normalRect;
                if (!showMessage(true)) return wasVisible;
                SetWindowPosLocked(lock, window, HWND_TOP, r.left, r.top, r.width(), r.height(),
                                   SWP_SHOWWINDOW | SWP_FRAMECHANGED |
                                       ((activate && !child) ? 0u : (SWP_NOACTIVATE | SWP_NOZORDER)));
                return wasVisible;
            }
            if (!showMessage(true)) return wasVisible;
            SetWindowPosLocked(lock, window, HWND_TOP, 0, 0, 0, 0, placeFlags(activate));
            return wasVisible;
        }
        default:
            SetLastErrorCode(ERROR_INVALID_PARAMETER);
            return wasVisible;
    }
}

}  // namespace detail

bool ShowWindow(Window window, int command) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    return s->ShowWindowLocked(lock, window, command);
}

bool IsWindowVisible(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d && s->IsShown(*d);
}

bool IsIconic(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d && (d->style & WS_MINIMIZE);
}

bool IsZoomed(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d && (d->style & WS_MAXIMIZE);
}

bool SetWindowPos(Window window, Window insertAfter, int x, int y, int cx, int cy, uint32_t flags) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    const WindowData* d = s->FindAlive(window);
    if (!d) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (d->thread != sync::CurrentThreadId()) {
        // Another thread's window is placed by that thread, as the target does it.
        SetLastErrorCode(ERROR_WINDOW_OF_OTHER_THREAD);
        return false;
    }
    return s->SetWindowPosLocked(lock, window, insertAfter, x, y, cx, cy, flags);
}

bool MoveWindow(Window window, int x, int y, int width, int height, bool repaint) {
    return SetWindowPos(window, Window{}, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool BringWindowToTop(Window window) {
    return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool GetWindowRect(Window window, gfx::Rect* rect) {
    SystemState* s = Current();
    if (!s || !rect) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return false;
    *rect = s->WindowScreenRect(*d);
    return true;
}

bool GetClientRect(Window window, gfx::Rect* rect) {
    SystemState* s = Current();
    if (!s || !rect) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return false;
    *rect = {0, 0, d->clientInWindow.width(), d->clientInWindow.height()};
    return true;
}

bool ClientToScreen(Window window, gfx::Point* point) {
    SystemState* s = Current();
    if (!s || !point) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return false;
    const gfx::Rect c = s->ClientScreenRect(*d);
    point->x += c.left;
    point->y += c.top;
    return true;
}

bool ScreenToClient(Window window, gfx::Point* point) {
    SystemState* s = Current();
    if (!s || !point) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return false;
    const gfx::Rect c = s->ClientScreenRect(*d);
    point->x -= c.left;
    point->y -= c.top;
    return true;
}

int MapWindowPoints(Window from, Window to, gfx::Point* points, int count) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    auto origin = [&](Window w, bool* ok) -> gfx::Point {
        if (!w || w == s->desktop) return {0, 0};
        const WindowData* d = s->Find(w);
        if (!d) {
            *ok = false;
            return {0, 0};
        }
        const gfx::Rect c = s->ClientScreenRect(*d);
        return {c.left, c.top};
    };
    bool ok = true;
    const gfx::Point a = origin(from, &ok);
    const gfx::Point b = origin(to, &ok);
    if (!ok) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const int dx = a.x - b.x;
    const int dy = a.y - b.y;
    for (int i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MakeLParam(dx, dy));
}

Window WindowFromPoint(gfx::Point screenPoint) {
    SystemState* s = Current();
    if (!s) return Window{};
    Lock lock(s->mutex);
    std::vector<Window> skip;
    for (size_t guard = 0; guard <= s->windows.size(); ++guard) {
        const Window w = s->WindowAtPoint(screenPoint, skip);
        if (!w) return Window{};
        const WindowData* d = s->Find(w);
        if (d->thread != sync::CurrentThreadId()) return w;
        if (s->Send(lock, w, WM_NCHITTEST, 0, MakeLParam(screenPoint.x, screenPoint.y)) != HTTRANSPARENT) return w;
        skip.push_back(w);
    }
    return Window{};
}

Window ChildWindowFromPoint(Window parent, gfx::Point clientPoint) {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(parent);
    if (!d) return Window{};
    if (!gfx::Rect{0, 0, d->clientInWindow.width(), d->clientInWindow.height()}.Contains(clientPoint.x, clientPoint.y)) {
        return Window{};
    }
    for (Window c : d->children) {
        const WindowData* cd = s->Find(c);
        if (cd && cd->rect.Contains(clientPoint.x, clientPoint.y)) return c;
    }
    return parent;
}

bool AdjustWindowRectEx(gfx::Rect* rect, uint32_t style, bool /*menu*/, uint32_t exStyle) {
    if (!rect) return false;
    const gfx::Rect insets = detail::FrameInsets(style, exStyle);
    rect->left -= insets.left;
    rect->top -= insets.top;
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return true;
}

}  // namespace vexlo::win
