#pragma once
// The X atoms the backend uses, interned in one round trip.
#include <X11/Xlib.h>

namespace vexlo::x11 {

#define VEXLO_X11_ATOMS(X)                                                                             \
    X(WM_PROTOCOLS) X(WM_DELETE_WINDOW) X(WM_TAKE_FOCUS) X(WM_CHANGE_STATE) X(_NET_WM_PING)           \
    X(_NET_WM_PID) X(_NET_WM_NAME) X(_NET_WM_ICON_NAME) X(UTF8_STRING) X(_NET_WM_WINDOW_TYPE)         \
    X(_NET_WM_WINDOW_TYPE_NORMAL) X(_NET_WM_WINDOW_TYPE_UTILITY) X(_NET_WM_WINDOW_TYPE_DIALOG)        \
    X(_NET_WM_WINDOW_TYPE_TOOLTIP) X(_NET_WM_WINDOW_TYPE_POPUP_MENU) X(_NET_WM_WINDOW_TYPE_NOTIFICATION) \
    X(_NET_WM_STATE) X(_NET_WM_STATE_ABOVE) X(_NET_WM_STATE_SKIP_TASKBAR) X(_NET_WM_STATE_SKIP_PAGER)  \
    X(_MOTIF_WM_HINTS) X(_NET_ACTIVE_WINDOW) X(_NET_SUPPORTED) X(_NET_WORKAREA)                       \
    X(_NET_CURRENT_DESKTOP) X(_NET_SYSTEM_TRAY_OPCODE) X(_NET_SYSTEM_TRAY_VISUAL)                     \
    X(_NET_SYSTEM_TRAY_ORIENTATION) X(MANAGER) X(_XEMBED) X(_XEMBED_INFO) X(CLIPBOARD) X(TARGETS)      \
    X(TIMESTAMP) X(TEXT) X(MULTIPLE) X(INCR) X(ATOM_PAIR) X(VEXLO_SELECTION) X(VEXLO_TIMESTAMP)

struct Atoms {
#define VEXLO_X11_DECLARE(name) Atom name = None;
    VEXLO_X11_ATOMS(VEXLO_X11_DECLARE)
#undef VEXLO_X11_DECLARE
    Atom textPlainUtf8 = None;  // "text/plain;charset=utf-8"
    Atom textPlain = None;      // "text/plain"
    Atom compositorSelection = None;  // _NET_WM_CM_S<screen>
    Atom traySelection = None;        // _NET_SYSTEM_TRAY_S<screen>

    void Intern(Display* display, int screen);
};

}  // namespace vexlo::x11
