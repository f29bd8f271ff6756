// What the system does with a message nobody handled.
#include "platform/win/detail/frame_metrics.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::Current;
using detail::Lock;
using detail::SystemState;
using detail::WindowData;

namespace {

bool IsChildWindow(const SystemState& s, const WindowData& d) {
    return (d.style & WS_CHILD) && d.parent && d.parent != s.desktop;
}

intptr_t DefaultHitTest(const SystemState& s, const WindowData& d, gfx::Point screen) {
    const gfx::Rect window = s.WindowScreenRect(d);
    if (!window.Contains(screen.x, screen.y)) return HTNOWHERE;
    const gfx::Rect client = s.ClientScreenRect(d);
    if (client.Contains(screen.x, screen.y)) return HTCLIENT;
    if (d.style & WS_THICKFRAME) {
        const int f = detail::kSizingFrameWidth;
        const int corner = f + detail::kCaptionHeight;
        const bool left = screen.x < window.left + f;
        const bool right = screen.x >= window.right - f;
        const bool top = screen.y < window.top + f;
        const bool bottom = screen.y >= window.bottom - f;
        const bool nearLeft = screen.x < window.left + corner;
        const bool nearRight = screen.x >= window.right - corner;
        const bool nearTop = screen.y < window.top + corner;
        const bool nearBottom = screen.y >= window.bottom - corner;
        if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
        if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
        if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
        if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    if ((d.style & WS_CAPTION) == WS_CAPTION && screen.y < client.top && screen.x >= client.left &&
        screen.x < client.right) {
        return HTCAPTION;
    }
    return HTBORDER;
}

uint32_t SizingCursorFor(intptr_t hit) {
    switch (hit) {
        case HTLEFT:
        case HTRIGHT: return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM: return IDC_SIZENS;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: return IDC_SIZENESW;
        default: return 0;
    }
}

}  // namespace

intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    SystemState* s = Current();
    if (!s) return 0;
    Lock lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return 0;
    switch (message) {
        case WM_NCCREATE:
            return 1;
        case WM_NCCALCSIZE: {
            if (wParam == 0 && lParam != 0) {
                auto* r = reinterpret_cast<gfx::Rect*>(lParam);
                if (d->style & WS_MINIMIZE) {
                    r->right = r->left;
                    r->bottom = r->top;
                } else {
                    const gfx::Rect in = detail::FrameInsets(d->style, d->exStyle);
                    r->left += in.left;
                    r->top += in.top;
                    r->right = std::max(r->left, r->right - in.right);
                    r->bottom = std::max(r->top, r->bottom - in.bottom);
                }
            }
            return 0;
        }
        case WM_NCHITTEST:
            return DefaultHitTest(*s, *d, {SignedLowWord(lParam), SignedHighWord(lParam)});
        case WM_SETCURSOR: {
            if (IsChildWindow(*s, *d)) {
                if (s->Send(lock, d->parent, WM_SETCURSOR, wParam, lParam)) return 1;
                if ((d = s->Find(window)) == nullptr) return 0;
            }
            const intptr_t hit = SignedLowWord(lParam);
            if (hit == HTERROR) return 0;
            if (hit == HTCLIENT) {
                if (d->cls->info.cursor) s->SetCursorLocked(d->cls->info.cursor);
                return 0;
            }
            const uint32_t sizing = SizingCursorFor(hit);
            lock.unlock();
            const Cursor c = LoadCursor(0, sizing ? sizing : IDC_ARROW);
            lock.lock();
            s->SetCursorLocked(c);
            return 0;
        }
        case WM_MOUSEACTIVATE: {
            if (IsChildWindow(*s, *d)) {
                const intptr_t r = s->Send(lock, d->parent, WM_MOUSEACTIVATE, wParam, lParam);
                if (r) return r;
            }
            return MA_ACTIVATE;
        }
        case WM_NCLBUTTONDOWN: {
            const intptr_t hit = static_cast<intptr_t>(wParam);
            if (hit == HTCAPTION) {
                s->Send(lock, window, WM_SYSCOMMAND, SC_MOVE | static_cast<uintptr_t>(HTCAPTION), lParam);
            } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
                s->Send(lock, window, WM_SYSCOMMAND, SC_SIZE + static_cast<uintptr_t>(hit - HTLEFT + 1), lParam);
            }
            return 0;
        }
        case WM_NCLBUTTONDBLCLK:
            if (static_cast<intptr_t>(wParam) == HTCAPTION && (d->style & WS_MAXIMIZEBOX)) {
                s->Send(lock, window, WM_SYSCOMMAND, (d->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            }
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    s->Send(lock, window, WM_CLOSE, 0, 0);
                    return 0;
                case SC_MINIMIZE:
                    s->ShowWindowLocked(lock, window, SW_MINIMIZE);
                    return 0;
                case SC_MAXIMIZE:
                    s->ShowWindowLocked(lock, window, SW_MAXIMIZE);
                    return 0;
                case SC_RESTORE:
                    s->ShowWindowLocked(lock, window, SW_RESTORE);
                    return 0;
                case SC_MOVE:
                    s->BeginMoveSize(lock, window, true, 0);
                    return 0;
                case SC_SIZE:
                    s->BeginMoveSize(lock, window, false, wParam & 0x000F);
                    return 0;
                default:
                    return 0;
            }
        case WM_CLOSE:
            s->DestroyWindowLocked(lock, window);
            return 0;
        case WM_ACTIVATE:
            if (LowWord(wParam) != WA_INACTIVE && HighWord(wParam) == 0) s->SetFocusLocked(lock, window);
            return 0;
        case WM_NCACTIVATE:
            return 1;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WindowPos*>(lParam);
            if (!pos) return 0;
            const gfx::Rect client = d->clientInWindow;
            const int cx = d->rect.left + client.left;
            const int cy = d->rect.top + client.top;
            const uintptr_t sizeType = (d->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (d->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
            if (!(pos->flags & SWP_NOMOVE)) s->Send(lock, window, WM_MOVE, 0, MakeLParam(cx, cy));
            if (!(pos->flags & SWP_NOSIZE) && s->Find(window)) {
                s->Send(lock, window, WM_SIZE, sizeType, MakeLParam(client.width(), client.height()));
            }
            return 0;
        }
        case WM_ERASEBKGND: {
            auto* surface = reinterpret_cast<gfx::Bitmap*>(wParam);
            const auto& bg = d->cls->info.background;
            if (!surface || !bg) return 0;
            const gfx::Region clip = d->paintClip.IsEmpty() ? gfx::Region(gfx::Rect{0, 0, surface->width(), surface->height()})
                                                            : d->paintClip;
            for (const gfx::Rect& r : clip.Rects()) {
                const gfx::Rect c = r.Intersect({0, 0, surface->width(), surface->height()});
                for (int y = c.top; y < c.bottom; ++y) {
                    std::fill(surface->row(y) + c.left, surface->row(y) + c.right, *bg);
                }
            }
            return 1;
        }
        case WM_PAINT: {
            lock.unlock();
            PaintStruct ps;
            if (BeginPaint(window, &ps)) EndPaint(window, &ps);
            return 0;
        }
        case WM_SETTEXT: {
            const auto* text = reinterpret_cast<const char16_t*>(lParam);
            d->text = text ? std::u16string(text) : std::u16string();
            s->SyncNative(*d);
            return 1;
        }
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<char16_t*>(lParam);
            if (!buffer || wParam == 0) return 0;
            const size_t n = std::min(d->text.size(), static_cast<size_t>(wParam) - 1);
            std::copy_n(d->text.data(), n, buffer);
            buffer[n] = 0;
            return static_cast<intptr_t>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<intptr_t>(d->text.size());
        case WM_SETICON: {
            Icon& slot = wParam == ICON_BIG ? d->bigIcon : d->smallIcon;
            const Icon old = slot;
            slot = Icon::FromValue(static_cast<uintptr_t>(lParam));
            return static_cast<intptr_t>(old.value());
        }
        case WM_GETICON:
            return static_cast<intptr_t>((wParam == ICON_BIG ? d->bigIcon : d->smallIcon).value());
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
        case WM_CONTEXTMENU:
            if (IsChildWindow(*s, *d)) return s->Send(lock, d->parent, message, wParam, lParam);
            return 0;
        case WM_RBUTTONUP: {
            gfx::Point p{SignedLowWord(lParam), SignedHighWord(lParam)};
            const gfx::Rect c = s->ClientScreenRect(*d);
            s->Send(lock, window, WM_CONTEXTMENU, window.value(), MakeLParam(p.x + c.left, p.y + c.top));
            return 0;
        }
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (lParam & (intptr_t{1} << 29))) {
                const Window root = s->RootOf(window);
                s->Send(lock, root, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_CANCELMODE:
            if (s->moveSize.active && s->moveSize.window == window) s->EndMoveSize(lock, true);
            if (s->capture == window) s->ReleaseCaptureLocked(lock);
            return 0;
        default:
            return 0;
    }
}

}  // namespace vexlo::win
