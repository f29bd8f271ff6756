#include "ui/core/window_proc.h"

#include <vector>

#include "platform/win/tooltip.h"
#include "platform/win/window_api.h"
#include "ui/core/du_window.h"
#include "ui/core/notification.h"
#include "ui/core/painting.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/window_manager.h"
#include "ui/core/window_record.h"

namespace vexlo::ui {
namespace {

using namespace win;

constexpr uint32_t kHoverTimeMs = 200;
constexpr uint32_t kFirstMouseMessage = 512;
constexpr uint32_t kLastMouseMessage = 526;
constexpr uint32_t kRootActiveState = 31;
constexpr uint32_t kRootInactiveState = 15616;
constexpr uintptr_t kEditTookFocus = 256;
constexpr uintptr_t kSizeCommandBase = 61431;

bool IsMouseMessage(uint32_t m) { return m >= kFirstMouseMessage && m <= kLastMouseMessage; }

duWindow* RootWindow(WindowRecord& r) {
    duPlugin* root = r.root();
    return IsPluginValid(root) ? dynamic_cast<duWindow*>(root) : nullptr;
}

duPlugin* Usable(const PluginRef& ref) {
    duPlugin* p = ref.get();
    return p && !p->IsDisable() ? p : nullptr;
}

// The capture control when the host window really holds the mouse capture.
duPlugin* ActiveCapture(WindowRecord& r) {
    duPlugin* c = r.capture.get();
    return c && GetCapture() == r.hostWindow ? c : nullptr;
}

duPlugin* HitTestControls(WindowRecord& r, int x, int y) {
    if (!r.zorder) return nullptr;
    for (duPlugin* p : r.zorder->FrontToBack()) {
        if (!IsPluginShown(p)) continue;
        gfx::Rect rect, visible;
        p->GetRect(&rect);
        GetVisibleRect(p, &visible);
        if (rect.Contains(x, y) && visible.Contains(x, y)) return p;
    }
    return nullptr;
}

void TakeSystemFocus(Window host) {
    if (GetClassName(host) != kMenuWindowClass) SetFocus(host);
}

// The focus follows a press onto a control that is neither the focus nor the root.
void MoveFocusToHover(WindowRecord& r) {
    duPlugin* hover = r.hover.get();
    if (hover && !r.focus.Is(hover) && hover != r.root()) SetFocusPlugin(&r, hover);
}

void SetSizingCursor(uint32_t id) { SetCursor(LoadCursor(0, id)); }

// Delivers a mouse message to the capture control alone.
void RouteToCapture(duPlugin* capture, uint32_t m, intptr_t l) {
    uint32_t id = 0;
    switch (m) {
        case WM_MOUSEMOVE: id = kPluginMouseMove; break;
        case WM_LBUTTONDOWN: id = kPluginMouseLDown; break;
        case WM_LBUTTONUP: id = kPluginMouseLUp; break;
        case WM_LBUTTONDBLCLK: id = kPluginMouseDbClick; break;
        case WM_RBUTTONDOWN: id = kPluginMouseRDown; break;
        case WM_RBUTTONUP: id = kPluginMouseRUp; break;
        default: return;
    }
    DispatchPluginMessage(capture, id, 0, l);
}

class Procedure {
public:
    Procedure(WindowRecord& r, Window h, uint32_t m, uintptr_t w, intptr_t l) : r_(r), host_(h), m_(m), w_(w), l_(l) {}

    intptr_t Run();

private:
    bool Gone() const { return r_.destroyed; }
    intptr_t Previous() const {
        // A handler may have destroyed the record: the system's default answers then.
        if (!Gone() && r_.previousProc && GetProp(host_, kRecordProperty)) {
            return CallWindowProc(r_.previousProc, host_, m_, w_, l_);
        }
        return DefWindowProc(host_, m_, w_, l_);
    }
    gfx::Point MousePoint() const { return {SignedLowWord(l_), SignedHighWord(l_)}; }
    void Track();
    void RunHooks();
    void RouteMouse();
    intptr_t HandleMessage();
    void SendToHover(uint32_t id) {
        if (duPlugin* hover = Usable(r_.hover)) DispatchPluginMessage(hover, id, w_, l_);
    }

