#pragma once
// The X11 backend's state and the helpers its parts share (internal to platform/x11).
//
// Locking: `mutex` guards the connection and everything below it. The window system
// calls in with its own lock held and then takes this one; input goes out to the sink
// only after this one is released, so the two are always taken in that order.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"
#include "platform/win/display_backend.h"
#include "platform/x11/atoms.h"
#include "platform/x11/connection.h"
#include "platform/x11/key_translator.h"
#include "platform/x11/pixel_format.h"
#include "platform/x11/x11_backend.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::x11 {

// One top-level window of the window system. Its X window is made when it is first shown
// (a layered window: when its first frame arrives too) and made again when the visual it
// needs changes (it became layered, or a compositing manager came or went).
struct NativeWindow {
    win::Window handle;
    win::NativeWindowState state;
    ::Window xid = 0;
    bool alphaVisual = false;
    Colormap colormap = 0;  // own colormap of a window on the 32-bit visual
    Pixmap content = 0;     // the window's background: the server repaints from it
    gfx::Size contentSize;
    XIC inputContext = nullptr;
    bool overrideRedirect = false;
    bool mapRequested = false;
    bool viewable = false;
    bool focusWanted = false;  // the keyboard goes to it once the server shows it
    // A layered window shown again maps with the frame the window system presents right
    // after, not with the one kept from before (or at the next wait at the latest).
    bool mapPending = false;

    bool hasFrame = false;
    bool uploaded = false;  // the server shows the kept frame as it is now
    win::FrameKind frameKind = win::FrameKind::Paint;
    gfx::Bitmap frame;
    gfx::Point frameOffset;  // where the frame sits in the window
    // The opaque rendering: what the screen showed beneath the window (screen coordinates).
    gfx::Bitmap under;
    gfx::Rect underRect;
    bool shapeKnown = false;
    std::optional<gfx::Region> shape;  // as last given to the server
};

struct TrayIcon {
    win::Window owner;
    uint32_t id = 0;
    ::Window xid = 0;
    bool alphaVisual = false;
    Colormap colormap = 0;
    Visual* visual = nullptr;
    int depth = 0;
    gfx::Size size{24, 24};
    gfx::Bitmap icon;
    std::u16string tip;
    bool embedded = false;
};

// The tip of a notification-area icon, as the shell shows it: after the mouse rests on
// the icon, under the cursor, gone on a press, on leaving, or after a while.
struct TrayTip {
    ::Window xid = 0;
    Pixmap content = 0;
    bool shown = false;
    ::Window icon = 0;      // the icon window it belongs to
    int64_t showAt = -1;    // when it comes up (-1: not waiting)
    int64_t hideAt = -1;
    gfx::Point cursor;
};

struct X11Backend::Impl {
    explicit Impl(DisplayHandle connection, X11BackendOptions opts);
    ~Impl();

    // ---- Connection (x11_backend.cpp) ----
    X11BackendOptions options;
    DisplayHandle connection;
    Display* display = nullptr;
    int screen = 0;
    ::Window root = 0;
    Atoms atoms;
    Visual* visual = nullptr;  // the screen's default
    int depth = 24;
    PixelFormat screenFormat;
    Visual* alphaVisual = nullptr;  // a 32-bit TrueColor visual, when the server has one
    PixelFormat alphaFormat;
    XRenderPictFormat* argbPictFormat = nullptr;
    bool render = false;
    bool shapeExtension = false;
    bool xfixes = false;
    int xfixesEventBase = 0;
    bool compositor = false;
    bool wmActivates = false;  // the window manager takes _NET_ACTIVE_WINDOW requests
    ::Window helper = 0;       // unmapped: owns the clipboard, receives selections
    XIM inputMethod = nullptr;
    GC gcScreenDepth = nullptr;
    GC gcAlphaDepth = nullptr;
    int wakeFd = -1;
    std::atomic<bool> woken{false};
    std::atomic<uint64_t> waitReturns{0};
    int64_t startMs = 0;
    Time lastEventTime = CurrentTime;
    mutable std::mutex mutex;
    win::InputSink* sink = nullptr;

