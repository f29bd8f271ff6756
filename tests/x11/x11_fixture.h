#pragma once
// Tests on a private Xvfb: the window system on the X11 backend, a second connection of
// the test's own (the "probe") that plays the user through XTest and looks at what the
// server shows, and a loop that dispatches messages until something has happened.
// GoogleTest first: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "platform/win/message_spy.h"
#include "platform/win/window_api.h"
#include "platform/win/window_system.h"
#include "platform/x11/connection.h"
#include "platform/x11/x11_backend.h"
#include "tests/win/test_windows.h"
#include "tests/x11/xvfb_server.h"

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vexlo::x11::testing {

inline constexpr int kScreenWidth = 1280;
inline constexpr int kScreenHeight = 800;

// One server per test process, started by the first test that asks; null (with *why)
// when Xvfb is missing.
XvfbServer* SharedServer(std::string* why);

class X11Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The window system on a backend of the test server; its windows are destroyed, and
    // it ends, with the test.
    void StartSystem(X11BackendOptions options = {});
    X11Backend& backend() { return *backend_; }
    win::WindowSystem& system() { return *system_; }
    win::MessageLog& log() { return log_; }
    win::testing::TestWindows& windows() { return *windows_; }
    Display* probe() { return probe_.get(); }
    ::Window probeRoot() { return DefaultRootWindow(probe_.get()); }
    const std::string& displayName() const { return server_->display(); }

    // Dispatches messages (and waits on the backend) until `done` holds or the time is up.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
    // Dispatches what is there now, after the server has handled the probe's requests.
    void PumpPending();

    // The user, through XTest: each call returns once the server has handled it.
    void MovePointer(int x, int y);
    void Button(unsigned button, bool down);
    void Click(int x, int y, unsigned button = 1);
    void Key(unsigned long keysym, bool down);
    void TypeKey(unsigned long keysym);
    // A key code that types `keysym`, mapping a spare one when the keyboard has none.
    unsigned KeycodeFor(unsigned long keysym);

    // What the screen shows, as 0xFFRRGGBB.
    gfx::Bitmap CaptureScreen(const gfx::Rect& area);
    // Pixels of one window as the server keeps them, 0xAARRGGBB for a 32-bit window.
    gfx::Bitmap CaptureWindow(::Window window, int width, int height);
    // The window's shape (ShapeBounding or ShapeInput) as rectangles.
    std::vector<gfx::Rect> ShapeRects(::Window window, int kind);
    // Window attributes as the probe sees them.
    XWindowAttributes Attributes(::Window window);
    std::vector<unsigned long> AtomsOf(::Window window, const char* property);
    Atom Intern(const char* name);

    // The messages of one number sent or dispatched to a window, with their parameters.
    std::vector<win::MessageEvent> Delivered(win::Window window, uint32_t message) const;

    bool quitSeen() const { return quitSeen_; }

private:
    XvfbServer* server_ = nullptr;
    DisplayHandle probe_;
    X11Backend* backend_ = nullptr;
    std::unique_ptr<win::WindowSystem> system_;
    std::unique_ptr<win::testing::TestWindows> windows_;
    win::MessageLog log_;
    bool quitSeen_ = false;
};

}  // namespace vexlo::x11::testing
