#pragma once
// The window system's state and the helpers its parts share. Internal to platform/win.
//
// Locking: one mutex guards everything. It is never held while a window procedure, a
// timer procedure or a blocking wait runs: helpers that deliver a message take the
// caller's lock, release it around the call and take it again, so every pointer into the
// state must be looked up again afterwards (a procedure may destroy anything).
#include "platform/gfx/region.h"
#include "platform/win/display_backend.h"
#include "platform/win/message_spy.h"
#include "platform/win/types.h"
#include "platform/win/window_system.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::win::detail {

using Lock = std::unique_lock<std::mutex>;

struct ClassEntry {
    WindowClass info;
    uint16_t atom = 0;
    bool system = false;
    bool mouseTransparent = false;  // its windows never take the mouse (the tooltip's)
    std::vector<intptr_t> classExtra;
    int windowCount = 0;
};

enum class Stage { Creating, Alive, Destroying };

struct WindowData {
    Window handle;
    std::shared_ptr<ClassEntry> cls;
    WindowProc proc = nullptr;
    uint32_t thread = 0;
    std::u16string text;
    std::string frameName;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    Window parent;  // the parent of a child window (possibly the desktop); null otherwise
    Window owner;
    uintptr_t id = 0;
    uintptr_t instance = 0;
    intptr_t userData = 0;
    std::vector<intptr_t> extra;
    std::vector<std::pair<std::u16string, intptr_t>> props;
    gfx::Rect rect;            // in the parent's client coordinates; screen for top-level windows
    gfx::Rect clientInWindow;  // the client area relative to the window's top-left corner
    std::vector<Window> children;  // front first
    gfx::Region update;  // client coordinates
    bool erase = false;
    gfx::Bitmap surface;  // the client area's pixels (windows that are not layered)
    gfx::Bitmap layered;  // the last layered frame
    bool layeredPresented = false;
    std::optional<gfx::Region> region;  // window coordinates
    gfx::Rect normalRect;  // placement to restore from minimised or maximised
    Icon bigIcon;
    Icon smallIcon;
    Stage stage = Stage::Creating;
    bool native = false;  // the backend knows it
    bool inPaint = false;
    bool destroyStarted = false;
    gfx::Region paintClip;  // during BeginPaint, what the erase covers
    std::shared_ptr<void> classData;  // what a system class keeps per window (freed with it)
};

struct WindowSlot {
    uint32_t generation = 0;
    std::unique_ptr<WindowData> data;
};

struct ImageObject {
    gfx::Bitmap image;
    gfx::Point hotspot;
    uint32_t standardId = 0;
    bool shared = false;
    bool isIcon = false;
};

struct ImageSlot {
    uint32_t generation = 0;
    std::unique_ptr<ImageObject> data;
};

struct SentMessage {
    Window window;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    intptr_t result = 0;
    bool done = false;
    uint32_t senderThread = 0;
};

struct QueuedInput {
    InputEvent event;
    int64_t timeMs = 0;
    gfx::Point cursor;  // where the cursor was when it was queued
};

struct ThreadQueue {
    uint32_t thread = 0;
    std::deque<Msg> posted;
    std::deque<QueuedInput> raw;  // native input not yet turned into messages
    std::deque<Msg> ready;        // input turned into messages, not yet removed
    bool quit = false;
    int quitCode = 0;
    std::deque<std::shared_ptr<SentMessage>> incoming;
    std::condition_variable changed;  // threads other than the display thread wait here
    bool wake = false;
    int sendDepth = 0;  // incoming cross-thread sends being handled
    Msg lastMessage;    // for GetMessageTime
};

struct TimerEntry {
    Window window;
    uint32_t thread = 0;
    uintptr_t id = 0;
    uint32_t elapse = 0;
    int64_t due = 0;
    uint64_t order = 0;  // SetTimer order, to break ties between timers due together
    TimerProc proc = nullptr;
};