    WindowRecord& r_;
    Window host_;
    uint32_t m_;
    uintptr_t w_;
    intptr_t l_;
};

void Procedure::Track() {
    TrackMouseEventInfo track;
    track.flags = TME_HOVER | TME_LEAVE;
    track.window = host_;
    track.hoverTime = kHoverTimeMs;
    TrackMouseEvent(&track);
}

void Procedure::RunHooks() {
    const std::vector<PluginRef> hooks = r_.hooks;
    for (const PluginRef& ref : hooks) {
        if (Gone()) return;
        if (duPlugin* hook = Usable(ref)) hook->OnWndProc(host_, m_, w_, l_);
    }
}

void Procedure::RouteMouse() {
    gfx::Point point = MousePoint();
    if (m_ == WM_MOUSEWHEEL || m_ == WM_MOUSEHWHEEL) {
        // Wheel messages carry screen coordinates.
        ScreenToClient(host_, &point);
    }
    if (IsWindow(r_.tooltip)) {
        Msg relay;
        relay.window = host_;
        relay.message = m_;
        relay.wParam = w_;
        relay.lParam = l_;
        relay.time = GetMessageTime();
        GetCursorPos(&relay.pt);
        SendMessage(r_.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<intptr_t>(&relay));
        if (Gone()) return;
    }
    const intptr_t at = MakeLParam(point.x, point.y);
    duPlugin* hit = HitTestControls(r_, point.x, point.y);
    if (hit && !r_.hover.Is(hit)) {
        PluginRef hitRef(hit);
        if (duPlugin* old = Usable(r_.hover)) DispatchPluginMessage(old, kPluginMouseLeave, 0, at);
        if (Gone()) return;
        if (duPlugin* entered = Usable(hitRef)) DispatchPluginMessage(entered, kPluginMouseIn, 0, at);
        if (Gone()) return;
        if (hitRef.alive()) r_.hover = hitRef;
    }
    if (duPlugin* hover = Usable(r_.hover)) DispatchPluginMessage(hover, kPluginMouseMove, 0, at);
}

intptr_t Procedure::Run() {
    // A disabled window that is not active sees nothing, but its destruction must still
    // reach the record, or the record and its controls would outlive the window.
    if (GetActiveWindow() != host_ && !IsWindowEnabled(host_) && m_ != WM_DESTROY && m_ != WM_NCDESTROY) {
        return DefWindowProc(host_, m_, w_, l_);
    }
    const bool mouse = IsMouseMessage(m_);
    if (mouse) {
        Track();
        if (duPlugin* capture = ActiveCapture(r_)) {
            RouteToCapture(capture, m_, l_);
            return Previous();
        }
    }
    RunHooks();
    if (Gone()) return DefWindowProc(host_, m_, w_, l_);
    if (mouse) {
        RouteMouse();
        if (Gone()) return DefWindowProc(host_, m_, w_, l_);
    }
    return HandleMessage();
}

intptr_t Procedure::HandleMessage() {
    switch (m_) {
        case WM_PAINT: {
            if (w_) {
                PaintWindow(&r_, reinterpret_cast<gfx::Bitmap*>(w_));
            } else {
                PaintStruct ps;
                if (gfx::Bitmap* surface = BeginPaint(host_, &ps)) {
                    PaintWindow(&r_, surface);
                    EndPaint(host_, &ps);
                }
            }
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_SETCURSOR: {
            switch (LowWord(static_cast<uintptr_t>(l_))) {
                case HTTOP:
                case HTBOTTOM: SetSizingCursor(IDC_SIZENS); return 0;
                case HTTOPRIGHT:
                case HTBOTTOMLEFT: SetSizingCursor(IDC_SIZENESW); return 0;
                case HTTOPLEFT:
                case HTBOTTOMRIGHT: SetSizingCursor(IDC_SIZENWSE); return 0;
                case HTLEFT:
                case HTRIGHT: SetSizingCursor(IDC_SIZEWE); return 0;
                default: break;
            }
            duPlugin* hover = r_.hover.get();
            if (!hover) return 0;
            if (hover->IsDisable()) {
                SetCursor(LoadCursor(0, IDC_ARROW));
                return 1;
            }
            return hover->OnSetCursor();
        }
        case WM_GETMINMAXINFO:
            if (duWindow* root = RootWindow(r_); root && l_) root->FillMinMaxInfo(*reinterpret_cast<MinMaxInfo*>(l_));
            break;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WindowPos*>(l_);
            duWindow* root = RootWindow(r_);
            if (pos && root && !(pos->flags & SWP_NOSIZE)) {
                gfx::Rect client;
                GetClientRect(host_, &client);
                root->SetRect(&client);
                root->Resize(nullptr);
                if (IsLayeredWindow(host_)) PaintWindow(&r_, nullptr);
                else root->ApplyRegion();
            }
            break;
        }
        case WM_NCDESTROY: {
            const intptr_t answer = Previous();
            DestroyWindowRecord(&r_);
            return answer;
        }
        case WM_NCHITTEST: {
            duWindow* root = RootWindow(r_);
            if (!root) break;
            gfx::Point p = MousePoint();
            ScreenToClient(host_, &p);
            return root->HitTest(p.x, p.y);
        }
        case WM_NCACTIVATE:
            if (duPlugin* root = r_.root(); IsPluginValid(root)) {
                root->SetState(w_ ? kRootActiveState : kRootInactiveState);
                // Layered windows are never asked to paint: they show the new state now.
                if (IsLayeredWindow(host_)) PaintWindow(&r_, nullptr);
                else InvalidateRect(host_, nullptr, false);
            }
            break;
        case WM_GETDLGCODE: return 4;
        case WM_NCLBUTTONDOWN:
            if (w_ >= static_cast<uintptr_t>(HTLEFT) && w_ <= static_cast<uintptr_t>(HTBOTTOMRIGHT)) {
                SendMessage(host_, WM_SYSCOMMAND, kSizeCommandBase + w_, l_);
            }
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (duPlugin* focus = Usable(r_.focus)) {
                const auto repeat = LowWord(static_cast<uintptr_t>(l_));
                const auto flags = HighWord(static_cast<uintptr_t>(l_));
                if (m_ == WM_KEYDOWN) focus->OnKeyDown(static_cast<uint32_t>(w_), repeat, flags);
                else focus->OnKeyUp(static_cast<uint32_t>(w_), repeat, flags);
            }
            break;
        case WM_COMMAND:
            if (HighWord(w_) == kEditTookFocus) SetFocusPlugin(&r_, r_.root());
            break;
        case WM_TIMER: {
            const auto id = static_cast<uint32_t>(w_);
            if (id == r_.caretTimerId) {
                if (IsLayeredWindow(host_)) r_.BlinkCaret();
                else KillTimer(host_, w_);
                break;
            }
            auto it = r_.timers.find(id);
            if (it == r_.timers.end()) break;
            if (duPlugin* owner = it->second.get()) {
                owner->OnTimer(id);
            } else {
                KillTimer(host_, w_);
                r_.timers.erase(it);
            }
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            TakeSystemFocus(host_);
            if (Gone()) break;
            SendToHover(m_ == WM_LBUTTONDOWN   ? kPluginMouseLDown
                        : m_ == WM_RBUTTONDOWN ? kPluginMouseRDown
                                               : kPluginMouseDbClick);
            if (!Gone()) MoveFocusToHover(r_);
            break;
        case WM_LBUTTONUP: SendToHover(kPluginMouseLUp); break;
        case WM_RBUTTONUP: SendToHover(kPluginMouseRUp); break;
        case WM_MOUSEWHEEL:
            if (duPlugin* focus = Usable(r_.focus)) DispatchPluginMessage(focus, kPluginMouseWheel, w_, l_);
            break;
        case WM_ENTERSIZEMOVE: r_.moving = true; break;
        case WM_EXITSIZEMOVE: r_.moving = false; break;
        case WM_MOUSEHOVER:
            if (duPlugin* capture = ActiveCapture(r_)) DispatchPluginMessage(capture, kPluginMouseHover, w_, l_);
            else SendToHover(kPluginMouseHover);
            break;
        case WM_MOUSELEAVE:
            if (duPlugin* capture = ActiveCapture(r_)) {
                DispatchPluginMessage(capture, kPluginMouseLeave, 0, 0);
            } else {
                if (duPlugin* hover = Usable(r_.hover)) DispatchPluginMessage(hover, kPluginMouseLeave, 0, 0);
                if (!Gone()) r_.hover = PluginRef(r_.root());
            }
            break;
        default: break;
    }
    return Previous();
}

}  // namespace

intptr_t LibraryWindowProc(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    WindowRecord* record = GetWindowRecord(window);
    if (!record) return DefWindowProc(window, message, wParam, lParam);
    DispatchScope scope;  // the record and controls stay in memory until this unwinds
    return Procedure(*record, window, message, wParam, lParam).Run();
}

}  // namespace vexlo::ui
