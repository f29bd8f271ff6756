#include "platform/headless/headless_backend.h"

#include "platform/image/png_codec.h"
#include "platform/win/messages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace vexlo::headless {
namespace {

int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

HeadlessBackend::HeadlessBackend(HeadlessConfig config) : config_(std::move(config)), realStart_(SteadyMs()) {
    warpedCursor_ = {config_.screen.width / 2, config_.screen.height / 2};
}

HeadlessBackend::~HeadlessBackend() = default;

std::string HeadlessBackend::FrameFileName(uint64_t sequence, const win::FrameInfo& info) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%04llu-%s-x%d-y%d-%dx%d.png", static_cast<unsigned long long>(sequence),
                  info.name.empty() ? "window" : info.name.c_str(), info.screenRect.left, info.screenRect.top,
                  info.screenRect.width(), info.screenRect.height());
    return buffer;
}

win::ScreenInfo HeadlessBackend::Screen() const {
    win::ScreenInfo s;
    s.size = config_.screen;
    const int band = std::clamp(config_.taskbarHeight, 0, config_.screen.height);
    s.workArea = {0, 0, config_.screen.width, config_.screen.height - band};
    return s;
}

int64_t HeadlessBackend::NowMs() const {
    if (config_.clock == ClockMode::Real) return SteadyMs() - realStart_;
    std::lock_guard lock(mutex_);
    return virtualNow_;
}

void HeadlessBackend::SetInputSink(win::InputSink* sink) {
    std::lock_guard lock(mutex_);
    sink_ = sink;
}

void HeadlessBackend::CreateNativeWindow(win::Window window, const win::NativeWindowState& state) {
    std::lock_guard lock(mutex_);
    windows_[window] = {state, 0};
}

void HeadlessBackend::UpdateNativeWindow(win::Window window, const win::NativeWindowState& state) {
    std::lock_guard lock(mutex_);
    auto& r = windows_[window];
    r.state = state;
    ++r.updates;
}

void HeadlessBackend::DestroyNativeWindow(win::Window window) {
    std::lock_guard lock(mutex_);
    windows_.erase(window);
    std::erase(stack_, window);
}

void HeadlessBackend::RestackNativeWindows(const std::vector<win::Window>& frontToBack) {
    std::lock_guard lock(mutex_);
    stack_ = frontToBack;
}

void HeadlessBackend::PresentFrame(const win::FrameInfo& info, const gfx::Bitmap& pixels) {
    CapturedFrame frame;
    {
        std::lock_guard lock(mutex_);
        frame.sequence = ++frameSequence_;
    }
    frame.info = info;
    frame.fileName = FrameFileName(frame.sequence, info);
    if (!config_.framesDir.empty() && !pixels.empty()) {
        const std::string path = config_.framesDir + "/" + frame.fileName;
        if (!image::WritePngFile(pixels, path)) std::fprintf(stderr, "headless: cannot write %s\n", path.c_str());
    }
    if (config_.keepFrames) {
        frame.pixels = pixels;
        std::lock_guard lock(mutex_);
        frames_.push_back(std::move(frame));
    }
}

void HeadlessBackend::Wake() {
    {
        std::lock_guard lock(mutex_);
        wake_ = true;
    }
    changed_.notify_all();
}

void HeadlessBackend::WaitForEvents(std::optional<int64_t> deadlineMs) {
    std::unique_lock lock(mutex_);
    if (config_.clock == ClockMode::Virtual) {
        if (wake_) {
            wake_ = false;
            return;
        }
        std::optional<int64_t> target = deadlineMs;
        if (!scheduled_.empty() && (!target || scheduled_.front().atMs < *target)) target = scheduled_.front().atMs;
        if (target) {
            // Nothing else can happen before the next due event: time jumps there.
            virtualNow_ = std::max(virtualNow_, *target);
            lock.unlock();
            DeliverDueInput();
            return;
        }
        const bool woken = changed_.wait_for(lock, std::chrono::milliseconds(config_.idleWatchdogMs), [this] { return wake_; });
        if (!woken) {
            std::fprintf(stderr,
                         "headless: a message loop is waiting with nothing scheduled and nothing posted "
                         "(virtual clock at %lld ms); giving up\n",
                         static_cast<long long>(virtualNow_));
            std::abort();
        }
        wake_ = false;
        return;
    }
    for (;;) {
        if (wake_) {
            wake_ = false;
            return;
        }
        const int64_t now = SteadyMs() - realStart_;
        if (!scheduled_.empty() && scheduled_.front().atMs <= now) {
            lock.unlock();
            DeliverDueInput();
            return;
        }
        std::optional<int64_t> until = deadlineMs;
        if (!scheduled_.empty() && (!until || scheduled_.front().atMs < *until)) until = scheduled_.front().atMs;
        if (until && *until <= now) return;
        if (until) {
            changed_.wait_for(lock, std::chrono::milliseconds(*until - now));
        } else {
            changed_.wait(lock);
        }
    }
}

void HeadlessBackend::Sleep(uint32_t ms) {
    if (config_.clock == ClockMode::Real) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    std::lock_guard lock(mutex_);
    virtualNow_ += ms;
}

void HeadlessBackend::SetClock(int64_t ms) {
    if (config_.clock == ClockMode::Real) return;
    std::lock_guard lock(mutex_);
    virtualNow_ = std::max(virtualNow_, ms);
}

