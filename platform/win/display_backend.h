#pragma once
// The one narrow interface between the window system and a display. Everything a window
// system does without a screen (classes, messages, timers, focus, capture, hit testing,
// painting into bitmaps) lives in platform/win; a backend only shows top-level windows'
// frames, delivers native input, waits for events, and reaches the cursor, the
// clipboard and the notification area.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"
#include "platform/gfx/region.h"
#include "platform/win/handles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::win {

struct ScreenInfo {
    gfx::Size size{1920, 1080};
    gfx::Rect workArea{0, 0, 1920, 1040};
};

// What a backend needs to know about a top-level window.
struct NativeWindowState {
    gfx::Rect rect;  // screen coordinates, the whole window
    bool visible = false;
    bool topmost = false;
    bool layered = false;
    bool toolWindow = false;  // not shown in a task bar
    std::u16string title;
    uint32_t style = 0;    // WS_* (WS_VISIBLE as `visible` says)
    uint32_t exStyle = 0;  // WS_EX_*
    Window owner;          // the top-level window it stays in front of, if any
    bool active = false;   // the window system's active window
    bool mouseTransparent = false;  // never under the mouse (tooltips)
    std::optional<gfx::Region> region;  // the window region, window coordinates
};

enum class FrameKind {
    Layered,  // a whole per-pixel-alpha frame given to UpdateLayeredWindow
    Paint,    // the client surface after a paint (EndPaint or ReleaseDC)
};

struct FrameInfo {
    Window window;
    FrameKind kind = FrameKind::Paint;
    std::string name;  // a file-name-safe name of the window (see SetWindowFrameName)
    gfx::Rect screenRect;  // where the pixels appear on the screen
    int64_t timeMs = 0;
};

// A cursor shape as the backend shows it.
struct CursorImage {
    uint32_t standardId = 0;  // IDC_* for a standard cursor, else 0
    const gfx::Bitmap* image = nullptr;
    gfx::Point hotspot;
};

struct TrayIconState {
    Window window;
    uint32_t id = 0;
    std::u16string tip;
    const gfx::Bitmap* icon = nullptr;  // may be empty
    gfx::Rect rect;  // where the icon sits, screen coordinates
};

enum class MouseButton { Left, Right, Middle };

// Native input, in screen coordinates. The window system decides which window receives
// it, as the target's input thread does.
struct InputEvent {
    enum class Type {
        MouseMove,
        ButtonDown,
        ButtonUp,
        Wheel,
        HorizontalWheel,
        KeyDown,
        KeyUp,
        Character,        // a typed character that no key of the layout gives
        AppActivated,     // another application gave the foreground back
        AppDeactivated,   // another application took the foreground
        TrayMouse,        // a mouse message on a notification-area icon
    };
    Type type = Type::MouseMove;
    gfx::Point point;
    MouseButton button = MouseButton::Left;
    int wheelDelta = 0;
    uint32_t virtualKey = 0;
    char16_t character = 0;
    Window trayWindow;  // TrayMouse: the icon's owner and identifier
    uint32_t trayId = 0;
    uint32_t trayMessage = 0;  // TrayMouse: WM_LBUTTONDOWN, WM_RBUTTONUP, ...
};

// Where a backend delivers native input. Thread-safe.
class InputSink {
public:
    virtual ~InputSink() = default;
    virtual void QueueInput(const InputEvent& event) = 0;
};

// Rules: NowMs and Wake may be called from any thread, possibly with the window system's
// lock held; every other call comes with that lock held, except WaitForEvents, which the
// display thread calls without it. A backend never calls back into the window system
// except through the InputSink, and only from WaitForEvents or from a thread of its own.
class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;

    virtual const char* Name() const = 0;
    virtual ScreenInfo Screen() const = 0;
    // Milliseconds of the backend's clock: real time, or a test's virtual time.
    virtual int64_t NowMs() const = 0;
    // Where input is delivered; set once by the window system.
    virtual void SetInputSink(InputSink* sink) = 0;

    virtual void CreateNativeWindow(Window window, const NativeWindowState& state) = 0;
    virtual void UpdateNativeWindow(Window window, const NativeWindowState& state) = 0;
    virtual void DestroyNativeWindow(Window window) = 0;
    // The top-level windows front to back after any change of their order.
    virtual void RestackNativeWindows(const std::vector<Window>& frontToBack) = 0;
    virtual void PresentFrame(const FrameInfo& info, const gfx::Bitmap& pixels) = 0;

    // Blocks until Wake() is called (a wake since the last wait counts), native input was
    // delivered, or the clock reaches deadlineMs. With no deadline it waits for a wake or
    // input only.
    virtual void WaitForEvents(std::optional<int64_t> deadlineMs) = 0;
    // Any thread: a message was posted to the display thread.
    virtual void Wake() = 0;
    // Blocks the calling thread for ms of the backend's clock (a virtual clock just moves
    // on; nothing is delivered meanwhile).
    virtual void Sleep(uint32_t ms) = 0;

    // The image pointer is valid during the call only: copy what is kept.
    virtual void SetCursorShape(const CursorImage& cursor) = 0;
    virtual void WarpCursor(gfx::Point screenPoint) = 0;

    virtual std::optional<std::u16string> GetClipboardText() = 0;
    virtual bool SetClipboardText(const std::u16string& text) = 0;

    // The icon pointer is valid during the call only.
    virtual void UpdateTrayIcon(const TrayIconState& icon) = 0;
    // A new icon. False when the notification area cannot take it (none is running); the
    // icon then does not exist.
    virtual bool AddTrayIcon(const TrayIconState& icon) {
        UpdateTrayIcon(icon);
        return true;
    }
    virtual void RemoveTrayIcon(Window window, uint32_t id) = 0;
};

}  // namespace vexlo::win
