#pragma once
// Drives a window system on the headless backend with a virtual clock, for tests: one
// harness per test makes its window system current for its lifetime.
//
//   HeadlessHarness h;                       // 1920 x 1080, 40-pixel task bar
//   Window w = CreateWindowEx(...);
//   h.Click(100, 100);                       // the messages the target would produce
//   h.Advance(200);                          // timers and hover fire in order
//   EXPECT_EQ(h.log().Delivered(w, {WM_MOUSEHOVER}).size(), 1u);
//
// Input calls deliver at once: they queue the native input and pump the queue, so the
// messages have been dispatched when they return. Nothing here sleeps.
//
// When the harness ends it destroys every window still alive (with the usual messages),
// so that window procedures free what they keep; whatever a procedure uses must outlive
// the harness, or be unbound from its window before.
#include "platform/headless/headless_backend.h"
#include "platform/win/message_spy.h"
#include "platform/win/window_api.h"
#include "platform/win/window_system.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace vexlo::headless {

class HeadlessHarness {
public:
    explicit HeadlessHarness(HeadlessConfig config = {}, win::WindowSystemOptions options = {});
    ~HeadlessHarness();
    HeadlessHarness(const HeadlessHarness&) = delete;
    HeadlessHarness& operator=(const HeadlessHarness&) = delete;

    win::WindowSystem& system() { return *system_; }
    HeadlessBackend& backend() { return *backend_; }
    // Every message sent, posted and dispatched since the harness began (or Clear()).
    win::MessageLog& log() { return log_; }

    // ---- Time ----
    int64_t Now() const;
    // Dispatches (with TranslateMessage) everything that is ready now. A WM_QUIT stays in
    // the queue (quitPending() tells); the clock does not move.
    void Pump();
    // Moves the virtual clock forward, stopping at every due timer, hover report and
    // scheduled input in order and pumping there.
    void Advance(int64_t ms);
    bool quitPending() const;
    // Destroys every top-level window (and so everything else).
    void DestroyAllWindows();

    // ---- Mouse, screen coordinates ----
    void MoveTo(int x, int y);
    void Press(int x, int y, win::MouseButton button = win::MouseButton::Left);
    void Release(int x, int y, win::MouseButton button = win::MouseButton::Left);
    void Click(int x, int y, win::MouseButton button = win::MouseButton::Left);
    void DoubleClick(int x, int y, win::MouseButton button = win::MouseButton::Left);
    void Wheel(int x, int y, int delta);
    // The same at a client position of a window.
    gfx::Point ToScreen(win::Window window, int x, int y) const;
    void MoveTo(win::Window window, int x, int y);
    void Click(win::Window window, int x, int y, win::MouseButton button = win::MouseButton::Left);

    // ---- Keyboard ----
    void KeyDown(uint32_t virtualKey);
    void KeyUp(uint32_t virtualKey);
    void Key(uint32_t virtualKey);
    // Presses the keys in order and releases them in reverse (e.g. {VK_MENU, VK_F4}).
    void KeyCombo(std::initializer_list<uint32_t> keys);
    // Types each character: with its key on a US layout when there is one, else as a
    // character of its own.
    void TypeText(std::u16string_view text);

    // ---- Activation by other programs ----
    void DeactivateApp();
    void ActivateApp();

    // ---- The notification area ----
    // Moves the cursor onto the icon and clicks it; false when there is no such icon.
    bool ClickTrayIcon(win::Window window, uint32_t id, win::MouseButton button = win::MouseButton::Left);

    // Any other native input.
    void Inject(const win::InputEvent& event);

    // ---- Spies ----
    std::vector<win::NotificationRecord> Notifications(win::Window window) const { return log_.Notifications(window); }
    std::vector<CapturedFrame> Frames() const { return backend_->Frames(); }
    std::vector<win::Cursor> CursorHistory() const { return system_->CursorHistory(); }

private:
    HeadlessBackend* backend_;  // owned by the system
    std::unique_ptr<win::WindowSystem> system_;
    win::MessageLog log_;
};

}  // namespace vexlo::headless
