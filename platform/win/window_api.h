#pragma once
// The window system's calls, shaped like the target system's so that the UI library and
// the updater read naturally: handles, message numbers and parameters as there. Every
// call acts on the current WindowSystem (window_system.h) and fails (0, false, a null
// handle) when there is none or when a handle is not a window.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"
#include "platform/gfx/region.h"
#include "platform/win/handles.h"
#include "platform/win/keys.h"
#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexlo::win {

uint32_t GetLastError();
void SetLastError(uint32_t code);

// ---- Classes ----
// Registering a name that exists for the same instance fails with
// ERROR_CLASS_ALREADY_EXISTS (1410); callers that accept an existing class check for it.
uint16_t RegisterClass(const WindowClass& windowClass);
bool UnregisterClass(std::u16string_view name, uintptr_t instance);
// instance 0 finds the system's classes first.
bool GetClassInfo(uintptr_t instance, std::u16string_view name, WindowClass* out);
uintptr_t GetClassLongPtr(Window window, int index);
// Changes the class, so every window of the class sees it. Returns the previous value.
uintptr_t SetClassLongPtr(Window window, int index, uintptr_t value);
std::u16string GetClassName(Window window);

// ---- Windows ----
// The order of messages is the target's: WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE,
// WM_MOVE, then the show messages when WS_VISIBLE is given. A WM_NCCREATE answer of 0
// or a WM_CREATE answer of -1 destroys the window and gives a null handle.
Window CreateWindowEx(uint32_t exStyle, std::u16string_view className, std::u16string_view windowName,
                      uint32_t style, int x, int y, int width, int height, Window parent, uintptr_t menu,
                      uintptr_t instance, void* param);
// Hides the window, destroys what it owns, sends WM_DESTROY (window first, then its
// children), then WM_NCDESTROY (children first, the window last); the handle is invalid
// afterwards. Only the window's own thread may destroy it.
bool DestroyWindow(Window window);
bool IsWindow(Window window);
Window GetDesktopWindow();
uint32_t GetWindowThreadId(Window window);

intptr_t GetWindowLongPtr(Window window, int index);
intptr_t SetWindowLongPtr(Window window, int index, intptr_t value);

// Named, pointer-sized window properties; names are compared without regard to case.
bool SetProp(Window window, std::u16string_view name, intptr_t value);
intptr_t GetProp(Window window, std::u16string_view name);
intptr_t RemoveProp(Window window, std::u16string_view name);

bool SetWindowText(Window window, std::u16string_view text);
std::u16string GetWindowText(Window window);
// The name the window's captured frames carry (VEXLO_FRAMES file names); by default its
// text, or "w" and a number when it has none.
void SetWindowFrameName(Window window, std::string_view name);

// The parent of a child window, the owner of any other window.
Window GetParent(Window window);
Window GetAncestor(Window window, uint32_t relation);
Window GetWindow(Window window, uint32_t relation);
bool IsChild(Window parent, Window window);
// The top-level windows, front to back.
std::vector<Window> GetTopLevelWindows();
Window FindWindow(std::u16string_view className, std::u16string_view title);

// ---- Showing and placing ----
bool ShowWindow(Window window, int command);  // the previous visibility
bool IsWindowVisible(Window window);  // visible with every ancestor
bool IsIconic(Window window);
bool IsZoomed(Window window);
bool SetWindowPos(Window window, Window insertAfter, int x, int y, int cx, int cy, uint32_t flags);
bool MoveWindow(Window window, int x, int y, int width, int height, bool repaint);
bool BringWindowToTop(Window window);
bool GetWindowRect(Window window, gfx::Rect* rect);  // screen coordinates
bool GetClientRect(Window window, gfx::Rect* rect);  // (0, 0, width, height)
bool ClientToScreen(Window window, gfx::Point* point);
bool ScreenToClient(Window window, gfx::Point* point);
// Maps points from one window's client coordinates to another's (a null window is the
// screen). Returns the horizontal offset in the low word and the vertical one in the high.
int MapWindowPoints(Window from, Window to, gfx::Point* points, int count);
// Asks the windows (WM_NCHITTEST) and passes over those that answer HTTRANSPARENT.
Window WindowFromPoint(gfx::Point screenPoint);
Window ChildWindowFromPoint(Window parent, gfx::Point clientPoint);
// The window rectangle needed for a client rectangle with these styles.
bool AdjustWindowRectEx(gfx::Rect* rect, uint32_t style, bool menu, uint32_t exStyle);

// ---- Activation, focus, enabling ----
Window SetActiveWindow(Window window);
Window GetActiveWindow();
bool SetForegroundWindow(Window window);
Window GetForegroundWindow();
Window SetFocus(Window window);  // the previous focus window
Window GetFocus();
bool EnableWindow(Window window, bool enable);  // whether it was disabled before
bool IsWindowEnabled(Window window);

// ---- Mouse ----
Window SetCapture(Window window);
bool ReleaseCapture();
Window GetCapture();
bool TrackMouseEvent(TrackMouseEventInfo* request);
bool GetCursorPos(gfx::Point* point);
bool SetCursorPos(int x, int y);
// Bit 0x8000 while the key or button is down, bit 1 while a toggle key is on.
int16_t GetKeyState(int virtualKey);
int16_t GetAsyncKeyState(int virtualKey);

