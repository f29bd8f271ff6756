// Moving and sizing a window by dragging, as the system command does it. The drag is a
// mode of the input system rather than a nested message loop: the command returns at
// once and the following mouse input moves the window until the button is released.
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win::detail {

bool SystemState::BeginMoveSize(Lock& lock, Window window, bool moving, uintptr_t edge) {
    WindowData* d = FindAlive(window);
    if (!d || moveSize.active) return false;
    // Only mouse-driven drags exist here: the button that started it must still be down.
    if (!buttons[0]) return false;
    if (moving && (d->style & WS_MAXIMIZE)) return false;
    if (!moving && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return false;
    MinMaxInfo limits;
    limits.maxPosition = {screen.workArea.left, screen.workArea.top};
    limits.maxSize = {screen.workArea.width(), screen.workArea.height()};
    limits.minTrackSize = {0, 0};
    limits.maxTrackSize = {screen.size.width, screen.size.height};
    Send(lock, window, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&limits));
    if ((d = FindAlive(window)) == nullptr) return false;
    moveSize.active = true;
    moveSize.window = window;
    moveSize.moving = moving;
    moveSize.edge = edge;
    moveSize.startCursor = cursor;
    moveSize.startRect = d->rect;
    moveSize.limits = limits;
    Send(lock, window, WM_ENTERSIZEMOVE, 0, 0);
    if (moveSize.active && Find(window)) SetCaptureLocked(lock, window);
    return true;
}

bool SystemState::HandleMoveSizeInput(Lock& lock, const QueuedInput& in) {
    const Window window = moveSize.window;
    if (!Find(window)) {
        moveSize = {};
        return false;
    }
    const InputEvent& e = in.event;
    if (e.type == InputEvent::Type::ButtonUp && e.button == MouseButton::Left) {
        EndMoveSize(lock, false);
        return true;
    }
    if (e.type != InputEvent::Type::MouseMove) return true;  // everything else is swallowed
    const int dx = in.cursor.x - moveSize.startCursor.x;
    const int dy = in.cursor.y - moveSize.startCursor.y;
    gfx::Rect r = moveSize.startRect;
    if (moveSize.moving) {
        r = r.Offset(dx, dy);
        Send(lock, window, WM_MOVING, 0, reinterpret_cast<intptr_t>(&r));
        if (!moveSize.active || !Find(window)) return true;
        SetWindowPosLocked(lock, window, Window{}, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    const uintptr_t edge = moveSize.edge;
    const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    const MinMaxInfo& lim = moveSize.limits;
    const int minW = std::max(0, lim.minTrackSize.x);
    const int minH = std::max(0, lim.minTrackSize.y);
    const int maxW = std::max(minW, lim.maxTrackSize.x);
    const int maxH = std::max(minH, lim.maxTrackSize.y);
    const gfx::Rect s = moveSize.startRect;
    if (left) r.left = s.right - std::clamp(s.width() - dx, minW, maxW);
    if (right) r.right = s.left + std::clamp(s.width() + dx, minW, maxW);
    if (top) r.top = s.bottom - std::clamp(s.height() - dy, minH, maxH);
    if (bottom) r.bottom = s.top + std::clamp(s.height() + dy, minH, maxH);
    Send(lock, window, WM_SIZING, edge, reinterpret_cast<intptr_t>(&r));
    if (!moveSize.active || !Find(window)) return true;
    SetWindowPosLocked(lock, window, Window{}, r.left, r.top, std::max(0, r.width()), std::max(0, r.height()),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void SystemState::EndMoveSize(Lock& lock, bool cancel) {
    if (!moveSize.active) return;
    const Window window = moveSize.window;
    const gfx::Rect start = moveSize.startRect;
    moveSize = {};
    if (!Find(window)) return;
    if (cancel) {
        SetWindowPosLocked(lock, window, Window{}, start.left, start.top, start.width(), start.height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (capture == window) ReleaseCaptureLocked(lock);
    if (Find(window)) Send(lock, window, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace vexlo::win::detail
