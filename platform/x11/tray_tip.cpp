// The notification-area icon's tip: a small framed box with the icon's text, as the shell
// draws it, shown when the mouse has rested on the icon.
#include "platform/gfx/draw_context.h"
#include "platform/text/text_format.h"
#include "platform/x11/backend_impl.h"
#include "platform/x11/properties.h"

#include <X11/Xatom.h>

#include <algorithm>

namespace vexlo::x11 {
namespace {

constexpr int64_t kTipDelayMs = 500;     // the double-click time, as the shell waits
constexpr int64_t kTipLifetimeMs = 5000;  // ten times that
constexpr int kPadding = 2;

}  // namespace

void X11Backend::Impl::ScheduleTrayTip(TrayIcon& icon, gfx::Point cursor) {
    if (trayTip.shown && trayTip.icon == icon.xid) return;
    HideTrayTip();
    if (icon.tip.empty()) return;
    trayTip.icon = icon.xid;
    trayTip.cursor = cursor;
    trayTip.showAt = Now() + kTipDelayMs;  // the wait that handles this event takes it in
}

void X11Backend::Impl::HideTrayTip() {
    trayTip.showAt = trayTip.hideAt = -1;
    trayTip.icon = 0;
    if (trayTip.shown && trayTip.xid) XUnmapWindow(display, trayTip.xid);
    trayTip.shown = false;
}

void X11Backend::Impl::ShowTrayTip() {
    trayTip.showAt = -1;
    TrayIcon* icon = FindTrayByXid(trayTip.icon);
    if (!icon || icon->tip.empty()) return;
    gfx::Bitmap scratch(1, 1);
    gfx::Rect measured{0, 0, 4096, 0};
    {
        gfx::DrawContext dc(scratch);
        dc.DrawText(icon->tip, measured, text::DT_CALCRECT | text::DT_NOPREFIX | text::DT_SINGLELINE);
    }
    const int width = std::clamp(measured.width() + 2 * (kPadding + 1), 8, 1024);
    const int height = std::clamp(measured.height() + 2 * (kPadding + 1), 8, 256);
    gfx::Bitmap box(width, height);
    {
        gfx::DrawContext dc(box);
        const gfx::Rect all{0, 0, width, height};
        dc.FillOpaque(all, gfx::MakeColorRef(0x76, 0x76, 0x76));
        dc.FillOpaque({1, 1, width - 1, height - 1}, gfx::MakeColorRef(0xFF, 0xFF, 0xE1));
        dc.SetTextColor(gfx::MakeColorRef(0, 0, 0));
        gfx::Rect textRect{kPadding + 1, kPadding + 1, width - kPadding - 1, height - kPadding - 1};
        dc.DrawText(icon->tip, textRect, text::DT_NOPREFIX | text::DT_SINGLELINE);
    }
    // Under the cursor, or above it at the bottom of the screen; always on the screen.
    const int sw = DisplayWidth(display, screen), sh = DisplayHeight(display, screen);
    int x = std::clamp(trayTip.cursor.x, 0, std::max(0, sw - width));
    int y = trayTip.cursor.y + 20;
    if (y + height > sh) y = trayTip.cursor.y - height - 4;
    y = std::clamp(y, 0, std::max(0, sh - height));
    if (!trayTip.xid) {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.save_under = True;
        trayTip.xid = XCreateWindow(display, root, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                    depth, InputOutput, visual, CWOverrideRedirect | CWSaveUnder, &a);
        SetProperty32(display, trayTip.xid, atoms._NET_WM_WINDOW_TYPE, XA_ATOM, {atoms._NET_WM_WINDOW_TYPE_TOOLTIP});
        XClassHint classHint{};
        classHint.res_name = const_cast<char*>("vexlo-updater");
        classHint.res_class = const_cast<char*>("Vexlo");
        XSetClassHint(display, trayTip.xid, &classHint);
    }
    EncodePixels(screenFormat, box);
    const Pixmap next = XCreatePixmap(display, trayTip.xid, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                      static_cast<unsigned>(depth));
    PutPixels(next, GcForDepth(depth, next), depth, box);
    XSetWindowBackgroundPixmap(display, trayTip.xid, next);
    if (trayTip.content) XFreePixmap(display, trayTip.content);
    trayTip.content = next;
    XMoveResizeWindow(display, trayTip.xid, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XClearWindow(display, trayTip.xid);
    XMapRaised(display, trayTip.xid);
    trayTip.shown = true;
    trayTip.hideAt = Now() + kTipLifetimeMs;
}

std::optional<int64_t> X11Backend::Impl::OwnDeadline() const {
    if (trayTip.showAt >= 0) return trayTip.showAt;
    if (trayTip.shown && trayTip.hideAt >= 0) return trayTip.hideAt;
    return std::nullopt;
}

void X11Backend::Impl::RunOwnTimers() {
    const int64_t now = Now();
    if (trayTip.showAt >= 0 && now >= trayTip.showAt) ShowTrayTip();
    if (trayTip.shown && trayTip.hideAt >= 0 && now >= trayTip.hideAt) HideTrayTip();
}

}  // namespace vexlo::x11
