#pragma once
// The display backend of a real X server: every top-level window of the window system is
// an X window, frames are shown as they are presented (per-pixel alpha through a 32-bit
// visual when a compositing manager runs; composed over what lies beneath, and cut to
// the visible pixels with the shape extension, when none does), input comes from the
// server, the loop waits on the connection, the clipboard is the CLIPBOARD selection and
// the notification-area icon is docked in the freedesktop system tray.
#include "platform/win/display_backend.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vexlo::x11 {

struct X11BackendOptions {
    std::string display;          // empty: $DISPLAY
    bool allowAlphaVisual = true;  // false: always the opaque rendering
};

class X11Backend final : public win::DisplayBackend {
public:
    // Null when no server answers.
    static std::unique_ptr<X11Backend> Open(const X11BackendOptions& options = {});
    ~X11Backend() override;
    X11Backend(const X11Backend&) = delete;
    X11Backend& operator=(const X11Backend&) = delete;

    // DisplayBackend.
    const char* Name() const override { return "x11"; }
    win::ScreenInfo Screen() const override;
    int64_t NowMs() const override;
    void SetInputSink(win::InputSink* sink) override;
    void CreateNativeWindow(win::Window window, const win::NativeWindowState& state) override;
    void UpdateNativeWindow(win::Window window, const win::NativeWindowState& state) override;
    void DestroyNativeWindow(win::Window window) override;
    void RestackNativeWindows(const std::vector<win::Window>& frontToBack) override;
    void PresentFrame(const win::FrameInfo& info, const gfx::Bitmap& pixels) override;
    void WaitForEvents(std::optional<int64_t> deadlineMs) override;
    void Wake() override;
    void Sleep(uint32_t ms) override;
    void SetCursorShape(const win::CursorImage& cursor) override;
    void WarpCursor(gfx::Point screenPoint) override;
    std::optional<std::u16string> GetClipboardText() override;
    bool SetClipboardText(const std::u16string& text) override;
    bool AddTrayIcon(const win::TrayIconState& icon) override;
    void UpdateTrayIcon(const win::TrayIconState& icon) override;
    void RemoveTrayIcon(win::Window window, uint32_t id) override;

    // For tests and benchmarks.
    // Returns once the server has handled every request made so far.
    void Sync();
    // The X window of a top-level window (0 while it has none: never shown yet).
    unsigned long NativeWindowId(win::Window window) const;
    // The X window of a notification-area icon (0 when there is none).
    unsigned long TrayIconWindowId(win::Window window, uint32_t id) const;
    // Whether the window is shown through the 32-bit alpha visual.
    bool UsesAlphaVisual(win::Window window) const;
    bool CompositorRunning() const;
    // Frames sent to the server, over the backend's life.
    uint64_t UploadCount() const;
    // How often the wait in WaitForEvents returned from the system (wakes, events,
    // deadlines): a loop that spins shows here.
    uint64_t WaitReturns() const;

    struct Impl;

private:
    explicit X11Backend(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The backend a real process gets when DISPLAY names a reachable server; null otherwise.
std::unique_ptr<win::DisplayBackend> CreateX11BackendFromEnvironment();

}  // namespace vexlo::x11