// ---- Messages ----
intptr_t SendMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Thread-safe; wakes the window's thread.
bool PostMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
bool PostThreadMessage(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam);
void PostQuitMessage(int exitCode);
// 1 for a message, 0 for WM_QUIT (msg->wParam holds its code), -1 for a bad filter window.
// Retrieval order: sent messages (handled inside), posted messages, input, the quit
// request, WM_PAINT, WM_TIMER.
int GetMessage(Msg* msg, Window filter, uint32_t first, uint32_t last);
bool PeekMessage(Msg* msg, Window filter, uint32_t first, uint32_t last, uint32_t flags);
bool WaitMessage();
// Posts WM_CHAR (WM_SYSCHAR) for a key press that types a character.
bool TranslateMessage(const Msg* msg);
intptr_t DispatchMessage(const Msg* msg);
intptr_t CallWindowProc(WindowProc proc, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
bool InSendMessage();
uint32_t GetMessageTime();

// ---- Timers and time ----
// Replaces a timer of the same window and id (its countdown starts again). Intervals
// below 10 ms are 10 ms. Returns the id (a new one for a timer without window), 0 on
// failure.
uintptr_t SetTimer(Window window, uintptr_t id, uint32_t elapseMs, TimerProc proc = nullptr);
bool KillTimer(Window window, uintptr_t id);
uint32_t GetTickCount();
// Blocks the thread for ms of the system's clock; on a virtual clock time just moves on.
void Sleep(uint32_t ms);

// ---- Painting ----
bool InvalidateRect(Window window, const gfx::Rect* rect, bool erase);  // null: the whole client area
bool InvalidateRgn(Window window, const gfx::Region* region, bool erase);
bool ValidateRect(Window window, const gfx::Rect* rect);
bool GetUpdateRect(Window window, gfx::Rect* rect, bool erase);
// Sends WM_PAINT at once when the window has something to paint.
bool UpdateWindow(Window window);
// The client surface (a bitmap of the client size), with what needs painting; the update
// region is validated. WM_ERASEBKGND is sent first when erasing was asked for.
gfx::Bitmap* BeginPaint(Window window, PaintStruct* paint);
// Presents the surface (a captured frame).
bool EndPaint(Window window, const PaintStruct* paint);
// The client surface outside of WM_PAINT; ReleaseDC presents it.
gfx::Bitmap* GetDC(Window window);
bool ReleaseDC(Window window, gfx::Bitmap* surface);

class WindowDC {
public:
    explicit WindowDC(Window window) : window_(window), surface_(GetDC(window)) {}
    ~WindowDC() {
        if (surface_) ReleaseDC(window_, surface_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    gfx::Bitmap* surface() const { return surface_; }
    explicit operator bool() const { return surface_ != nullptr; }

private:
    Window window_;
    gfx::Bitmap* surface_;
};

// Presents a whole frame of a WS_EX_LAYERED window: `size` pixels of `source` from
// `sourcePoint`, at `destination` (screen). Null position or size keep the window's;
// a null source only moves or resizes. Fails when the window is not layered or the
// source rectangle does not lie inside the source bitmap.
bool UpdateLayeredWindow(Window window, const gfx::Point* destination, const gfx::Size* size,
                         const gfx::Bitmap* source, const gfx::Point* sourcePoint, uint32_t colorKey,
                         const BlendFunction* blend, uint32_t flags);
// The window's shape (window coordinates); none removes it. Returns 1, or 0 on failure.
int SetWindowRgn(Window window, std::optional<gfx::Region> region, bool redraw);
// 1 (and the region) when the window has one, 0 otherwise.
int GetWindowRgn(Window window, gfx::Region* region);
// The last frame presented for a layered window (empty before the first).
gfx::Bitmap GetLayeredFrame(Window window);

// ---- Screen ----
int GetSystemMetrics(int index);
// SPI_GETWORKAREA fills a gfx::Rect; SPI_GETMOUSEHOVERTIME/WIDTH/HEIGHT a uint32_t.
bool SystemParametersInfo(uint32_t action, uint32_t param, void* value, uint32_t winIni);
uint32_t GetSysColor(int index);
gfx::Rect GetWorkArea();

// ---- Cursors and icons ----
// instance 0 and an IDC_* value give a shared standard cursor.
Cursor LoadCursor(uintptr_t instance, uint32_t id);
Cursor CreateCursorFromBitmap(const gfx::Bitmap& image, gfx::Point hotspot);
// A cursor from the bytes of a .cur or .ico file (PNG or DIB images); null for anything
// malformed.
Cursor CreateCursorFromFileData(std::string_view bytes);
bool DestroyCursor(Cursor cursor);  // false for shared cursors
Cursor SetCursor(Cursor cursor);    // the previous cursor
Cursor GetCursor();
uint32_t GetStandardCursorId(Cursor cursor);  // IDC_* or 0
gfx::Bitmap GetCursorImage(Cursor cursor, gfx::Point* hotspot = nullptr);

Icon CreateIconFromBitmap(const gfx::Bitmap& image);
bool DestroyIcon(Icon icon);
gfx::Bitmap GetIconImage(Icon icon);
// The executable's icon resources: the program registers their pictures once, LoadIcon
// then hands out a shared icon.
void RegisterIconResource(uint32_t id, const gfx::Bitmap& image);
Icon LoadIcon(uintptr_t instance, uint32_t id);

// ---- Caret ----
bool CreateCaret(Window window, int width, int height);
bool DestroyCaret();
bool SetCaretPos(int x, int y);
bool GetCaretPos(gfx::Point* point);
bool ShowCaret(Window window);
bool HideCaret(Window window);
uint32_t GetCaretBlinkTime();
struct CaretInfo {
    Window window;
    gfx::Rect rect;  // client coordinates
    bool shown = false;   // ShowCaret balanced HideCaret
    bool visibleNow = false;  // shown and in the "on" half of its blink
};
CaretInfo GetCaretInfo();

// ---- Clipboard (Unicode text) ----
bool SetClipboardText(std::u16string_view text);
std::optional<std::u16string> GetClipboardText();
bool IsClipboardTextAvailable();

}  // namespace vexlo::win
