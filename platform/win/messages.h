#pragma once
// Window message numbers and their parameter helpers. The values are those the target
// system uses, because message numbers cross between the updater, the UI library and
// the platform layer unchanged (and appear in stored logs and skin scripts).
#include <cstdint>

namespace vexlo::win {

inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_MOVE = 0x0003;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_ACTIVATE = 0x0006;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_ENABLE = 0x000A;
inline constexpr uint32_t WM_SETTEXT = 0x000C;
inline constexpr uint32_t WM_GETTEXT = 0x000D;
inline constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr uint32_t WM_CANCELMODE = 0x001F;
inline constexpr uint32_t WM_SETCURSOR = 0x0020;
inline constexpr uint32_t WM_MOUSEACTIVATE = 0x0021;
inline constexpr uint32_t WM_GETMINMAXINFO = 0x0024;
inline constexpr uint32_t WM_SETFONT = 0x0030;
inline constexpr uint32_t WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr uint32_t WM_NOTIFY = 0x004E;
inline constexpr uint32_t WM_CONTEXTMENU = 0x007B;
inline constexpr uint32_t WM_STYLECHANGING = 0x007C;
inline constexpr uint32_t WM_STYLECHANGED = 0x007D;
inline constexpr uint32_t WM_GETICON = 0x007F;
inline constexpr uint32_t WM_SETICON = 0x0080;
inline constexpr uint32_t WM_NCCREATE = 0x0081;
inline constexpr uint32_t WM_NCDESTROY = 0x0082;
inline constexpr uint32_t WM_NCCALCSIZE = 0x0083;
inline constexpr uint32_t WM_NCHITTEST = 0x0084;
inline constexpr uint32_t WM_NCPAINT = 0x0085;
inline constexpr uint32_t WM_NCACTIVATE = 0x0086;
inline constexpr uint32_t WM_GETDLGCODE = 0x0087;
inline constexpr uint32_t WM_NCMOUSEMOVE = 0x00A0;
inline constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr uint32_t WM_NCLBUTTONUP = 0x00A2;
inline constexpr uint32_t WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr uint32_t WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr uint32_t WM_NCRBUTTONUP = 0x00A5;
inline constexpr uint32_t WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr uint32_t WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr uint32_t WM_NCMBUTTONUP = 0x00A8;
inline constexpr uint32_t WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr uint32_t WM_KEYFIRST = 0x0100;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr uint32_t WM_SYSCHAR = 0x0106;
inline constexpr uint32_t WM_KEYLAST = 0x0109;
inline constexpr uint32_t WM_INITDIALOG = 0x0110;
inline constexpr uint32_t WM_COMMAND = 0x0111;
inline constexpr uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_ENTERIDLE = 0x0121;
inline constexpr uint32_t WM_MOUSEFIRST = 0x0200;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr uint32_t WM_MOUSEHWHEEL = 0x020E;
inline constexpr uint32_t WM_MOUSELAST = 0x020E;
inline constexpr uint32_t WM_SIZING = 0x0214;
inline constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr uint32_t WM_MOVING = 0x0216;
inline constexpr uint32_t WM_ENTERSIZEMOVE = 0x0231;
inline constexpr uint32_t WM_EXITSIZEMOVE = 0x0232;
inline constexpr uint32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr uint32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr uint32_t WM_PRINTCLIENT = 0x0318;
inline constexpr uint32_t WM_USER = 0x0400;
inline constexpr uint32_t WM_APP = 0x8000;

// The UI library's notification to its host window: wParam is the notifying control,
// lParam points to a NotificationRecord that lives only during the call.
inline constexpr uint32_t WM_UI_NOTIFY = 1416;  // 0x588
struct NotificationRecord {
    int32_t code;
    int32_t first;
    int32_t second;
};

// WM_ACTIVATE low word.
inline constexpr uint32_t WA_INACTIVE = 0;
inline constexpr uint32_t WA_ACTIVE = 1;
inline constexpr uint32_t WA_CLICKACTIVE = 2;

// WM_MOUSEACTIVATE answers.
inline constexpr intptr_t MA_ACTIVATE = 1;
inline constexpr intptr_t MA_ACTIVATEANDEAT = 2;
inline constexpr intptr_t MA_NOACTIVATE = 3;
inline constexpr intptr_t MA_NOACTIVATEANDEAT = 4;

// WM_SIZE wParam.
inline constexpr uintptr_t SIZE_RESTORED = 0;
inline constexpr uintptr_t SIZE_MINIMIZED = 1;
inline constexpr uintptr_t SIZE_MAXIMIZED = 2;

// WM_SETICON / WM_GETICON wParam.
inline constexpr uintptr_t ICON_SMALL = 0;
inline constexpr uintptr_t ICON_BIG = 1;

// WM_SYSCOMMAND wParam; the low four bits are the system's own and are masked off.
inline constexpr uintptr_t SC_SIZE = 0xF000;
inline constexpr uintptr_t SC_MOVE = 0xF010;
inline constexpr uintptr_t SC_MINIMIZE = 0xF020;
inline constexpr uintptr_t SC_MAXIMIZE = 0xF030;
inline constexpr uintptr_t SC_CLOSE = 0xF060;
inline constexpr uintptr_t SC_RESTORE = 0xF120;

// WM_SIZING wParam: the edge being dragged (also SC_SIZE's low bits).
inline constexpr uintptr_t WMSZ_LEFT = 1;
inline constexpr uintptr_t WMSZ_RIGHT = 2;
inline constexpr uintptr_t WMSZ_TOP = 3;
inline constexpr uintptr_t WMSZ_TOPLEFT = 4;
inline constexpr uintptr_t WMSZ_TOPRIGHT = 5;
inline constexpr uintptr_t WMSZ_BOTTOM = 6;
inline constexpr uintptr_t WMSZ_BOTTOMLEFT = 7;
inline constexpr uintptr_t WMSZ_BOTTOMRIGHT = 8;

// WM_NCHITTEST answers.
inline constexpr intptr_t HTERROR = -2;
inline constexpr intptr_t HTTRANSPARENT = -1;
inline constexpr intptr_t HTNOWHERE = 0;
inline constexpr intptr_t HTCLIENT = 1;
inline constexpr intptr_t HTCAPTION = 2;
inline constexpr intptr_t HTSYSMENU = 3;
inline constexpr intptr_t HTMINBUTTON = 8;
inline constexpr intptr_t HTMAXBUTTON = 9;
inline constexpr intptr_t HTLEFT = 10;
inline constexpr intptr_t HTRIGHT = 11;
inline constexpr intptr_t HTTOP = 12;
inline constexpr intptr_t HTTOPLEFT = 13;
inline constexpr intptr_t HTTOPRIGHT = 14;
inline constexpr intptr_t HTBOTTOM = 15;
inline constexpr intptr_t HTBOTTOMLEFT = 16;
inline constexpr intptr_t HTBOTTOMRIGHT = 17;
inline constexpr intptr_t HTBORDER = 18;
inline constexpr intptr_t HTCLOSE = 20;

// Key and button state in the wParam of mouse messages.
inline constexpr uintptr_t MK_LBUTTON = 0x0001;
inline constexpr uintptr_t MK_RBUTTON = 0x0002;
inline constexpr uintptr_t MK_SHIFT = 0x0004;
inline constexpr uintptr_t MK_CONTROL = 0x0008;
inline constexpr uintptr_t MK_MBUTTON = 0x0010;

inline constexpr int WHEEL_DELTA = 120;

// PeekMessage flags.
inline constexpr uint32_t PM_NOREMOVE = 0x0000;
inline constexpr uint32_t PM_REMOVE = 0x0001;
inline constexpr uint32_t PM_NOYIELD = 0x0002;

// Parameter packing, with the sign rules of the target: x and y of a mouse message are
// signed 16-bit values.
constexpr uint16_t LowWord(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
constexpr uint16_t HighWord(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }
constexpr int SignedLowWord(intptr_t v) { return static_cast<int16_t>(v & 0xFFFF); }
constexpr int SignedHighWord(intptr_t v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }
// lParam of two 16-bit halves: a 32-bit value, zero-extended as the target's LPARAM of
// MAKELPARAM is (a negative x or y stays in its 16 bits).
constexpr intptr_t MakeLParam(int low, int high) {
    return static_cast<intptr_t>(static_cast<uint32_t>((static_cast<uint32_t>(high) & 0xFFFF) << 16 |
                                                       (static_cast<uint32_t>(low) & 0xFFFF)));
}
constexpr uintptr_t MakeWParam(unsigned low, unsigned high) {
    return static_cast<uintptr_t>((high & 0xFFFF) << 16 | (low & 0xFFFF));
}
// The wheel delta in the high word of WM_MOUSEWHEEL's wParam is signed.
constexpr int WheelDelta(uintptr_t wParam) { return static_cast<int16_t>(HighWord(wParam)); }

}  // namespace vexlo::win
