// X events into the window system's native input: the pointer, buttons and wheels, keys
// and characters, the foreground going to other programs and back, and the window
// manager's requests.
#include "platform/base/text.h"
#include "platform/win/keys.h"
#include "platform/win/messages.h"
#include "platform/x11/backend_impl.h"

#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <string>

namespace vexlo::x11 {

using platform::Utf8ToWide;
using platform::WideToUtf8;

using win::InputEvent;
using Type = InputEvent::Type;

namespace {

Time TimeOf(const XEvent& e) {
    switch (e.type) {
        case KeyPress:
        case KeyRelease: return e.xkey.time;
        case ButtonPress:
        case ButtonRelease: return e.xbutton.time;
        case MotionNotify: return e.xmotion.time;
        case EnterNotify:
        case LeaveNotify: return e.xcrossing.time;
        case PropertyNotify: return e.xproperty.time;
        default: return CurrentTime;
    }
}

std::u16string Latin1ToWide(const char* bytes, int count) {
    std::u16string out;
    for (int i = 0; i < count; ++i) out.push_back(static_cast<unsigned char>(bytes[i]));
    return out;
}

}  // namespace

gfx::Point X11Backend::Impl::PointerPoint(::Window xwindow, int x, int y, int rootX, int rootY) const {
    // Relative to the window where the window system believes it is: what the user
    // points at stays right even if a window manager placed the window elsewhere.
    auto it = byXid.find(xwindow);
    if (it != byXid.end()) {
        auto w = windows.find(it->second);
        if (w != windows.end()) return {gfx::SaturatingAdd(w->second.state.rect.left, x), gfx::SaturatingAdd(w->second.state.rect.top, y)};
    }
    return {rootX, rootY};
}

void X11Backend::Impl::PushMove(std::vector<InputEvent>& out, gfx::Point p) {
    lastPointer = p;
    // Moves that queued up while nobody read them count only for where they end.
    if (!out.empty() && out.back().type == Type::MouseMove) {
        out.back().point = p;
        return;
    }
    InputEvent e;
    e.type = Type::MouseMove;
    e.point = p;
    out.push_back(e);
}

void X11Backend::Impl::HandleButton(XButtonEvent& b, std::vector<InputEvent>& out) {
    keys.SyncModifiers(b.state, out);
    const gfx::Point p = PointerPoint(b.window, b.x, b.y, b.x_root, b.y_root);
    if (p != lastPointer) PushMove(out, p);
    const bool press = b.type == ButtonPress;
    InputEvent e;
    e.point = p;
    switch (b.button) {
        case Button1: e.button = win::MouseButton::Left; break;
        case Button2: e.button = win::MouseButton::Middle; break;
        case Button3: e.button = win::MouseButton::Right; break;
        case Button4:
        case Button5:
            if (!press) return;
            e.type = Type::Wheel;
            e.wheelDelta = b.button == Button4 ? win::WHEEL_DELTA : -win::WHEEL_DELTA;
            out.push_back(e);
            return;
        case 6:
        case 7:
            if (!press) return;
            e.type = Type::HorizontalWheel;
            e.wheelDelta = b.button == 7 ? win::WHEEL_DELTA : -win::WHEEL_DELTA;
            out.push_back(e);
            return;
        default: return;
    }
    e.type = press ? Type::ButtonDown : Type::ButtonUp;
    out.push_back(e);
}

void X11Backend::Impl::HandleKey(XKeyEvent& k, std::vector<InputEvent>& out) {
    if (k.type == KeyRelease) {
        keys.Release(k.keycode, k.state, out);
        return;
    }
    KeyStroke stroke;
    stroke.keycode = k.keycode;
    stroke.state = k.state;
    NativeWindow* w = FindByXid(k.window);
    KeySym keysym = NoSymbol;
    if (w && w->inputContext) {
        char buffer[64];
        Status status = 0;
        int n = Xutf8LookupString(w->inputContext, &k, buffer, sizeof buffer, &keysym, &status);
        std::string text;
        if (status == XBufferOverflow && n > 0 && n <= 4096) {
            text.resize(static_cast<size_t>(n));
            n = Xutf8LookupString(w->inputContext, &k, text.data(), n, &keysym, &status);
            text.resize(static_cast<size_t>(std::max(n, 0)));
        } else if (status == XLookupChars || status == XLookupBoth) {
            text.assign(buffer, static_cast<size_t>(std::max(n, 0)));
        }
        if (status == XLookupChars || status == XLookupBoth) stroke.text = Utf8ToWide(text);
        if (status != XLookupKeySym && status != XLookupBoth) keysym = NoSymbol;
    } else {
        char buffer[32];
        const int n = XLookupString(&k, buffer, sizeof buffer, &keysym, nullptr);
        stroke.text = Latin1ToWide(buffer, std::clamp(n, 0, static_cast<int>(sizeof buffer)));
    }
    stroke.keysym = keysym;
    stroke.plainKeysym = XLookupKeysym(&k, 0);
    stroke.shiftedKeysym = XLookupKeysym(&k, 1);
    keys.Press(stroke, out);
}

void X11Backend::Impl::HandleClientMessage(XClientMessageEvent& m, std::vector<InputEvent>& out) {
    if (m.message_type == atoms.WM_PROTOCOLS && m.format == 32) {
        const Atom protocol = static_cast<Atom>(m.data.l[0]);
        if (protocol == atoms._NET_WM_PING) {
            XEvent reply{};
            reply.xclient = m;
            reply.xclient.window = root;
            XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &reply);
        } else if (protocol == atoms.WM_DELETE_WINDOW) {
            // The window manager's close: the system's close keys on the active window,
            // which the window system turns into its close command.
            const NativeWindow* w = FindByXid(m.window);
            if (w && w->state.active) {
                for (auto [type, key] : {std::pair{Type::KeyDown, win::VK_MENU}, std::pair{Type::KeyDown, win::VK_F4},
                                         std::pair{Type::KeyUp, win::VK_F4}, std::pair{Type::KeyUp, win::VK_MENU}}) {
                    InputEvent e;
                    e.type = type;
                    e.virtualKey = key;
                    out.push_back(e);
                }
            }
        }
        return;
    }
    if (m.window == root && m.message_type == atoms.MANAGER && m.format == 32 &&
        static_cast<Atom>(m.data.l[1]) == atoms.traySelection) {
        TrayManagerAppeared();
    }
}

