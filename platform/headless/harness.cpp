#include "platform/headless/harness.h"

#include "platform/win/tray.h"

namespace vexlo::headless {

using win::InputEvent;
using Type = InputEvent::Type;

HeadlessHarness::HeadlessHarness(HeadlessConfig config, win::WindowSystemOptions options) {
    config.clock = ClockMode::Virtual;
    auto backend = std::make_unique<HeadlessBackend>(std::move(config));
    backend_ = backend.get();
    system_ = std::make_unique<win::WindowSystem>(std::move(backend), options);
    system_->AddMessageObserver(&log_);
}

HeadlessHarness::~HeadlessHarness() {
    DestroyAllWindows();
    system_->RemoveMessageObserver(&log_);
}

void HeadlessHarness::DestroyAllWindows() {
    for (int guard = 0; guard < 10000; ++guard) {
        const std::vector<win::Window> windows = win::GetTopLevelWindows();
        if (windows.empty()) return;
        bool destroyed = false;
        for (win::Window w : windows) destroyed = win::DestroyWindow(w) || destroyed;
        if (!destroyed) return;  // windows of other threads stay
    }
}

int64_t HeadlessHarness::Now() const { return backend_->NowMs(); }

void HeadlessHarness::Pump() {
    win::Msg msg;
    for (int guard = 0; guard < 1000000; ++guard) {
        if (!win::PeekMessage(&msg, win::Window{}, 0, 0, win::PM_NOREMOVE)) return;
        if (msg.message == win::WM_QUIT) return;
        if (!win::PeekMessage(&msg, win::Window{}, 0, 0, win::PM_REMOVE)) return;
        if (msg.message == win::WM_QUIT) {
            // Posted by another thread in between: it stays for the code under test.
            win::PostQuitMessage(static_cast<int>(static_cast<intptr_t>(msg.wParam)));
            return;
        }
        win::TranslateMessage(&msg);
        win::DispatchMessage(&msg);
    }
}

bool HeadlessHarness::quitPending() const {
    win::Msg msg;
    return win::PeekMessage(&msg, win::Window{}, win::WM_QUIT, win::WM_QUIT, win::PM_NOREMOVE) && msg.message == win::WM_QUIT;
}

void HeadlessHarness::Advance(int64_t ms) {
    const int64_t target = Now() + std::max<int64_t>(ms, 0);
    Pump();
    for (int stuck = 0; stuck < 1000;) {
        std::optional<int64_t> next = system_->NextDeadline();
        const std::optional<int64_t> input = backend_->NextScheduledInput();
        if (input && (!next || *input < *next)) next = input;
        if (!next || *next > target) break;
        if (*next <= Now()) {
            ++stuck;  // due, yet nothing took it (a quit request in the way, or another thread's)
        } else {
            stuck = 0;
            backend_->SetClock(*next);
        }
        backend_->DeliverDueInput();
        Pump();
        if (quitPending()) break;
    }
    backend_->SetClock(target);
    backend_->DeliverDueInput();
    Pump();
}

void HeadlessHarness::Inject(const InputEvent& event) {
    system_->input().QueueInput(event);
    Pump();
}

void HeadlessHarness::MoveTo(int x, int y) {
    InputEvent e;
    e.type = Type::MouseMove;
    e.point = {x, y};
    Inject(e);
}

void HeadlessHarness::Press(int x, int y, win::MouseButton button) {
    MoveTo(x, y);
    InputEvent e;
    e.type = Type::ButtonDown;
    e.point = {x, y};
    e.button = button;
    Inject(e);
}

void HeadlessHarness::Release(int x, int y, win::MouseButton button) {
    InputEvent e;
    e.type = Type::ButtonUp;
    e.point = {x, y};
    e.button = button;
    Inject(e);
}

void HeadlessHarness::Click(int x, int y, win::MouseButton button) {
    Press(x, y, button);
    Release(x, y, button);
}

void HeadlessHarness::DoubleClick(int x, int y, win::MouseButton button) {
    Click(x, y, button);
    Click(x, y, button);
}

void HeadlessHarness::Wheel(int x, int y, int delta) {
    MoveTo(x, y);
    InputEvent e;
    e.type = Type::Wheel;
    e.point = {x, y};
    e.wheelDelta = delta;
    Inject(e);
}

gfx::Point HeadlessHarness::ToScreen(win::Window window, int x, int y) const {
    gfx::Point p{x, y};
    win::ClientToScreen(window, &p);
    return p;
}

void HeadlessHarness::MoveTo(win::Window window, int x, int y) {
    const gfx::Point p = ToScreen(window, x, y);
    MoveTo(p.x, p.y);
}

void HeadlessHarness::Click(win::Window window, int x, int y, win::MouseButton button) {
    const gfx::Point p = ToScreen(window, x, y);
    Click(p.x, p.y, button);
}

void HeadlessHarness::KeyDown(uint32_t virtualKey) {
    InputEvent e;
    e.type = Type::KeyDown;
    e.virtualKey = virtualKey;
    Inject(e);
}

void HeadlessHarness::KeyUp(uint32_t virtualKey) {
    InputEvent e;
    e.type = Type::KeyUp;
    e.virtualKey = virtualKey;
    Inject(e);
}

void HeadlessHarness::Key(uint32_t virtualKey) {
    KeyDown(virtualKey);
    KeyUp(virtualKey);
}

void HeadlessHarness::KeyCombo(std::initializer_list<uint32_t> keys) {
    for (uint32_t k : keys) KeyDown(k);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) KeyUp(*it);
}

void HeadlessHarness::TypeText(std::u16string_view text) {
    for (char16_t c : text) {
        uint32_t key = 0;
        bool shift = false;
        if (win::KeyForCharacter(c, &key, &shift)) {
            if (shift) KeyDown(win::VK_SHIFT);
            Key(key);
            if (shift) KeyUp(win::VK_SHIFT);
        } else {
            InputEvent e;
            e.type = Type::Character;
            e.character = c;
            Inject(e);
        }
    }
}

void HeadlessHarness::DeactivateApp() {
    InputEvent e;
    e.type = Type::AppDeactivated;
    Inject(e);
}

void HeadlessHarness::ActivateApp() {
    InputEvent e;
    e.type = Type::AppActivated;
    Inject(e);
}

bool HeadlessHarness::ClickTrayIcon(win::Window window, uint32_t id, win::MouseButton button) {
    gfx::Rect r;
    if (!win::GetTrayIconRect(window, id, &r)) return false;
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    MoveTo(x, y);
    auto tray = [&](uint32_t message) {
        InputEvent e;
        e.type = Type::TrayMouse;
        e.point = {x, y};
        e.trayWindow = window;
        e.trayId = id;
        e.trayMessage = message;
        Inject(e);
    };
    tray(win::WM_MOUSEMOVE);
    const bool right = button == win::MouseButton::Right;
    tray(right ? win::WM_RBUTTONDOWN : win::WM_LBUTTONDOWN);
    tray(right ? win::WM_RBUTTONUP : win::WM_LBUTTONUP);
    return true;
}

}  // namespace vexlo::headless