struct ClickRecord {
    bool valid = false;
    Window window;
    MouseButton button = MouseButton::Left;
    bool client = true;
    intptr_t hit = 0;
    gfx::Point point;
    int64_t timeMs = 0;
};

struct TrackingState {
    Window window;
    uint32_t flags = 0;  // TME_HOVER | TME_LEAVE still pending
    uint32_t hoverTime = 0;
    int64_t hoverDue = 0;
    gfx::Point hoverOrigin;
};

struct MoveSizeState {
    bool active = false;
    Window window;
    bool moving = true;
    uintptr_t edge = 0;  // WMSZ_* while sizing
    gfx::Point startCursor;
    gfx::Rect startRect;
    MinMaxInfo limits;
};

struct CaretState {
    Window window;
    int width = 0;
    int height = 0;
    gfx::Point pos;
    int hideCount = 1;  // a new caret is hidden until ShowCaret
    int64_t shownSince = 0;
};

struct TrayEntry {
    Window window;
    uint32_t id = 0;
    uint32_t callbackMessage = 0;
    Icon icon;
    std::u16string tip;
    uint32_t order = 0;
};

class SystemState : public InputSink {
public:
    SystemState(WindowSystem& owner, std::unique_ptr<DisplayBackend> backend, WindowSystemOptions options);
    ~SystemState() override;

    void QueueInput(const InputEvent& event) override;

    // Lookup (lock held).
    WindowData* Find(Window window);
    const WindowData* Find(Window window) const;
    WindowData* FindAlive(Window window);  // not being destroyed
    ThreadQueue& Queue(uint32_t thread);
    std::shared_ptr<ClassEntry> FindClass(std::u16string_view name, uintptr_t instance) const;
    ImageObject* FindImage(uintptr_t value);

    // Geometry (lock held).
    bool IsTopLevel(const WindowData& d) const;
    gfx::Point WindowOrigin(const WindowData& d) const;  // screen position of the window's top-left
    gfx::Rect WindowScreenRect(const WindowData& d) const;
    gfx::Rect ClientScreenRect(const WindowData& d) const;
    bool IsShown(const WindowData& d) const;  // visible with every ancestor
    Window RootOf(Window window) const;       // GA_ROOT
    bool IsDescendant(Window ancestor, Window window) const;  // or equal
    // The deepest shown window under a screen point without asking the windows
    // (no WM_NCHITTEST); windows in `skip` are passed over.
    Window WindowAtPoint(gfx::Point screen, const std::vector<Window>& skip = {}) const;

