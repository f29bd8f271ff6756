// Input from the server into the window system's messages: pointer, buttons, double
// clicks, wheels, capture, leaving, keys and characters through the keyboard's mapping.
#include "tests/x11/x11_fixture.h"

#include <X11/keysym.h>

namespace vexlo::x11::testing {
namespace {

using namespace vexlo::win;

class InputTest : public X11Test {
protected:
    using Handler = win::testing::Handler;
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        StartSystem();
    }
    ::Window Xid(Window w) { return static_cast<::Window>(backend().NativeWindowId(w)); }
    Window Target(Handler handler = {}) {
        const Window w = windows().Create(WS_POPUP | WS_VISIBLE, {100, 100, 300, 200}, std::move(handler), {},
                                          WS_EX_TOOLWINDOW, win::testing::TestWindows::kDoubleClickClass);
        PumpPending();
        return w;
    }
    // Client messages with their points, "WM_LBUTTONDOWN 50,30" style kept short: (message, x, y).
    struct Mouse {
        uint32_t message;
        int x, y;
        bool operator==(const Mouse&) const = default;
    };
    std::vector<Mouse> MouseMessages(Window w, const std::vector<uint32_t>& only) {
        std::vector<Mouse> out;
        for (const auto& e : log().Events()) {
            if (e.window != w || e.kind != MessageEventKind::Dispatched) continue;
            if (std::find(only.begin(), only.end(), e.message) == only.end()) continue;
            out.push_back({e.message, SignedLowWord(e.lParam), SignedHighWord(e.lParam)});
        }
        return out;
    }
    std::u16string Typed(Window w) {
        std::u16string out;
        for (const auto& e : Delivered(w, WM_CHAR)) out.push_back(static_cast<char16_t>(e.wParam));
        return out;
    }
};

TEST_F(InputTest, ClicksReachTheWindowAsTheTargetDeliversThem) {
    const Window w = Target();
    log().Clear();
    MovePointer(150, 130);
    ASSERT_TRUE(PumpUntil([&] { return log().Count(w, WM_MOUSEMOVE) > 0; }));
    Button(1, true);
    Button(1, false);
    ASSERT_TRUE(PumpUntil([&] { return log().Count(w, WM_LBUTTONUP) > 0; }));
    // Hit testing and the cursor come before each message.
    const auto order = log().Delivered(w, {WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN});
    const auto down = std::find(order.begin(), order.end(), WM_LBUTTONDOWN);
    ASSERT_GE(down - order.begin(), 2);
    EXPECT_EQ(std::vector<uint32_t>(down - 2, down + 1),
              (std::vector<uint32_t>{WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN}));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(MouseMessages(w, {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (std::vector<Mouse>{{WM_MOUSEMOVE, 50, 30}, {WM_LBUTTONDOWN, 50, 30}, {WM_LBUTTONUP, 50, 30}}));

    // A second click at once is a double click; right and middle buttons have their own.
    log().Clear();
    Button(1, true);
    Button(1, false);
    Click(160, 140, 3);
    Click(161, 141, 2);
    ASSERT_TRUE(PumpUntil([&] { return log().Count(w, WM_MBUTTONUP) > 0; }));
    EXPECT_EQ(MouseMessages(w, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
                                WM_MBUTTONDOWN, WM_MBUTTONUP}),
              (std::vector<Mouse>{{WM_LBUTTONDBLCLK, 50, 30},
                                  {WM_LBUTTONUP, 50, 30},
                                  {WM_RBUTTONDOWN, 60, 40},
                                  {WM_RBUTTONUP, 60, 40},
                                  {WM_MBUTTONDOWN, 61, 41},
                                  {WM_MBUTTONUP, 61, 41}}));
}

TEST_F(InputTest, WheelsTurnIntoWheelMessages) {
    const Window w = Target();
    Click(150, 150);
    log().Clear();
    for (unsigned button : {4u, 5u, 6u, 7u}) {
        Button(button, true);
        Button(button, false);
    }
    ASSERT_TRUE(PumpUntil([&] { return log().Count(w, WM_MOUSEHWHEEL) >= 2; }));
    std::vector<std::pair<uint32_t, int>> wheels;
    for (const auto& e : log().Events()) {
        if (e.kind == MessageEventKind::Dispatched && (e.message == WM_MOUSEWHEEL || e.message == WM_MOUSEHWHEEL)) {
            wheels.push_back({e.message, WheelDelta(e.wParam)});
        }
    }
    EXPECT_EQ(wheels, (std::vector<std::pair<uint32_t, int>>{
                          {WM_MOUSEWHEEL, 120}, {WM_MOUSEWHEEL, -120}, {WM_MOUSEHWHEEL, -120}, {WM_MOUSEHWHEEL, 120}}));
}

TEST_F(InputTest, ACapturingWindowFollowsThePointerOutside) {
    const Window w = Target([](Window win, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m == WM_LBUTTONDOWN) SetCapture(win);
        if (m == WM_LBUTTONUP) ReleaseCapture();
        return std::nullopt;
    });
    MovePointer(120, 120);
    Button(1, true);
    ASSERT_TRUE(PumpUntil([&] { return GetCapture() == w; }));
    log().Clear();
    MovePointer(500, 470);
    Button(1, false);
    ASSERT_TRUE(PumpUntil([&] { return !GetCapture(); }));
    EXPECT_EQ(MouseMessages(w, {WM_MOUSEMOVE, WM_LBUTTONUP}),
              (std::vector<Mouse>{{WM_MOUSEMOVE, 400, 370}, {WM_LBUTTONUP, 400, 370}}));
}

TEST_F(InputTest, LeavingTheWindowIsReported) {
    const Window w = Target([](Window win, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m == WM_MOUSEMOVE) {
            TrackMouseEventInfo t;
            t.flags = TME_LEAVE;
            t.window = win;
            TrackMouseEvent(&t);
        }
        return std::nullopt;
    });
    MovePointer(150, 150);
    ASSERT_TRUE(PumpUntil([&] { return log().Count(w, WM_MOUSEMOVE) > 0; }));
    MovePointer(700, 600);
    EXPECT_TRUE(PumpUntil([&] { return log().Count(w, WM_MOUSELEAVE) == 1; }));
}

