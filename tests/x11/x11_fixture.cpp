#include "tests/x11/x11_fixture.h"

#include "platform/x11/pixel_format.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include <mutex>

namespace vexlo::x11::testing {

XvfbServer* SharedServer(std::string* why) {
    static std::once_flag once;
    static std::unique_ptr<XvfbServer> server;
    static std::string reason;
    std::call_once(once, [] {
        server = XvfbServer::Start(std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24", &reason);
    });
    *why = reason;
    return server.get();
}

void X11Test::SetUp() {
    std::string why;
    server_ = SharedServer(&why);
    if (!server_) GTEST_SKIP() << "No X server for this test: " << why;
    probe_ = OpenDisplay(server_->display());
    ASSERT_TRUE(probe_) << "cannot connect to " << server_->display();
}

void X11Test::TearDown() {
    if (system_) {
        for (int guard = 0; guard < 100; ++guard) {
            const auto top = win::GetTopLevelWindows();
            if (top.empty()) break;
            for (win::Window w : top) win::DestroyWindow(w);
        }
        system_->RemoveMessageObserver(&log_);
        windows_.reset();
        system_.reset();
    }
    if (probe_) {
        // The next test starts with the keyboard where nobody took it.
        XSetInputFocus(probe_.get(), PointerRoot, RevertToPointerRoot, CurrentTime);
        XSync(probe_.get(), False);
    }
    probe_.reset();
}

void X11Test::StartSystem(X11BackendOptions options) {
    options.display = server_->display();
    auto backend = X11Backend::Open(options);
    ASSERT_TRUE(backend);
    backend_ = backend.get();
    system_ = std::make_unique<win::WindowSystem>(std::move(backend));
    system_->AddMessageObserver(&log_);
    windows_ = std::make_unique<win::testing::TestWindows>();
}

bool X11Test::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const int64_t deadline = backend_->NowMs() + timeoutMs;
    for (;;) {
        win::Msg m;
        while (win::PeekMessage(&m, win::Window{}, 0, 0, win::PM_REMOVE)) {
            if (m.message == win::WM_QUIT) {
                quitSeen_ = true;
                continue;
            }
            win::TranslateMessage(&m);
            win::DispatchMessage(&m);
        }
        if (done()) return true;
        const int64_t now = backend_->NowMs();
        if (now >= deadline) return false;
        // The backend's wait ends on input, wakes and deadlines only; what a test waits
        // for may be a change on the server, so it looks again now and then.
        int64_t until = std::min(deadline, now + 20);
        if (auto next = system_->NextDeadline(); next && *next < until) until = std::max(*next, now);
        backend_->WaitForEvents(until);
    }
}

void X11Test::PumpPending() {
    XSync(probe(), False);
    backend_->Sync();
    PumpUntil([] { return true; }, 0);
}

void X11Test::MovePointer(int x, int y) {
    XTestFakeMotionEvent(probe(), DefaultScreen(probe()), x, y, CurrentTime);
    XSync(probe(), False);
}

void X11Test::Button(unsigned button, bool down) {
    XTestFakeButtonEvent(probe(), button, down ? True : False, CurrentTime);
    XSync(probe(), False);
}

void X11Test::Click(int x, int y, unsigned button) {
    MovePointer(x, y);
    Button(button, true);
    Button(button, false);
}

unsigned X11Test::KeycodeFor(unsigned long keysym) {
    if (const KeyCode code = XKeysymToKeycode(probe(), keysym)) return code;
    int low = 0, high = 0;
    XDisplayKeycodes(probe(), &low, &high);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(probe(), static_cast<KeyCode>(low), high - low + 1, &perCode);
    unsigned spare = 0;
    for (int code = high; code >= low && !spare; --code) {
        bool empty = true;
        for (int i = 0; i < perCode; ++i) empty = empty && map[(code - low) * perCode + i] == NoSymbol;
        if (empty) spare = static_cast<unsigned>(code);
    }
    XFree(map);
    if (!spare) return 0;
    KeySym syms[2] = {keysym, keysym};
    XChangeKeyboardMapping(probe(), static_cast<int>(spare), 2, syms, 1);
    XSync(probe(), False);
    return spare;
}

void X11Test::Key(unsigned long keysym, bool down) {
    XTestFakeKeyEvent(probe(), KeycodeFor(keysym), down ? True : False, CurrentTime);
    XSync(probe(), False);
}

void X11Test::TypeKey(unsigned long keysym) {
    Key(keysym, true);
    Key(keysym, false);
}

gfx::Bitmap X11Test::CaptureScreen(const gfx::Rect& area) {
    gfx::Bitmap out(area.width(), area.height());
    Visual* v = DefaultVisual(probe(), DefaultScreen(probe()));
    const PixelFormat format(DefaultDepth(probe(), DefaultScreen(probe())), static_cast<uint32_t>(v->red_mask),
                             static_cast<uint32_t>(v->green_mask), static_cast<uint32_t>(v->blue_mask));
    XImage* image = XGetImage(probe(), probeRoot(), area.left, area.top, static_cast<unsigned>(area.width()),
                              static_cast<unsigned>(area.height()), AllPlanes, ZPixmap);
    if (!image) return {};
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) out.set_pixel(x, y, format.Decode(static_cast<uint32_t>(XGetPixel(image, x, y))) | 0xFF000000u);
    }
    XDestroyImage(image);
    return out;
}

gfx::Bitmap X11Test::CaptureWindow(::Window window, int width, int height) {
    gfx::Bitmap out(width, height);
    XImage* image = XGetImage(probe(), window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image) return {};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out.set_pixel(x, y, static_cast<uint32_t>(XGetPixel(image, x, y)));
    }
    XDestroyImage(image);
    return out;
}

std::vector<gfx::Rect> X11Test::ShapeRects(::Window window, int kind) {
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(probe(), window, kind, &count, &ordering);
    std::vector<gfx::Rect> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(gfx::Rect::FromXYWH(rects[i].x, rects[i].y, rects[i].width, rects[i].height));
    }
    if (rects) XFree(rects);
    return out;
}

XWindowAttributes X11Test::Attributes(::Window window) {
    XWindowAttributes a{};
    XGetWindowAttributes(probe(), window, &a);
    return a;
}

std::vector<win::MessageEvent> X11Test::Delivered(win::Window window, uint32_t message) const {
    std::vector<win::MessageEvent> out;
    for (const auto& e : log_.Events()) {
        if (e.window == window && e.message == message && e.kind != win::MessageEventKind::Posted) out.push_back(e);
    }
    return out;
}

Atom X11Test::Intern(const char* name) { return XInternAtom(probe(), name, False); }

std::vector<unsigned long> X11Test::AtomsOf(::Window window, const char* property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(probe(), window, Intern(property), 0, 1024, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32) {
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        out.assign(items, items + count);
    }
    if (data) XFree(data);
    return out;
}

}  // namespace vexlo::x11::testing