    // Delivery. Send releases and retakes the lock; a cross-thread send waits for the
    // window's thread. Post returns false for a dead window.
    intptr_t Send(Lock& lock, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool Post(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool PostToThread(uint32_t thread, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    // Observe: lock held. Notify: a copy of the observer list taken under the lock.
    void Observe(MessageEventKind kind, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    void Notify(const std::vector<MessageObserver*>& watchers, MessageEventKind kind, Window window, uint32_t message,
                uintptr_t wParam, intptr_t lParam) const;
    void WakeThread(uint32_t thread);
    // Handles the cross-thread sends waiting for the calling thread; true when any ran.
    bool RunIncomingSends(Lock& lock, ThreadQueue& queue);

    // Parts other files implement (lock held unless the name says otherwise).
    bool DestroyWindowLocked(Lock& lock, Window window);
    bool SetWindowPosLocked(Lock& lock, Window window, Window after, int x, int y, int cx, int cy, uint32_t flags);
    bool ShowWindowLocked(Lock& lock, Window window, int command);
    void ActivateLocked(Lock& lock, Window window, uint32_t how);  // WA_ACTIVE or WA_CLICKACTIVE; null deactivates
    Window SetFocusLocked(Lock& lock, Window window);
    Window SetCaptureLocked(Lock& lock, Window window);
    void ReleaseCaptureLocked(Lock& lock);
    void ActivateNextAfterLosing(Lock& lock, Window lost);
    void InvalidateLocked(WindowData& d, const gfx::Region* region, bool erase);
    void RecomputeClient(Lock& lock, Window window);
    void ResizeSurface(WindowData& d);
    void SyncNative(WindowData& d);
    NativeWindowState NativeStateOf(const WindowData& d) const;
    void Restack();
    void PlaceInZOrder(Window window, Window after);
    void RaiseOwned(Window owner);
    void RemoveTimersOf(Window window);
    void CheckMouseLeave(Lock& lock);
    void PostMouseLeave(Lock& lock);
    void NoteCursorMaybeMoved();  // a window under the cursor may have changed
    bool BeginMoveSize(Lock& lock, Window window, bool moving, uintptr_t edge);
    bool HandleMoveSizeInput(Lock& lock, const QueuedInput& input);
    void EndMoveSize(Lock& lock, bool cancel);
    void PresentLayered(WindowData& d);
    void PresentSurface(WindowData& d);
    std::string FrameNameOf(const WindowData& d) const;
    void SetCursorLocked(Cursor cursor);
    bool CaretOnNow() const;  // the caret is shown and in the lit half of its blink
    uint32_t KeyFlags() const;  // MK_* of the current button and key state

    // Input conversion (message_loop / input).
    bool ConvertInput(Lock& lock, ThreadQueue& queue);  // true when an input event was consumed
    std::optional<int64_t> NextDeadlineLocked(uint32_t thread) const;
    void GenerateHover(ThreadQueue& queue);

    WindowSystem& owner;
    mutable std::mutex mutex;
    std::unique_ptr<DisplayBackend> backend;
    WindowSystemOptions options;
    uint32_t displayThread = 0;
    ScreenInfo screen;

    std::vector<WindowSlot> windows;
    std::vector<uint32_t> freeWindowSlots;
    std::vector<std::shared_ptr<ClassEntry>> classes;
    uint16_t nextAtom = 0xC000;
    std::vector<Window> topLevel;  // front first
    Window desktop;

    std::vector<TimerEntry> timers;
    uint64_t timerOrder = 0;
    uintptr_t nextThreadTimerId = 1;

    std::map<uint32_t, std::unique_ptr<ThreadQueue>> queues;

    Window active;
    Window focus;
    Window capture;
    gfx::Point cursor;
    Cursor currentCursor;
    std::vector<Cursor> cursorHistory;
    std::array<uint8_t, 256> keys{};  // 0x80 down, 0x01 toggled
    std::array<bool, 3> buttons{};    // left, right, middle

    ClickRecord lastClick;
    TrackingState tracking;
    MoveSizeState moveSize;
    CaretState caret;
    bool cursorMayHaveMoved = false;
    bool mouseSeen = false;  // some mouse input arrived: synthetic moves make sense
    std::vector<Window> lastStack;  // what the backend was last told
    Window lastMouseWindow;
    intptr_t lastMouseHit = 0;

    std::vector<TrayEntry> tray;
    uint32_t trayOrder = 0;

    std::vector<ImageSlot> images;
    std::map<uint32_t, Cursor> standardCursors;
    std::map<uint32_t, Icon> iconResources;

    std::vector<MessageObserver*> observers;

};

// The current system's state, or null.
SystemState* Current();

// Generations are drawn from one process-wide counter, so that handles of different
// systems never collide.
uint32_t NextGeneration();

// Per-window data of the system's own classes.
void* ClassDataOf(Window window);
void SetClassData(Window window, std::shared_ptr<void> data);

// The window classes the system itself provides (desktop, tooltip).
void RegisterSystemClasses(SystemState& state);

// Case-insensitive comparison of ASCII letters (class and property names).
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

void SetLastErrorCode(uint32_t code);

}  // namespace vexlo::win::detail
