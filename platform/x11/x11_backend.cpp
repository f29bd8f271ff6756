// The backend object: the connection, the screen, the clock, and the wait on the
// connection and the doorbell that Wake rings.
#include "platform/x11/x11_backend.h"

#include "platform/x11/backend_impl.h"
#include "platform/x11/properties.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shape.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace vexlo::x11 {
namespace {

int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

XIM OpenInputMethod(Display* display) {
    // The user's input method when one runs; else Xlib's own, which still composes.
    if (XSetLocaleModifiers("")) {
        if (XIM im = XOpenIM(display, nullptr, nullptr, nullptr)) return im;
    }
    if (XSetLocaleModifiers("@im=none")) return XOpenIM(display, nullptr, nullptr, nullptr);
    return nullptr;
}

}  // namespace

X11Backend::Impl::Impl(DisplayHandle handle, X11BackendOptions opts)
    : options(std::move(opts)), connection(std::move(handle)), display(connection.get()) {
    screen = DefaultScreen(display);
    root = RootWindow(display, screen);
    atoms.Intern(display, screen);
    visual = DefaultVisual(display, screen);
    depth = DefaultDepth(display, screen);
    screenFormat = PixelFormat(depth, static_cast<uint32_t>(visual->red_mask), static_cast<uint32_t>(visual->green_mask),
                               static_cast<uint32_t>(visual->blue_mask));
    XVisualInfo info{};
    if (XMatchVisualInfo(display, screen, 32, TrueColor, &info)) {
        alphaVisual = info.visual;
        alphaFormat = PixelFormat(32, static_cast<uint32_t>(info.red_mask), static_cast<uint32_t>(info.green_mask),
                                  static_cast<uint32_t>(info.blue_mask));
    }
    int eventBase = 0, errorBase = 0;
    render = XRenderQueryExtension(display, &eventBase, &errorBase);
    if (render) argbPictFormat = XRenderFindStandardFormat(display, PictStandardARGB32);
    shapeExtension = XShapeQueryExtension(display, &eventBase, &errorBase);
    xfixes = XFixesQueryExtension(display, &xfixesEventBase, &errorBase);
    if (xfixes) {
        XFixesSelectSelectionInput(display, root, atoms.compositorSelection,
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
    }
    compositor = XGetSelectionOwner(display, atoms.compositorSelection) != None;
    // A tray that starts later announces itself to the root window.
    XSelectInput(display, root, StructureNotifyMask);
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    attributes.override_redirect = True;
    helper = XCreateWindow(display, root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                           CWEventMask | CWOverrideRedirect, &attributes);
    inputMethod = OpenInputMethod(display);
    // Held keys repeat as presses alone, as on the target.
    XkbSetDetectableAutoRepeat(display, True, nullptr);
    ReadWindowManagerSupport();
    wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    startMs = SteadyMs();
    XFlush(display);
}

X11Backend::Impl::~Impl() {
    for (auto& [handle, w] : windows) DestroyXWindow(w);
    for (auto& icon : trayIcons) DestroyTrayIcon(icon);
    if (trayTip.xid) XDestroyWindow(display, trayTip.xid);
    if (trayTip.content) XFreePixmap(display, trayTip.content);
    FreeCursors();
    if (gcScreenDepth) XFreeGC(display, gcScreenDepth);
    if (gcAlphaDepth) XFreeGC(display, gcAlphaDepth);
    if (inputMethod) XCloseIM(inputMethod);
    if (helper) XDestroyWindow(display, helper);
    XSync(display, False);
    if (wakeFd >= 0) close(wakeFd);
}

int64_t X11Backend::Impl::Now() const { return SteadyMs() - startMs; }

void X11Backend::Impl::RingDoorbell() {
    const uint64_t one = 1;
    if (wakeFd >= 0) (void)!write(wakeFd, &one, sizeof one);
}

void X11Backend::Impl::AfterRequests() {
    XFlush(display);
    // Replies read by this call may have brought events along; the waiting loop would
    // not see them on the socket any more.
    if (XQLength(display) > 0) RingDoorbell();
}

bool X11Backend::Impl::CheckCompositor() {
    const bool now = XGetSelectionOwner(display, atoms.compositorSelection) != None;
    const bool changed = now != compositor;
    compositor = now;
    return changed;
}

void X11Backend::Impl::ReadWindowManagerSupport() {
    const auto supported = ReadProperty32(display, root, atoms._NET_SUPPORTED, XA_ATOM, 4096);
    wmActivates = std::find(supported.begin(), supported.end(), atoms._NET_ACTIVE_WINDOW) != supported.end();
}

win::ScreenInfo X11Backend::Impl::ReadScreen() const {
    win::ScreenInfo s;
    s.size = {DisplayWidth(display, screen), DisplayHeight(display, screen)};
    const gfx::Rect whole{0, 0, s.size.width, s.size.height};
    s.workArea = whole;
    // The work area of the current desktop, as the window manager publishes it.
    const auto desktop = ReadProperty32(display, root, atoms._NET_CURRENT_DESKTOP, XA_CARDINAL, 1);
    const auto areas = ReadProperty32(display, root, atoms._NET_WORKAREA, XA_CARDINAL, 4 * 64);
    size_t index = desktop.empty() ? 0 : static_cast<size_t>(desktop[0]) * 4;
    if (index + 4 > areas.size()) index = 0;
    if (areas.size() >= index + 4) {
        auto clampInt = [](unsigned long v) { return static_cast<int>(std::min<unsigned long>(v, INT_MAX / 2)); };
        const gfx::Rect r = gfx::Rect::FromXYWH(clampInt(areas[index]), clampInt(areas[index + 1]),
                                                clampInt(areas[index + 2]), clampInt(areas[index + 3]))
                                .Intersect(whole);
        if (!r.IsEmpty()) s.workArea = r;
    }
    return s;
}

// ---- X11Backend ----

std::unique_ptr<X11Backend> X11Backend::Open(const X11BackendOptions& options) {
    DisplayHandle display = OpenDisplay(options.display);
    if (!display) return nullptr;
    return std::unique_ptr<X11Backend>(new X11Backend(std::make_unique<Impl>(std::move(display), options)));
}

X11Backend::X11Backend(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

X11Backend::~X11Backend() = default;

win::ScreenInfo X11Backend::Screen() const {
    std::lock_guard lock(impl_->mutex);
    win::ScreenInfo s = impl_->ReadScreen();
    impl_->AfterRequests();
    return s;
}

int64_t X11Backend::NowMs() const { return impl_->Now(); }

void X11Backend::SetInputSink(win::InputSink* sink) {
    std::lock_guard lock(impl_->mutex);
    impl_->sink = sink;
}

void X11Backend::Wake() {
    impl_->woken.store(true);
    impl_->RingDoorbell();
}

void X11Backend::Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void X11Backend::WaitForEvents(std::optional<int64_t> deadlineMs) {
    Impl& s = *impl_;
    for (;;) {
        std::vector<win::InputEvent> input;
        win::InputSink* sink = nullptr;
        std::optional<int64_t> own;
        {
            std::lock_guard lock(s.mutex);
            uint64_t rung = 0;
            if (s.wakeFd >= 0) (void)!read(s.wakeFd, &rung, sizeof rung);
            s.MapPending();
            while (XPending(s.display) > 0) {
                XEvent event;
                XNextEvent(s.display, &event);
                // An input method may take keys for a character it composes.
                if (XFilterEvent(&event, None)) continue;
                s.ProcessEvent(event, input);
            }
            s.FinishBatch(input);
            s.RunOwnTimers();
            own = s.OwnDeadline();
            s.AfterRequests();
            sink = s.sink;
        }
        if (!input.empty() && sink) {
            // The sink takes the window system's lock: never with ours held.
            for (const auto& e : input) sink->QueueInput(e);
            return;
        }
        if (s.woken.exchange(false)) return;
        int timeout = -1;
        const int64_t now = s.Now();
        if (deadlineMs) {
            const int64_t left = *deadlineMs - now;
            if (left <= 0) return;
            timeout = static_cast<int>(std::min<int64_t>(left, INT_MAX));
        }
        // The backend's own timers (the tray icon's tip) end the poll, not the wait.
        if (own) {
            const int ownLeft = static_cast<int>(std::clamp<int64_t>(*own - now, 0, INT_MAX));
            timeout = timeout < 0 ? ownLeft : std::min(timeout, ownLeft);
        }
        pollfd fds[2] = {{ConnectionNumber(s.display), POLLIN, 0}, {s.wakeFd, POLLIN, 0}};
        const int ready = poll(fds, s.wakeFd >= 0 ? 2 : 1, timeout);
        s.waitReturns.fetch_add(1);
        if (ready > 0 && (fds[0].revents & (POLLERR | POLLHUP))) {
            // The server is gone; Xlib ends the process on the next read.
            std::lock_guard lock(s.mutex);
            XNoOp(s.display);
            XSync(s.display, False);
        }
    }
}

void X11Backend::Sync() {
    std::lock_guard lock(impl_->mutex);
    XSync(impl_->display, False);
    impl_->AfterRequests();
}

bool X11Backend::CompositorRunning() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->compositor;
}

uint64_t X11Backend::UploadCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->uploads;
}

uint64_t X11Backend::WaitReturns() const { return impl_->waitReturns.load(); }

std::unique_ptr<win::DisplayBackend> CreateX11BackendFromEnvironment() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    X11BackendOptions options;
    options.display = name;
    auto backend = X11Backend::Open(options);
    if (!backend) {
        std::fprintf(stderr, "x11: cannot open the display %s; running without one\n", name);
        return nullptr;
    }
    return backend;
}

}  // namespace vexlo::x11
