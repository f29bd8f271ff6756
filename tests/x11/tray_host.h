#pragma once
// A small system tray of the test's own: a connection of its own that owns the tray
// selection of screen 0, announces itself, and embeds the icons that ask to dock.
#include "platform/gfx/rect.h"
#include "platform/x11/connection.h"

#include <X11/Xlib.h>

namespace vexlo::x11::testing {

class TrayHost {
public:
    // The tray's window at (x, y), 200 by 30 pixels; icons sit at (170, 3) in it.
    TrayHost(const std::string& display, int x, int y) : connection_(OpenDisplay(display)), x_(x), y_(y) {
        Display* d = connection_.get();
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.background_pixel = 0x404040;
        window_ = XCreateWindow(d, DefaultRootWindow(d), x, y, 200, 30, 0, CopyFromParent, InputOutput, CopyFromParent,
                                CWOverrideRedirect | CWBackPixel, &a);
        XMapRaised(d, window_);
        const Atom selection = XInternAtom(d, "_NET_SYSTEM_TRAY_S0", False);
        XSetSelectionOwner(d, selection, window_, CurrentTime);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = DefaultRootWindow(d);
        e.xclient.message_type = XInternAtom(d, "MANAGER", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = CurrentTime;
        e.xclient.data.l[1] = static_cast<long>(selection);
        e.xclient.data.l[2] = static_cast<long>(window_);
        XSendEvent(d, DefaultRootWindow(d), False, StructureNotifyMask, &e);
        XSync(d, False);
    }
    TrayHost(const TrayHost&) = delete;
    TrayHost& operator=(const TrayHost&) = delete;

    // The icon window of the next dock request, embedded and shown; 0 when none came.
    ::Window TakeDockRequest() {
        Display* d = connection_.get();
        const Atom opcode = XInternAtom(d, "_NET_SYSTEM_TRAY_OPCODE", False);
        XEvent e;
        while (XCheckTypedWindowEvent(d, window_, ClientMessage, &e)) {
            if (e.xclient.message_type != opcode || e.xclient.data.l[1] != 0) continue;
            const auto icon = static_cast<::Window>(e.xclient.data.l[2]);
            XAddToSaveSet(d, icon);
            XReparentWindow(d, icon, window_, 170, 3);
            XMapWindow(d, icon);
            XSync(d, False);
            return icon;
        }
        XSync(d, False);
        return 0;
    }
    // The middle of a docked icon (24 by 24 pixels), screen coordinates.
    gfx::Point IconCentre() const { return {x_ + 170 + 12, y_ + 3 + 12}; }

private:
    DisplayHandle connection_;
    int x_, y_;
    ::Window window_ = 0;
};

}  // namespace vexlo::x11::testing
