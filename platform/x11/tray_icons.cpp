// The notification-area icon as a client of the freedesktop system tray: a small window
// docked into the tray that owns the tray selection, drawn from the icon's picture, whose
// clicks reach the window system as clicks on the icon. Without a tray, adding fails.
#include "platform/base/text.h"
#include "platform/win/messages.h"
#include "platform/x11/backend_impl.h"
#include "platform/x11/properties.h"

#include <X11/Xatom.h>

#include <algorithm>

namespace vexlo::x11 {

using platform::Utf8ToWide;
using platform::WideToUtf8;

using win::InputEvent;
using Type = InputEvent::Type;

namespace {

constexpr long kSystemTrayRequestDock = 0;
constexpr unsigned long kXembedMapped = 1;

uint32_t TrayMessageOf(const XButtonEvent& b) {
    const bool down = b.type == ButtonPress;
    switch (b.button) {
        case Button1: return down ? win::WM_LBUTTONDOWN : win::WM_LBUTTONUP;
        case Button2: return down ? win::WM_MBUTTONDOWN : win::WM_MBUTTONUP;
        case Button3: return down ? win::WM_RBUTTONDOWN : win::WM_RBUTTONUP;
        default: return 0;
    }
}

}  // namespace

TrayIcon* X11Backend::Impl::FindTray(win::Window owner, uint32_t id) {
    for (auto& t : trayIcons) {
        if (t.owner == owner && t.id == id) return &t;
    }
    return nullptr;
}

TrayIcon* X11Backend::Impl::FindTrayByXid(::Window xid) {
    if (!xid) return nullptr;
    for (auto& t : trayIcons) {
        if (t.xid == xid) return &t;
    }
    return nullptr;
}

::Window X11Backend::Impl::TrayManager() { return XGetSelectionOwner(display, atoms.traySelection); }

bool X11Backend::Impl::Dock(TrayIcon& icon, ::Window manager) {
    if (!manager || !icon.xid) return false;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = manager;
    e.xclient.message_type = atoms._NET_SYSTEM_TRAY_OPCODE;
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(lastEventTime);
    e.xclient.data.l[1] = kSystemTrayRequestDock;
    e.xclient.data.l[2] = static_cast<long>(icon.xid);
    ErrorTrap trap(display);  // the tray may have gone since we asked for it
    XSendEvent(display, manager, False, NoEventMask, &e);
    return trap.Sync();
}

void X11Backend::Impl::DrawTrayIcon(TrayIcon& icon) {
    if (!icon.xid) return;
    XClearWindow(display, icon.xid);
    if (icon.icon.empty() || !render || !argbPictFormat) return;
    XRenderPictFormat* target = XRenderFindVisualFormat(display, icon.visual);
    if (!target) return;
    const int iw = icon.icon.width(), ih = icon.icon.height();
    const Pixmap source = XCreatePixmap(display, icon.xid, static_cast<unsigned>(iw), static_cast<unsigned>(ih), 32);
    PutPixels(source, GcForDepth(32, source), 32, icon.icon);
    const Picture from = XRenderCreatePicture(display, source, argbPictFormat, 0, nullptr);
    const Picture to = XRenderCreatePicture(display, icon.xid, target, 0, nullptr);
    // The picture fills the place the tray gives, keeping its proportions.
    const double scale = std::min(static_cast<double>(icon.size.width) / iw, static_cast<double>(icon.size.height) / ih);
    const int dw = std::max(1, static_cast<int>(iw * scale + 0.5)), dh = std::max(1, static_cast<int>(ih * scale + 0.5));
    if (scale != 1.0) {
        XTransform t{};
        t.matrix[0][0] = XDoubleToFixed(1.0 / scale);
        t.matrix[1][1] = XDoubleToFixed(1.0 / scale);
        t.matrix[2][2] = XDoubleToFixed(1.0);
        XRenderSetPictureTransform(display, from, &t);
        XRenderSetPictureFilter(display, from, const_cast<char*>(FilterBilinear), nullptr, 0);
    }
    XRenderComposite(display, PictOpOver, from, None, to, 0, 0, 0, 0, (icon.size.width - dw) / 2,
                     (icon.size.height - dh) / 2, static_cast<unsigned>(dw), static_cast<unsigned>(dh));
    XRenderFreePicture(display, to);
    XRenderFreePicture(display, from);
    XFreePixmap(display, source);
}

void X11Backend::Impl::DestroyTrayIcon(TrayIcon& icon) {
    if (trayTip.icon == icon.xid && icon.xid) HideTrayTip();
    if (icon.xid) XDestroyWindow(display, icon.xid);
    if (icon.colormap) XFreeColormap(display, icon.colormap);
    icon.xid = 0;
    icon.colormap = 0;
}

void X11Backend::Impl::HandleTrayEvent(TrayIcon& icon, XEvent& event, std::vector<InputEvent>& out) {
    auto tray = [&](uint32_t message, gfx::Point p) {
        // The cursor is where the icon was clicked; the window system reads it there.
        PushMove(out, p);
        InputEvent e;
        e.type = Type::TrayMouse;
        e.point = p;
        e.trayWindow = icon.owner;
        e.trayId = icon.id;
        e.trayMessage = message;
        out.push_back(e);
    };
    switch (event.type) {
        case ButtonPress:
        case ButtonRelease:
            if (event.type == ButtonPress) HideTrayTip();
            if (const uint32_t m = TrayMessageOf(event.xbutton)) tray(m, {event.xbutton.x_root, event.xbutton.y_root});
            break;
        case MotionNotify:
            tray(win::WM_MOUSEMOVE, {event.xmotion.x_root, event.xmotion.y_root});
            ScheduleTrayTip(icon, {event.xmotion.x_root, event.xmotion.y_root});
            break;
        case EnterNotify:
            ScheduleTrayTip(icon, {event.xcrossing.x_root, event.xcrossing.y_root});
            break;
        case LeaveNotify:
            if (trayTip.icon == icon.xid) HideTrayTip();
            break;
        case Expose:
            if (event.xexpose.count == 0) DrawTrayIcon(icon);
            break;
        case ConfigureNotify:
            icon.size = {std::max(1, event.xconfigure.width), std::max(1, event.xconfigure.height)};
            DrawTrayIcon(icon);
            break;
        case ReparentNotify:
            icon.embedded = event.xreparent.parent != root;
            // The tray went away and the server gave the window back: keep it out of sight
            // until the next tray takes it.
            if (!icon.embedded) XUnmapWindow(display, icon.xid);
            break;
        default:
            break;
    }
}

void X11Backend::Impl::TrayManagerAppeared() {
    const ::Window manager = TrayManager();
    for (auto& icon : trayIcons) {
        if (!icon.embedded) Dock(icon, manager);
    }
}

bool X11Backend::AddTrayIcon(const win::TrayIconState& state) {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    if (s.FindTray(state.window, state.id)) {
        s.AfterRequests();
        return false;
    }
    const ::Window manager = s.TrayManager();
    if (!manager) {
        s.AfterRequests();
        return false;
    }
    TrayIcon icon;
    icon.owner = state.window;
    icon.id = state.id;
    icon.tip = state.tip;
    if (state.icon) icon.icon = *state.icon;
    // The tray may ask for a visual of its own (one with alpha, when it composites).
    icon.visual = s.visual;
    icon.depth = s.depth;
    const auto wanted = ReadProperty32(s.display, manager, s.atoms._NET_SYSTEM_TRAY_VISUAL, XA_VISUALID, 1);
    if (!wanted.empty()) {
        XVisualInfo pattern{};
        pattern.visualid = wanted[0];
        pattern.screen = s.screen;
        int count = 0;
        if (XVisualInfo* found = XGetVisualInfo(s.display, VisualIDMask | VisualScreenMask, &pattern, &count)) {
            if (count > 0 && found[0].depth == 32) {
                icon.visual = found[0].visual;
                icon.depth = 32;
                icon.alphaVisual = true;
            }
            XFree(found);
        }
    }
    XSetWindowAttributes a{};
    unsigned long mask = CWEventMask | CWBorderPixel;
    a.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                   ExposureMask | StructureNotifyMask;
    a.border_pixel = 0;
    if (icon.alphaVisual) {
        icon.colormap = XCreateColormap(s.display, s.root, icon.visual, AllocNone);
        a.colormap = icon.colormap;
        a.background_pixel = 0;
        mask |= CWColormap | CWBackPixel;
    } else {
        a.background_pixmap = ParentRelative;
        mask |= CWBackPixmap;
    }
    icon.xid = XCreateWindow(s.display, s.root, 0, 0, static_cast<unsigned>(icon.size.width),
                             static_cast<unsigned>(icon.size.height), 0, icon.depth, InputOutput, icon.visual, mask, &a);
    SetProperty32(s.display, icon.xid, s.atoms._XEMBED_INFO, s.atoms._XEMBED_INFO, {0, kXembedMapped});
    XClassHint classHint{};
    classHint.res_name = const_cast<char*>("vexlo-updater");
    classHint.res_class = const_cast<char*>("Vexlo");
    XSetClassHint(s.display, icon.xid, &classHint);
    SetProperty8(s.display, icon.xid, s.atoms._NET_WM_NAME, s.atoms.UTF8_STRING, WideToUtf8(icon.tip));
    if (!s.Dock(icon, manager)) {
        s.DestroyTrayIcon(icon);
        s.AfterRequests();
        return false;
    }
    s.trayIcons.push_back(std::move(icon));
    s.AfterRequests();
    return true;
}

void X11Backend::UpdateTrayIcon(const win::TrayIconState& state) {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    if (TrayIcon* icon = s.FindTray(state.window, state.id)) {
        icon->icon = state.icon ? *state.icon : gfx::Bitmap{};
        if (icon->tip != state.tip) {
            if (s.trayTip.icon == icon->xid) s.HideTrayTip();
            icon->tip = state.tip;
            SetProperty8(s.display, icon->xid, s.atoms._NET_WM_NAME, s.atoms.UTF8_STRING, WideToUtf8(icon->tip));
        }
        s.DrawTrayIcon(*icon);
    }
    s.AfterRequests();
}

void X11Backend::RemoveTrayIcon(win::Window window, uint32_t id) {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    auto it = std::find_if(s.trayIcons.begin(), s.trayIcons.end(),
                           [&](const TrayIcon& t) { return t.owner == window && t.id == id; });
    if (it != s.trayIcons.end()) {
        s.DestroyTrayIcon(*it);
        s.trayIcons.erase(it);
    }
    s.AfterRequests();
}

unsigned long X11Backend::TrayIconWindowId(win::Window window, uint32_t id) const {
    std::lock_guard lock(impl_->mutex);
    const TrayIcon* icon = impl_->FindTray(window, id);
    return icon ? icon->xid : 0;
}

}  // namespace vexlo::x11
