// Top-level windows as the window manager and the server see them: who places them,
// their type and state hints, owners, visibility, geometry, stacking, the keyboard, the
// work area and the window manager's close.
#include "tests/x11/x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace vexlo::x11::testing {
namespace {

using namespace vexlo::win;

class WindowsTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        StartSystem();
    }
    ::Window Xid(Window w) { return static_cast<::Window>(backend().NativeWindowId(w)); }
    bool Has(const std::vector<unsigned long>& atoms, const char* name) {
        return std::find(atoms.begin(), atoms.end(), Intern(name)) != atoms.end();
    }
    // Top-level windows of the server, bottom first.
    std::vector<::Window> ServerStack() {
        ::Window rootOut = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(probe(), probeRoot(), &rootOut, &parent, &children, &count);
        std::vector<::Window> out(children, children + count);
        if (children) XFree(children);
        return out;
    }
    size_t StackIndex(::Window w) {
        const auto s = ServerStack();
        return static_cast<size_t>(std::find(s.begin(), s.end(), w) - s.begin());
    }
};

TEST_F(WindowsTest, EachKindOfWindowTellsTheWindowManagerWhatItIs) {
    const Window main = windows().Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 60, 450, 360}, {}, {}, 0,
                                         win::testing::TestWindows::kClass, u"Vexlo 更新");
    struct Case {
        const char* name;
        uint32_t style;
        uint32_t exStyle;
        bool owned;
        bool overrideRedirect;
        const char* type;
        bool skipsTaskbar;
        bool above;
    };
    const Case cases[] = {
        {"corner popup", WS_POPUP, WS_EX_TOOLWINDOW, false, true, "_NET_WM_WINDOW_TYPE_NOTIFICATION", true, false},
        {"menu owned by the main window", 0, 0, true, true, "_NET_WM_WINDOW_TYPE_POPUP_MENU", true, false},
        {"captioned tool window", WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, false, false, "_NET_WM_WINDOW_TYPE_UTILITY", true, false},
        {"owned dialog", WS_POPUP | WS_CAPTION, 0, true, false, "_NET_WM_WINDOW_TYPE_DIALOG", true, false},
        {"popup with a task-bar button", WS_POPUP, WS_EX_APPWINDOW, false, false, "_NET_WM_WINDOW_TYPE_NORMAL", false, false},
        {"topmost captioned window", WS_OVERLAPPEDWINDOW, WS_EX_TOPMOST, false, false, "_NET_WM_WINDOW_TYPE_NORMAL", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The menu of the tray comes caption-less after the skin takes it over.
        uint32_t style = c.style;
        if (c.owned && style == 0) style = WS_POPUP;
        const Window w = windows().Create(style, {100, 100, 300, 200}, {}, c.owned ? main : Window{}, c.exStyle);
        ShowWindow(w, SW_SHOWNOACTIVATE);
        backend().Sync();
        const ::Window x = Xid(w);
        ASSERT_NE(x, 0u);
        EXPECT_EQ(Attributes(x).override_redirect != 0, c.overrideRedirect);
        const auto type = AtomsOf(x, "_NET_WM_WINDOW_TYPE");
        ASSERT_EQ(type.size(), 1u);
        EXPECT_EQ(type[0], Intern(c.type));
        const auto state = AtomsOf(x, "_NET_WM_STATE");
        EXPECT_EQ(Has(state, "_NET_WM_STATE_SKIP_TASKBAR"), c.skipsTaskbar);
        EXPECT_EQ(Has(state, "_NET_WM_STATE_ABOVE"), c.above);
        ::Window transientFor = 0;
        const bool hasOwner = XGetTransientForHint(probe(), x, &transientFor) && transientFor == Xid(main);
        EXPECT_EQ(hasOwner, c.owned);
        // No decorations: the window system draws every frame itself.
        EXPECT_EQ(AtomsOf(x, "_MOTIF_WM_HINTS"), (std::vector<unsigned long>{2, 0, 0, 0, 0}));
        DestroyWindow(w);
    }
    // The title, in UTF-8 and in the old Latin-1 form.
    char* name = nullptr;
    XFetchName(probe(), Xid(main), &name);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Vexlo ??");
    XFree(name);
    XTextProperty text{};
    ASSERT_TRUE(XGetTextProperty(probe(), Xid(main), &text, Intern("_NET_WM_NAME")));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text.value), text.nitems), "Vexlo 更新");
    XFree(text.value);
}