void HeadlessBackend::ScheduleInput(const ScheduledInput& input) {
    {
        std::lock_guard lock(mutex_);
        auto at = std::upper_bound(scheduled_.begin(), scheduled_.end(), input.atMs,
                                   [](int64_t t, const ScheduledInput& s) { return t < s.atMs; });
        scheduled_.insert(at, input);
    }
    changed_.notify_all();
}

std::optional<int64_t> HeadlessBackend::NextScheduledInput() const {
    std::lock_guard lock(mutex_);
    if (scheduled_.empty()) return std::nullopt;
    return scheduled_.front().atMs;
}

std::vector<win::InputEvent> HeadlessBackend::ExpandTrayClick(const ScheduledInput& input) const {
    const TrayRecord* icon = nullptr;
    for (const auto& t : tray_) {
        if (input.event.trayId == 0 || t.state.id == input.event.trayId) {
            icon = &t;
            break;
        }
    }
    if (!icon) return {};
    const gfx::Rect r = icon->state.rect;
    const gfx::Point centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    std::vector<win::InputEvent> out;
    win::InputEvent move;
    move.type = win::InputEvent::Type::MouseMove;
    move.point = centre;
    out.push_back(move);
    auto tray = [&](uint32_t message) {
        win::InputEvent e;
        e.type = win::InputEvent::Type::TrayMouse;
        e.point = centre;
        e.trayWindow = icon->state.window;
        e.trayId = icon->state.id;
        e.trayMessage = message;
        out.push_back(e);
    };
    tray(win::WM_MOUSEMOVE);
    const bool right = input.event.button == win::MouseButton::Right;
    tray(right ? win::WM_RBUTTONDOWN : win::WM_LBUTTONDOWN);
    tray(right ? win::WM_RBUTTONUP : win::WM_LBUTTONUP);
    return out;
}

void HeadlessBackend::DeliverDueInput() {
    std::vector<win::InputEvent> due;
    win::InputSink* sink = nullptr;
    {
        std::lock_guard lock(mutex_);
        const int64_t now = config_.clock == ClockMode::Real ? SteadyMs() - realStart_ : virtualNow_;
        auto it = scheduled_.begin();
        while (it != scheduled_.end() && it->atMs <= now) {
            if (it->trayClick) {
                for (const auto& e : ExpandTrayClick(*it)) due.push_back(e);
            } else {
                due.push_back(it->event);
            }
            ++it;
        }
        scheduled_.erase(scheduled_.begin(), it);
        sink = sink_;
    }
    // The sink takes the window system's lock: never call it with ours held.
    if (!sink) return;
    for (const auto& e : due) sink->QueueInput(e);
}

void HeadlessBackend::SetCursorShape(const win::CursorImage& cursor) {
    std::lock_guard lock(mutex_);
    cursorShapes_.push_back(cursor.standardId);
}

void HeadlessBackend::WarpCursor(gfx::Point screenPoint) {
    std::lock_guard lock(mutex_);
    warpedCursor_ = screenPoint;
}

std::optional<std::u16string> HeadlessBackend::GetClipboardText() {
    std::lock_guard lock(mutex_);
    return clipboard_;
}

bool HeadlessBackend::SetClipboardText(const std::u16string& text) {
    std::lock_guard lock(mutex_);
    clipboard_ = text;
    return true;
}

void HeadlessBackend::UpdateTrayIcon(const win::TrayIconState& icon) {
    std::lock_guard lock(mutex_);
    for (auto& t : tray_) {
        if (t.state.window == icon.window && t.state.id == icon.id) {
            t.state = icon;
            t.state.icon = nullptr;
            return;
        }
    }
    tray_.push_back({icon});
    tray_.back().state.icon = nullptr;
}

void HeadlessBackend::RemoveTrayIcon(win::Window window, uint32_t id) {
    std::lock_guard lock(mutex_);
    std::erase_if(tray_, [&](const TrayRecord& t) { return t.state.window == window && t.state.id == id; });
}

std::vector<CapturedFrame> HeadlessBackend::Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::optional<CapturedFrame> HeadlessBackend::LastFrame(win::Window window) const {
    std::lock_guard lock(mutex_);
    for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) {
        if (it->info.window == window) return *it;
    }
    return std::nullopt;
}

void HeadlessBackend::ClearFrames() {
    std::lock_guard lock(mutex_);
    frames_.clear();
}

uint64_t HeadlessBackend::FrameCount() const {
    std::lock_guard lock(mutex_);
    return frameSequence_;
}

std::map<win::Window, NativeWindowRecord> HeadlessBackend::NativeWindows() const {
    std::lock_guard lock(mutex_);
    return windows_;
}

std::vector<win::Window> HeadlessBackend::Stack() const {
    std::lock_guard lock(mutex_);
    return stack_;
}

std::vector<uint32_t> HeadlessBackend::CursorShapes() const {
    std::lock_guard lock(mutex_);
    return cursorShapes_;
}

std::vector<win::TrayIconState> HeadlessBackend::TrayIcons() const {
    std::lock_guard lock(mutex_);
    std::vector<win::TrayIconState> out;
    for (const auto& t : tray_) out.push_back(t.state);
    return out;
}

gfx::Point HeadlessBackend::WarpedCursor() const {
    std::lock_guard lock(mutex_);
    return warpedCursor_;
}

}  // namespace vexlo::headless
