#pragma once
// The records that travel with window messages and window-system calls.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"
#include "platform/gfx/region.h"
#include "platform/win/handles.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vexlo::win {

// A window procedure. wParam and lParam are pointer-sized, so a pointer or a handle fits
// in either, as on the target.
using WindowProc = intptr_t (*)(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
using TimerProc = void (*)(Window window, uint32_t message, uintptr_t timerId, uint32_t tickCount);

// A queued message (MSG).
struct Msg {
    Window window;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint32_t time = 0;  // tick count when it was queued
    gfx::Point pt;      // cursor position, screen coordinates
};

// The creation record WM_NCCREATE and WM_CREATE point to (CREATESTRUCT).
struct CreateStruct {
    void* createParams = nullptr;  // CreateWindowEx's last argument
    uintptr_t instance = 0;
    uintptr_t menu = 0;  // the child identifier for child windows
    Window parent;       // parent, or owner for a popup
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    uint32_t style = 0;
    const char16_t* name = nullptr;
    const char16_t* className = nullptr;
    uint32_t exStyle = 0;
};

// WM_WINDOWPOSCHANGING / WM_WINDOWPOSCHANGED (WINDOWPOS). The procedure may change x, y,
// cx, cy and flags while the change is pending.
struct WindowPos {
    Window window;
    Window insertAfter;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    uint32_t flags = 0;
};

// WM_STYLECHANGING / WM_STYLECHANGED (STYLESTRUCT); wParam says GWL_STYLE or GWL_EXSTYLE.
struct StyleStruct {
    uint32_t oldStyle = 0;
    uint32_t newStyle = 0;
};

// WM_GETMINMAXINFO (MINMAXINFO).
struct MinMaxInfo {
    gfx::Point reserved;
    gfx::Point maxSize;
    gfx::Point maxPosition;
    gfx::Point minTrackSize;
    gfx::Point maxTrackSize;
};

// A window class (WNDCLASSEX). background is an opaque colour (0xFFRRGGBB) used to erase
// the client area, or none.
struct WindowClass {
    uint32_t style = 0;
    WindowProc proc = nullptr;
    int classExtra = 0;   // bytes, as the target counts them
    int windowExtra = 0;  // bytes; GetWindowLongPtr reads them in pointer-sized steps
    uintptr_t instance = 0;
    Icon icon;
    Cursor cursor;
    std::optional<uint32_t> background;
    std::u16string menuName;
    std::u16string name;
    Icon smallIcon;
};

// TrackMouseEvent's request (TRACKMOUSEEVENT).
struct TrackMouseEventInfo {
    uint32_t flags = 0;
    Window window;
    uint32_t hoverTime = 0;  // HOVER_DEFAULT for the system's hover time
};

// BeginPaint's answer (PAINTSTRUCT): the window's client surface, the bounding box of
// what needs painting and that exact region, both in client coordinates.
struct PaintStruct {
    gfx::Bitmap* surface = nullptr;
    bool erase = false;
    gfx::Rect paint;
    gfx::Region clip;
};

// The blend of UpdateLayeredWindow (BLENDFUNCTION).
struct BlendFunction {
    uint8_t op = 0;  // AC_SRC_OVER
    uint8_t flags = 0;
    uint8_t sourceConstantAlpha = 255;
    uint8_t alphaFormat = 0;  // AC_SRC_ALPHA: the source has per-pixel alpha
};

}  // namespace vexlo::win