    // Rings the loop's doorbell when events were read into Xlib's queue by a call other
    // than the wait, and flushes requests; call before releasing `mutex`.
    void AfterRequests();
    void RingDoorbell();
    int64_t Now() const;
    bool CheckCompositor();
    void ReadWindowManagerSupport();
    win::ScreenInfo ReadScreen() const;

    // ---- Windows (native_windows.cpp) ----
    std::map<win::Window, NativeWindow> windows;
    std::map<::Window, win::Window> byXid;
    std::vector<win::Window> stack;  // front to back
    std::vector<::Window> appliedStack;
    ::Window appliedFront = 0;
    uint64_t uploads = 0;

    NativeWindow* FindByXid(::Window xid);
    bool WantsAlphaVisual(const NativeWindow& w) const;
    bool ShouldMap(const NativeWindow& w) const;
    static bool Unmanaged(const win::NativeWindowState& s);
    void EnsureXWindow(NativeWindow& w);
    void DestroyXWindow(NativeWindow& w);
    void ApplyTitle(NativeWindow& w);
    void ApplyHints(NativeWindow& w, bool writeState);
    void SendNetState(NativeWindow& w, Atom property, Atom second, bool on);
    void Map(NativeWindow& w);
    void Unmap(NativeWindow& w);
    void MoveResize(NativeWindow& w);
    void Upload(NativeWindow& w);
    void ApplyShape(NativeWindow& w);
    void ApplyStacking();
    void Focus(NativeWindow& w);
    void Recreate(NativeWindow& w);
    void MapPending();
    gfx::Bitmap ReadScreenArea(const gfx::Rect& area);
    void PutPixels(Drawable target, GC gc, int targetDepth, const gfx::Bitmap& pixels);
    GC GcForDepth(int targetDepth, Drawable sample);

    // ---- Input (input_events.cpp) ----
    KeyTranslator keys;
    bool focusCheckPending = false;
    bool reportedInactive = false;
    gfx::Point lastPointer{-1, -1};
    void ProcessEvent(XEvent& event, std::vector<win::InputEvent>& out);
    void FinishBatch(std::vector<win::InputEvent>& out);
    gfx::Point PointerPoint(::Window xwindow, int x, int y, int rootX, int rootY) const;
    void PushMove(std::vector<win::InputEvent>& out, gfx::Point p);
    void HandleKey(XKeyEvent& key, std::vector<win::InputEvent>& out);
    void HandleButton(XButtonEvent& button, std::vector<win::InputEvent>& out);
    void HandleClientMessage(XClientMessageEvent& message, std::vector<win::InputEvent>& out);

    // ---- Clipboard (clipboard.cpp) ----
    std::optional<std::string> clipboardText;  // UTF-8, while we own CLIPBOARD
    Time clipboardTime = CurrentTime;
    void ServeSelection(const XSelectionRequestEvent& request);
    std::optional<std::string> ReadSelection(Atom target, Atom* type);
    bool WaitForHelperEvent(int type, XEvent* out, int timeoutMs);

    // ---- Notification area (tray_icons.cpp) ----
    std::vector<TrayIcon> trayIcons;
    TrayIcon* FindTray(win::Window owner, uint32_t id);
    TrayIcon* FindTrayByXid(::Window xid);
    ::Window TrayManager();
    bool Dock(TrayIcon& icon, ::Window manager);
    void DrawTrayIcon(TrayIcon& icon);
    void DestroyTrayIcon(TrayIcon& icon);
    void HandleTrayEvent(TrayIcon& icon, XEvent& event, std::vector<win::InputEvent>& out);
    void TrayManagerAppeared();
    TrayTip trayTip;
    void ScheduleTrayTip(TrayIcon& icon, gfx::Point cursor);
    void HideTrayTip();
    void ShowTrayTip();
    // The moment the backend itself has something to do (the tip), or none.
    std::optional<int64_t> OwnDeadline() const;
    void RunOwnTimers();

    // ---- Cursors (cursors.cpp) ----
    std::map<uint32_t, ::Cursor> standardCursors;
    ::Cursor imageCursor = 0;
    ::Cursor current = 0;
    ::Cursor StandardCursor(uint32_t id);
    ::Cursor CursorFromImage(const gfx::Bitmap& image, gfx::Point hotspot);
    void FreeCursors();
};

}  // namespace vexlo::x11
