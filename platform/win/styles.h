#pragma once
// Window styles, class styles, placement flags and the other small constants of the
// window system, with the target's values.
#include <cstdint>

namespace vexlo::win {

// Window styles.
inline constexpr uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_DISABLED = 0x08000000;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr uint32_t WS_VSCROLL = 0x00200000;
inline constexpr uint32_t WS_HSCROLL = 0x00100000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr uint32_t WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

// Extended window styles.
inline constexpr uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t WS_EX_TRANSPARENT = 0x00000020;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr uint32_t WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr uint32_t WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr uint32_t WS_EX_STATICEDGE = 0x00020000;
inline constexpr uint32_t WS_EX_APPWINDOW = 0x00040000;
inline constexpr uint32_t WS_EX_LAYERED = 0x00080000;
inline constexpr uint32_t WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
inline constexpr uint32_t CS_VREDRAW = 0x0001;
inline constexpr uint32_t CS_HREDRAW = 0x0002;
inline constexpr uint32_t CS_DBLCLKS = 0x0008;
inline constexpr uint32_t CS_OWNDC = 0x0020;
inline constexpr uint32_t CS_NOCLOSE = 0x0200;
inline constexpr uint32_t CS_SAVEBITS = 0x0800;
inline constexpr uint32_t CS_DROPSHADOW = 0x00020000;

// CreateWindowEx's "let the system choose" position and size.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// SetWindowPos flags.
inline constexpr uint32_t SWP_NOSIZE = 0x0001;
inline constexpr uint32_t SWP_NOMOVE = 0x0002;
inline constexpr uint32_t SWP_NOZORDER = 0x0004;
inline constexpr uint32_t SWP_NOREDRAW = 0x0008;
inline constexpr uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr uint32_t SWP_FRAMECHANGED = 0x0020;
inline constexpr uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr uint32_t SWP_HIDEWINDOW = 0x0080;
inline constexpr uint32_t SWP_NOCOPYBITS = 0x0100;
inline constexpr uint32_t SWP_NOOWNERZORDER = 0x0200;
inline constexpr uint32_t SWP_NOSENDCHANGING = 0x0400;
inline constexpr uint32_t SWP_DEFERERASE = 0x2000;
inline constexpr uint32_t SWP_ASYNCWINDOWPOS = 0x4000;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;

// GetWindowLongPtr / SetWindowLongPtr indices (non-negative indices address the
// window's extra bytes, in pointer-sized steps).
inline constexpr int GWLP_WNDPROC = -4;
inline constexpr int GWLP_HINSTANCE = -6;
inline constexpr int GWLP_HWNDPARENT = -8;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWLP_USERDATA = -21;
inline constexpr int GWLP_ID = -12;

// GetClassLongPtr / SetClassLongPtr indices.
inline constexpr int GCLP_MENUNAME = -8;
inline constexpr int GCLP_HBRBACKGROUND = -10;
inline constexpr int GCLP_HCURSOR = -12;
inline constexpr int GCLP_HICON = -14;
inline constexpr int GCLP_HMODULE = -16;
inline constexpr int GCL_CBWNDEXTRA = -18;
inline constexpr int GCL_CBCLSEXTRA = -20;
inline constexpr int GCLP_WNDPROC = -24;
inline constexpr int GCL_STYLE = -26;
inline constexpr int GCLP_HICONSM = -34;

// GetWindow relations.
inline constexpr uint32_t GW_HWNDFIRST = 0;
inline constexpr uint32_t GW_HWNDLAST = 1;
inline constexpr uint32_t GW_HWNDNEXT = 2;
inline constexpr uint32_t GW_HWNDPREV = 3;
inline constexpr uint32_t GW_OWNER = 4;
inline constexpr uint32_t GW_CHILD = 5;

// GetAncestor relations.
inline constexpr uint32_t GA_PARENT = 1;
inline constexpr uint32_t GA_ROOT = 2;
inline constexpr uint32_t GA_ROOTOWNER = 3;

// GetSystemMetrics indices.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CXMIN = 28;
inline constexpr int SM_CYMIN = 29;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CXMINTRACK = 34;
inline constexpr int SM_CYMINTRACK = 35;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CXMAXTRACK = 59;
inline constexpr int SM_CYMAXTRACK = 60;
inline constexpr int SM_CXMAXIMIZED = 61;
inline constexpr int SM_CYMAXIMIZED = 62;
inline constexpr int SM_CMONITORS = 80;

// SystemParametersInfo actions.
inline constexpr uint32_t SPI_GETWORKAREA = 0x0030;
inline constexpr uint32_t SPI_GETMOUSEHOVERWIDTH = 0x0062;
inline constexpr uint32_t SPI_GETMOUSEHOVERHEIGHT = 0x0064;
inline constexpr uint32_t SPI_GETMOUSEHOVERTIME = 0x0066;

// Standard cursors (LoadCursor with no instance).
inline constexpr uint32_t IDC_ARROW = 32512;
inline constexpr uint32_t IDC_IBEAM = 32513;
inline constexpr uint32_t IDC_WAIT = 32514;
inline constexpr uint32_t IDC_CROSS = 32515;
inline constexpr uint32_t IDC_UPARROW = 32516;
inline constexpr uint32_t IDC_SIZENWSE = 32642;
inline constexpr uint32_t IDC_SIZENESW = 32643;
inline constexpr uint32_t IDC_SIZEWE = 32644;
inline constexpr uint32_t IDC_SIZENS = 32645;
inline constexpr uint32_t IDC_SIZEALL = 32646;
inline constexpr uint32_t IDC_NO = 32648;
inline constexpr uint32_t IDC_HAND = 32649;
inline constexpr uint32_t IDC_APPSTARTING = 32650;
inline constexpr uint32_t IDC_HELP = 32651;

// TrackMouseEvent.
inline constexpr uint32_t TME_HOVER = 0x00000001;
inline constexpr uint32_t TME_LEAVE = 0x00000002;
inline constexpr uint32_t TME_NONCLIENT = 0x00000010;
inline constexpr uint32_t TME_QUERY = 0x40000000;
inline constexpr uint32_t TME_CANCEL = 0x80000000;
inline constexpr uint32_t HOVER_DEFAULT = 0xFFFFFFFF;

// UpdateLayeredWindow.
inline constexpr uint32_t ULW_COLORKEY = 0x00000001;
inline constexpr uint32_t ULW_ALPHA = 0x00000002;
inline constexpr uint32_t ULW_OPAQUE = 0x00000004;
inline constexpr uint8_t AC_SRC_OVER = 0x00;
inline constexpr uint8_t AC_SRC_ALPHA = 0x01;

// System colours (GetSysColor), as 0xAARRGGBB with alpha 255.
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;

// Error codes of GetLastError.
inline constexpr uint32_t ERROR_SUCCESS = 0;
inline constexpr uint32_t ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr uint32_t ERROR_ACCESS_DENIED = 5;
inline constexpr uint32_t ERROR_CANNOT_FIND_WND_CLASS = 1407;
inline constexpr uint32_t ERROR_WINDOW_OF_OTHER_THREAD = 1408;
inline constexpr uint32_t ERROR_CLASS_ALREADY_EXISTS = 1410;
inline constexpr uint32_t ERROR_CLASS_DOES_NOT_EXIST = 1411;
inline constexpr uint32_t ERROR_CLASS_HAS_WINDOWS = 1412;
inline constexpr uint32_t ERROR_INVALID_INDEX = 1413;
inline constexpr uint32_t ERROR_TIMER_NOT_FOUND = 1402;
inline constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;

}  // namespace vexlo::win