TEST_F(InputTest, PointsStayRightWhereverTheWindowManagerPutsTheWindow) {
    const Window w = Target();
    // Someone else moves our window 40 pixels to the right.
    XMoveWindow(probe(), Xid(w), 140, 100);
    XSync(probe(), False);
    log().Clear();
    Click(150, 130);
    ASSERT_TRUE(PumpUntil([&] { return log().Count(w, WM_LBUTTONUP) > 0; }));
    // What was under the pointer is the window's pixel (10, 30).
    EXPECT_EQ(MouseMessages(w, {WM_LBUTTONUP}), (std::vector<Mouse>{{WM_LBUTTONUP, 10, 30}}));
}

TEST_F(InputTest, KeysAndCharactersGoToTheFocusedWindow) {
    const Window w = Target();
    SetForegroundWindow(w);
    SetFocus(w);
    PumpPending();
    log().Clear();
    TypeKey(XK_a);
    Key(XK_Shift_L, true);
    TypeKey(XK_b);
    Key(XK_Shift_L, false);
    TypeKey(XK_Return);
    ASSERT_TRUE(PumpUntil([&] { return Typed(w).size() == 3; }));
    EXPECT_EQ(Typed(w), u"aB\r");
    EXPECT_EQ(log().Delivered(w, {WM_KEYDOWN, WM_KEYUP}),
              (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP, WM_KEYUP, WM_KEYDOWN, WM_KEYUP}));
    std::vector<uintptr_t> keys;
    for (const auto& e : Delivered(w, WM_KEYDOWN)) keys.push_back(e.wParam);
    EXPECT_EQ(keys, (std::vector<uintptr_t>{'A', VK_SHIFT, 'B', VK_RETURN}));

    // Control+C is the control character, as the target's translation gives.
    log().Clear();
    Key(XK_Control_L, true);
    TypeKey(XK_c);
    Key(XK_Control_L, false);
    ASSERT_TRUE(PumpUntil([&] { return Typed(w).size() == 1; }));
    EXPECT_EQ(Typed(w), u"\x03");
}

TEST_F(InputTest, CharactersComeFromTheKeyboardsOwnMapping) {
    const Window w = Target();
    SetForegroundWindow(w);
    SetFocus(w);
    PumpPending();
    // Keys that type what no US key types (the probe maps spare key codes to them).
    const unsigned eacute = KeycodeFor(XK_eacute);
    const unsigned cyrillic = KeycodeFor(XK_Cyrillic_a);
    ASSERT_NE(eacute, 0u);
    ASSERT_NE(cyrillic, 0u);
    log().Clear();
    TypeKey(XK_eacute);
    TypeKey(XK_Cyrillic_a);
    TypeKey(XK_x);
    ASSERT_TRUE(PumpUntil([&] { return Typed(w).size() == 3; }));
    EXPECT_EQ(Typed(w), u"\u00e9\u0430x");
}

}  // namespace
}  // namespace vexlo::x11::testing