void X11Backend::Impl::ProcessEvent(XEvent& event, std::vector<InputEvent>& out) {
    if (const Time t = TimeOf(event); t != CurrentTime) lastEventTime = t;
    if (xfixes && event.type == xfixesEventBase + XFixesSelectionNotify) {
        const auto& e = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
        if (e.selection == atoms.compositorSelection && CheckCompositor()) {
            // Windows with per-pixel alpha need the other visual now.
            for (auto& [handle, w] : windows) {
                if (w.xid && w.alphaVisual != WantsAlphaVisual(w)) Recreate(w);
            }
        }
        return;
    }
    if (TrayIcon* icon = FindTrayByXid(event.xany.window)) {
        HandleTrayEvent(*icon, event, out);
        return;
    }
    switch (event.type) {
        case MotionNotify: {
            const XMotionEvent& m = event.xmotion;
            PushMove(out, PointerPoint(m.window, m.x, m.y, m.x_root, m.y_root));
            break;
        }
        case ButtonPress:
        case ButtonRelease:
            HandleButton(event.xbutton, out);
            break;
        case EnterNotify: {
            const XCrossingEvent& c = event.xcrossing;
            if (c.mode == NotifyNormal || c.mode == NotifyUngrab) {
                PushMove(out, PointerPoint(c.window, c.x, c.y, c.x_root, c.y_root));
            }
            break;
        }
        case LeaveNotify: {
            const XCrossingEvent& c = event.xcrossing;
            // Where the pointer went: the window system finds out what lies there.
            if (c.mode == NotifyNormal && c.detail != NotifyInferior && FindByXid(c.window)) {
                PushMove(out, {c.x_root, c.y_root});
            }
            break;
        }
        case KeyPress:
        case KeyRelease:
            HandleKey(event.xkey, out);
            break;
        case FocusIn:
        case FocusOut: {
            const XFocusChangeEvent& f = event.xfocus;
            if (f.mode == NotifyGrab || f.mode == NotifyUngrab) break;
            if (NativeWindow* w = FindByXid(f.window); w && w->inputContext) {
                if (event.type == FocusIn) XSetICFocus(w->inputContext); else XUnsetICFocus(w->inputContext);
            }
            focusCheckPending = true;
            break;
        }
        case MapNotify:
            if (NativeWindow* w = FindByXid(event.xmap.window)) {
                w->viewable = true;
                if (w->focusWanted) {
                    w->focusWanted = false;
                    if (w->state.active) Focus(*w);
                }
            }
            break;
        case UnmapNotify:
            if (NativeWindow* w = FindByXid(event.xunmap.window)) w->viewable = false;
            break;
        case ClientMessage:
            HandleClientMessage(event.xclient, out);
            break;
        case SelectionRequest:
            ServeSelection(event.xselectionrequest);
            break;
        case SelectionClear:
            if (event.xselectionclear.selection == atoms.CLIPBOARD && event.xselectionclear.window == helper) {
                clipboardText.reset();
            }
            break;
        case MappingNotify:
            if (event.xmapping.request == MappingKeyboard || event.xmapping.request == MappingModifier) {
                XRefreshKeyboardMapping(&event.xmapping);
            }
            break;
        default:
            break;
    }
}

void X11Backend::Impl::FinishBatch(std::vector<InputEvent>& out) {
    if (!focusCheckPending) return;
    focusCheckPending = false;
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    const bool ours = FindByXid(focus) != nullptr || FindTrayByXid(focus) != nullptr;
    // The keyboard at the root or following the pointer belongs to nobody in particular.
    const bool foreign = !ours && focus != None && focus != PointerRoot && focus != root;
    if (foreign && !reportedInactive) {
        keys.ReleaseAll(out);
        InputEvent e;
        e.type = Type::AppDeactivated;
        out.push_back(e);
        reportedInactive = true;
    } else if (ours && reportedInactive) {
        InputEvent e;
        e.type = Type::AppActivated;
        out.push_back(e);
        reportedInactive = false;
    }
}

}  // namespace vexlo::x11
