#pragma once
// A display that exists only in memory: windows are records, frames are bitmaps (kept for
// tests and/or written as PNG files), input comes from the tests or from a script, and
// time is either virtual (tests: it moves only when told, or when a message loop has
// nothing to do but wait for the next due event) or real (a headless real process).
#include "platform/gfx/bitmap.h"
#include "platform/win/display_backend.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::headless {

enum class ClockMode { Virtual, Real };

struct HeadlessConfig {
    gfx::Size screen{1920, 1080};
    int taskbarHeight = 40;  // at the bottom; the work area is the rest
    ClockMode clock = ClockMode::Virtual;
    std::string framesDir;    // when set, every frame is written there as a numbered PNG
    bool keepFrames = true;   // keep every frame in memory (tests)
    // With the virtual clock, a message loop that waits with nothing scheduled can only
    // be woken by another thread; after this much real time it is taken as a hung test.
    int64_t idleWatchdogMs = 60000;
};

struct CapturedFrame {
    uint64_t sequence = 0;  // 1, 2, 3, ... in the order of presentation
    win::FrameInfo info;
    gfx::Bitmap pixels;
    std::string fileName;  // "0001-update_window-x1722-y958-198x80.png"
};

// An input that happens at a moment of the backend's clock. A tray click names no
// window: it goes to the icon that exists when it happens.
struct ScheduledInput {
    int64_t atMs = 0;
    win::InputEvent event;
    bool trayClick = false;  // event.button says which button; trayId 0: the first icon
};

struct NativeWindowRecord {
    win::NativeWindowState state;
    int updates = 0;
};

class HeadlessBackend : public win::DisplayBackend {
public:
    explicit HeadlessBackend(HeadlessConfig config = {});
    ~HeadlessBackend() override;

    // The file name of a frame: sequence (four digits at least), window name, position
    // and size.
    static std::string FrameFileName(uint64_t sequence, const win::FrameInfo& info);

    // DisplayBackend.
    const char* Name() const override { return "headless"; }
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
    void UpdateTrayIcon(const win::TrayIconState& icon) override;
    void RemoveTrayIcon(win::Window window, uint32_t id) override;

    const HeadlessConfig& config() const { return config_; }

    // The virtual clock (no effect on a real one): it never goes back.
    void SetClock(int64_t ms);
    void ScheduleInput(const ScheduledInput& input);
    std::optional<int64_t> NextScheduledInput() const;
    // Delivers every scheduled input that is due now. Call without the window system's
    // lock (from the display thread).
    void DeliverDueInput();

    // What tests look at.
    std::vector<CapturedFrame> Frames() const;
    std::optional<CapturedFrame> LastFrame(win::Window window) const;
    void ClearFrames();
    uint64_t FrameCount() const;
    std::map<win::Window, NativeWindowRecord> NativeWindows() const;
    std::vector<win::Window> Stack() const;
    // The standard cursor id of every shape set (0 for a cursor made from a picture).
    std::vector<uint32_t> CursorShapes() const;
    std::vector<win::TrayIconState> TrayIcons() const;  // icon pointers are cleared
    gfx::Point WarpedCursor() const;

private:
    struct TrayRecord {
        win::TrayIconState state;
    };
    std::vector<win::InputEvent> ExpandTrayClick(const ScheduledInput& input) const;  // lock held

    const HeadlessConfig config_;
    const int64_t realStart_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    win::InputSink* sink_ = nullptr;
    int64_t virtualNow_ = 0;
    bool wake_ = false;
    std::vector<ScheduledInput> scheduled_;  // sorted by time, stable
    std::vector<CapturedFrame> frames_;
    uint64_t frameSequence_ = 0;
    std::map<win::Window, NativeWindowRecord> windows_;
    std::vector<win::Window> stack_;
    std::vector<uint32_t> cursorShapes_;
    gfx::Point warpedCursor_;
    std::optional<std::u16string> clipboard_;
    std::vector<TrayRecord> tray_;
};

}  // namespace vexlo::headless