TEST_F(WindowsTest, ShowHideMoveAndSizeReachTheServer) {
    const Window w = windows().Popup({10, 20, 210, 120}, {}, WS_EX_TOOLWINDOW);
    backend().Sync();
    const ::Window x = Xid(w);
    ASSERT_NE(x, 0u);
    EXPECT_EQ(Attributes(x).map_state, IsViewable);
    SetWindowPos(w, Window{}, 300, 400, 120, 60, SWP_NOZORDER | SWP_NOACTIVATE);
    backend().Sync();
    XWindowAttributes a = Attributes(x);
    EXPECT_EQ((gfx::Rect::FromXYWH(a.x, a.y, a.width, a.height)), (gfx::Rect{300, 400, 420, 460}));
    ShowWindow(w, SW_HIDE);
    backend().Sync();
    EXPECT_EQ(Attributes(x).map_state, IsUnmapped);
    // Moved while hidden: it comes back where it is now.
    SetWindowPos(w, Window{}, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    backend().Sync();
    a = Attributes(x);
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_EQ(a.x, 5);
    EXPECT_EQ(a.y, 6);
    // Destroyed: gone from the server.
    DestroyWindow(w);
    backend().Sync();
    XWindowAttributes gone{};
    ErrorTrap trap(probe());
    XGetWindowAttributes(probe(), x, &gone);
    EXPECT_FALSE(trap.Sync());
}

TEST_F(WindowsTest, TheServersStackingFollowsTheWindowSystems) {
    const Window back = windows().Popup({100, 100, 300, 300}, {}, WS_EX_TOOLWINDOW);
    const Window front = windows().Popup({150, 150, 350, 350}, {}, WS_EX_TOOLWINDOW);
    const Window topmost = windows().Popup({200, 200, 400, 400}, {}, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    backend().Sync();
    EXPECT_LT(StackIndex(Xid(back)), StackIndex(Xid(front)));
    EXPECT_LT(StackIndex(Xid(front)), StackIndex(Xid(topmost)));
    SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    backend().Sync();
    // In front of its band, still behind the topmost one.
    EXPECT_LT(StackIndex(Xid(front)), StackIndex(Xid(back)));
    EXPECT_LT(StackIndex(Xid(back)), StackIndex(Xid(topmost)));
    // A window shown again takes its place in the order, not the top of the server's.
    ShowWindow(front, SW_HIDE);
    ShowWindow(front, SW_SHOWNOACTIVATE);
    backend().Sync();
    EXPECT_LT(StackIndex(Xid(front)), StackIndex(Xid(topmost)));
}

TEST_F(WindowsTest, TheActiveWindowHasTheKeyboard) {
    const Window a = windows().Popup({100, 100, 300, 200}, {}, WS_EX_TOOLWINDOW);
    const Window b = windows().Popup({400, 100, 600, 200}, {}, WS_EX_TOOLWINDOW);
    auto focused = [&] {
        ::Window f = 0;
        int revert = 0;
        XGetInputFocus(probe(), &f, &revert);
        return f;
    };
    SetForegroundWindow(a);
    backend().Sync();
    EXPECT_EQ(focused(), Xid(a));
    SetActiveWindow(b);
    backend().Sync();
    EXPECT_EQ(focused(), Xid(b));
    // Shown activated for the first time: the keyboard follows once it is on the screen.
    const Window c = windows().Create(WS_POPUP, {100, 300, 300, 400}, {}, {}, WS_EX_TOOLWINDOW);
    ShowWindow(c, SW_SHOW);
    backend().Sync();
    EXPECT_EQ(focused(), Xid(c));
}

TEST_F(WindowsTest, AnotherProgramTakingTheKeyboardDeactivatesTheApplication) {
    const Window w = windows().Popup({100, 100, 300, 200}, {}, WS_EX_TOOLWINDOW);
    SetForegroundWindow(w);
    PumpPending();
    ASSERT_EQ(GetActiveWindow(), w);
    log().Clear();
    const ::Window other = XCreateSimpleWindow(probe(), probeRoot(), 700, 100, 100, 100, 0, 0, 0xFFFFFF);
    XMapWindow(probe(), other);
    XSync(probe(), False);
    XSetInputFocus(probe(), other, RevertToParent, CurrentTime);
    XSync(probe(), False);
    ASSERT_TRUE(PumpUntil([&] { return !GetActiveWindow(); }));
    const auto activateApp = Delivered(w, WM_ACTIVATEAPP);
    ASSERT_EQ(activateApp.size(), 1u);
    EXPECT_EQ(activateApp[0].wParam, 0u);
    // The keyboard given back: the application is active again.
    XSetInputFocus(probe(), Xid(w), RevertToParent, CurrentTime);
    XSync(probe(), False);
    EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == w; }));
    XDestroyWindow(probe(), other);
}

TEST_F(WindowsTest, TheWindowManagersCloseClosesTheActiveWindow) {
    bool closed = false;
    const Window w = windows().Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300},
                                      [&](Window, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
                                          if (m == WM_CLOSE) {
                                              closed = true;
                                              return 0;
                                          }
                                          return std::nullopt;
                                      });
    SetForegroundWindow(w);
    PumpPending();
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = Xid(w);
    e.xclient.message_type = Intern("WM_PROTOCOLS");
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(Intern("WM_DELETE_WINDOW"));
    XSendEvent(probe(), Xid(w), False, NoEventMask, &e);
    XSync(probe(), False);
    EXPECT_TRUE(PumpUntil([&] { return closed; }));
}

TEST_F(WindowsTest, TheWorkAreaIsTheWindowManagersOrTheWholeScreen) {
    EXPECT_EQ(GetWorkArea(), (gfx::Rect{0, 0, kScreenWidth, kScreenHeight}));
    // A window manager with a panel at the top on its second desktop.
    const Atom cardinal = XA_CARDINAL;
    const long areas[] = {0, 0, kScreenWidth, kScreenHeight, 0, 30, kScreenWidth, kScreenHeight - 30};
    XChangeProperty(probe(), probeRoot(), Intern("_NET_WORKAREA"), cardinal, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(areas), 8);
    const long desktop = 1;
    XChangeProperty(probe(), probeRoot(), Intern("_NET_CURRENT_DESKTOP"), cardinal, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&desktop), 1);
    XSync(probe(), False);
    EXPECT_EQ(backend().Screen().workArea, (gfx::Rect{0, 30, kScreenWidth, kScreenHeight}));
    // A desktop the list does not reach falls back to the first entry.
    const long missing = 7;
    XChangeProperty(probe(), probeRoot(), Intern("_NET_CURRENT_DESKTOP"), cardinal, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&missing), 1);
    XSync(probe(), False);
    EXPECT_EQ(backend().Screen().workArea, (gfx::Rect{0, 0, kScreenWidth, kScreenHeight}));
    XDeleteProperty(probe(), probeRoot(), Intern("_NET_WORKAREA"));
    XDeleteProperty(probe(), probeRoot(), Intern("_NET_CURRENT_DESKTOP"));
    XSync(probe(), False);
}

}  // namespace
}  // namespace vexlo::x11::testing
