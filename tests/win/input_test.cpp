// Mouse and keyboard input as messages: hit testing, the cursor, capture, tracking,
// double clicks, caption dragging, mouse activation, keys.
#include "tests/win/test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::win {
namespace {

using ::testing::ElementsAre;
using testing::Handler;
using testing::TestWindows;

class InputTest : public ::testing::Test {
protected:
    // Messages that reached a window, with their parameters.
    struct Seen {
        uint32_t message;
        uintptr_t wParam;
        intptr_t lParam;
    };
    Handler Record(std::vector<Seen>* out, Handler then = {}) {
        return [out, then](Window w, uint32_t m, uintptr_t wp, intptr_t lp) -> std::optional<intptr_t> {
            out->push_back({m, wp, lp});
            return then ? then(w, m, wp, lp) : std::nullopt;
        };
    }
    static std::vector<uint32_t> Only(const std::vector<Seen>& seen, std::vector<uint32_t> wanted) {
        std::vector<uint32_t> out;
        for (const auto& s : seen) {
            if (std::find(wanted.begin(), wanted.end(), s.message) != wanted.end()) out.push_back(s.message);
        }
        return out;
    }
    headless::HeadlessHarness h;
    TestWindows windows;
};

TEST_F(InputTest, MouseMoveIsHitTestedThenSetsTheCursorThenArrivesInClientCoordinates) {
    std::vector<Seen> seen;
    Window w = windows.Popup({100, 100, 300, 200}, Record(&seen));
    h.Pump();
    seen.clear();
    h.MoveTo(150, 130);
    ASSERT_EQ(Only(seen, {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}),
              (std::vector<uint32_t>{WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}));
    const Seen& hit = seen[0];
    EXPECT_EQ(SignedLowWord(hit.lParam), 150);
    EXPECT_EQ(SignedHighWord(hit.lParam), 130);
    const Seen& cursor = seen[1];
    EXPECT_EQ(cursor.wParam, w.value());
    EXPECT_EQ(SignedLowWord(cursor.lParam), HTCLIENT);
    EXPECT_EQ(HighWord(static_cast<uintptr_t>(cursor.lParam)), WM_MOUSEMOVE);
    const Seen& move = seen[2];
    EXPECT_EQ(SignedLowWord(move.lParam), 50);
    EXPECT_EQ(SignedHighWord(move.lParam), 30);
    EXPECT_EQ(GetStandardCursorId(GetCursor()), IDC_ARROW);  // the class cursor
}

TEST_F(InputTest, ACaptureGetsTheMouseEverywhereInItsOwnCoordinatesWithoutHitTesting) {
    std::vector<Seen> a, b;
    Window wa = windows.Popup({100, 100, 200, 200}, Record(&a));
    Window wb = windows.Popup({400, 100, 500, 200}, Record(&b));
    h.Pump();
    SetCapture(wa);
    a.clear();
    b.clear();
    h.MoveTo(450, 150);
    EXPECT_TRUE(b.empty());
    ASSERT_EQ(Only(a, {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}), (std::vector<uint32_t>{WM_MOUSEMOVE}));
    EXPECT_EQ(SignedLowWord(a.back().lParam), 350);
    EXPECT_EQ(SignedHighWord(a.back().lParam), 50);
    h.MoveTo(50, 20);  // negative client coordinates keep their sign
    EXPECT_EQ(SignedLowWord(a.back().lParam), -50);
    EXPECT_EQ(SignedHighWord(a.back().lParam), -80);

    a.clear();
    EXPECT_EQ(SetCapture(wb), wa);
    ASSERT_EQ(Only(a, {WM_CAPTURECHANGED}), (std::vector<uint32_t>{WM_CAPTURECHANGED}));
    EXPECT_EQ(static_cast<uintptr_t>(a.back().lParam), wb.value());
    b.clear();
    ReleaseCapture();
    ASSERT_EQ(Only(b, {WM_CAPTURECHANGED}), (std::vector<uint32_t>{WM_CAPTURECHANGED}));
    EXPECT_EQ(b.back().lParam, 0);
    EXPECT_FALSE(GetCapture());
}

// A window that asks for hover and leave reports on every mouse message, as the UI
// library does.
Handler TrackingHandler(uint32_t hoverTime) {
    return [hoverTime](Window w, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) {
            TrackMouseEventInfo t{TME_HOVER | TME_LEAVE, w, hoverTime};
            TrackMouseEvent(&t);
        }
        return std::nullopt;
    };
}

TEST_F(InputTest, HoverComesTwoHundredMillisecondsAfterTheLastMouseMessage) {
    std::vector<Seen> seen;
    std::vector<int64_t> hoverTimes;
    Window w = windows.Popup({100, 100, 300, 200}, Record(&seen, [&, track = TrackingHandler(200)](Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
        if (m == WM_MOUSEHOVER) hoverTimes.push_back(h.Now());
        return track(w, m, wp, lp);
    }));
    h.Pump();
    h.MoveTo(150, 150);
    h.Advance(100);
    h.MoveTo(160, 150);  // restarts the wait
    h.Advance(199);
    EXPECT_TRUE(hoverTimes.empty());
    h.Advance(1);
    EXPECT_THAT(hoverTimes, ElementsAre(300));
    EXPECT_EQ(SignedLowWord(seen.back().lParam), 60);  // client position of the hover
    h.Advance(1000);
    EXPECT_EQ(hoverTimes.size(), 1u);  // one report per request
    (void)w;
}

TEST_F(InputTest, HoverDefaultIsTheSystemHoverTime) {
    std::vector<int64_t> hoverTimes;
    auto track = TrackingHandler(HOVER_DEFAULT);
    windows.Popup({100, 100, 300, 200}, [&](Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
        if (m == WM_MOUSEHOVER) hoverTimes.push_back(h.Now());
        return track(w, m, wp, lp);
    });
    h.Pump();
    h.MoveTo(150, 150);
    h.Advance(1000);
    EXPECT_THAT(hoverTimes, ElementsAre(400));
}

TEST_F(InputTest, LeaveComesWhenTheMouseExitsOrSomethingElseComesUnderIt) {
    std::vector<Seen> seen;
    Window w = windows.Popup({100, 100, 300, 200}, Record(&seen, TrackingHandler(200)));
    h.Pump();
    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"moving out", [&] { h.MoveTo(50, 50); }},
        {"a child under the cursor", [&] {
             windows.Create(WS_CHILD | WS_VISIBLE, {80, 0, 200, 100}, {}, w);
             h.MoveTo(250, 150);
         }},
        {"the window hidden under the cursor", [&] { ShowWindow(w, SW_HIDE); h.Pump(); }},
    };
    for (const Step& step : steps) {
        ShowWindow(w, SW_SHOW);
        h.MoveTo(110, 110);
        seen.clear();
        step.act();
        EXPECT_EQ(Only(seen, {WM_MOUSELEAVE}).size(), 1u) << step.what;
    }
}

TEST_F(InputTest, TrackingALeaveWhileOutsideReportsAtOnce) {
    std::vector<Seen> seen;
    Window w = windows.Popup({100, 100, 300, 200}, Record(&seen));
    h.MoveTo(10, 10);
    seen.clear();
    TrackMouseEventInfo t{TME_LEAVE, w, 0};
    EXPECT_TRUE(TrackMouseEvent(&t));
    h.Pump();
    EXPECT_EQ(Only(seen, {WM_MOUSELEAVE}).size(), 1u);
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance) {
    struct Case {
        const char* what;
        std::u16string_view cls;
        int64_t wait;
        int dx;
        std::vector<uint32_t> expected;
    };
    const std::vector<Case> cases = {
        {"quick, same place", TestWindows::kDoubleClickClass, 0, 0,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
        {"at the time limit", TestWindows::kDoubleClickClass, 500, 2,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
        {"too late", TestWindows::kDoubleClickClass, 501, 0,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {"too far", TestWindows::kDoubleClickClass, 0, 3,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
        {"class without CS_DBLCLKS", TestWindows::kClass, 0, 0,
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
    };
    int x = 0;
    for (const Case& c : cases) {
        std::vector<Seen> seen;
        Window w = windows.Popup({x, 0, x + 100, 100}, Record(&seen), 0, c.cls);
        h.Pump();
        h.Click(x + 50, 50);
        h.Advance(c.wait);
        h.Click(x + 50 + c.dx, 50);
        EXPECT_EQ(Only(seen, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}), c.expected) << c.what;
        DestroyWindow(w);
        x += 200;
    }
}

TEST_F(InputTest, AThirdQuickClickStartsANewPair) {
    std::vector<Seen> seen;
    windows.Popup({0, 0, 100, 100}, Record(&seen), 0, TestWindows::kDoubleClickClass);
    h.Pump();
    for (int i = 0; i < 4; ++i) h.Click(50, 50);
    EXPECT_EQ(Only(seen, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
}

Handler CaptionAbove(int captionBottom) {
    return [captionBottom](Window w, uint32_t m, uintptr_t wp, intptr_t lp) -> std::optional<intptr_t> {
        if (m == WM_NCHITTEST) {
            gfx::Point p{SignedLowWord(lp), SignedHighWord(lp)};
            ScreenToClient(w, &p);
            return p.y < captionBottom ? HTCAPTION : HTCLIENT;
        }
        (void)wp;
        return std::nullopt;
    };
}

TEST_F(InputTest, DraggingTheCaptionMovesTheWindowUntilTheButtonIsReleased) {
    std::vector<Seen> seen;
    Window w = windows.Popup({100, 100, 300, 200}, Record(&seen, CaptionAbove(20)));
    h.Pump();
    seen.clear();
    h.Press(150, 110);
    h.MoveTo(180, 150);
    h.MoveTo(200, 170);
    h.Release(200, 170);
    gfx::Rect r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (gfx::Rect{150, 160, 350, 260}));
    EXPECT_EQ(Only(seen, {WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_CAPTURECHANGED,
                          WM_EXITSIZEMOVE, WM_LBUTTONUP, WM_NCLBUTTONUP, WM_MOUSEMOVE}),
              (std::vector<uint32_t>{WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVING,
                                     WM_CAPTURECHANGED, WM_EXITSIZEMOVE}));
    // Afterwards the mouse is ordinary input again.
    seen.clear();
    h.MoveTo(200, 240);
    EXPECT_EQ(Only(seen, {WM_MOUSEMOVE}).size(), 1u);
}

TEST_F(InputTest, TheMoveCommandFromAClientPressDragsToo) {
    // What the UI library does on a press in its caption area: release the capture and
    // send the move command with the low bits set.
    Window w = windows.Popup({100, 100, 300, 200}, [](Window self, uint32_t m, uintptr_t, intptr_t lp) -> std::optional<intptr_t> {
        if (m == WM_LBUTTONDOWN) {
            ReleaseCapture();
            SendMessage(self, WM_SYSCOMMAND, 0xF019, lp);
            return 0;
        }
        return std::nullopt;
    });
    h.Pump();
    h.Press(150, 150);
    h.MoveTo(140, 120);
    h.Release(140, 120);
    gfx::Rect r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (gfx::Rect{90, 70, 290, 170}));
}

TEST_F(InputTest, DraggingASizingBorderResizesWithinTheTrackingLimits) {
    Window w = windows.Popup({100, 100, 300, 200}, [](Window, uint32_t m, uintptr_t, intptr_t lp) -> std::optional<intptr_t> {
        if (m == WM_NCHITTEST) {
            const int x = SignedLowWord(lp), y = SignedHighWord(lp);
            if (x >= 296 && y >= 196) return HTBOTTOMRIGHT;
            if (x < 104) return HTLEFT;
            return HTCLIENT;
        }
        if (m == WM_GETMINMAXINFO) {
            reinterpret_cast<MinMaxInfo*>(lp)->minTrackSize = {150, 60};
            return 0;
        }
        return std::nullopt;
    });
    h.Pump();
    h.Press(298, 198);
    h.MoveTo(348, 228);
    h.Release(348, 228);
    gfx::Rect r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (gfx::Rect{100, 100, 350, 230}));
    h.Press(101, 150);  // the left edge, dragged past the minimum width
    h.MoveTo(300, 150);
    h.Release(300, 150);
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (gfx::Rect{200, 100, 350, 230}));
    EXPECT_EQ(GetStandardCursorId(GetCursor()), IDC_SIZEWE);
}

TEST_F(InputTest, ClickingAnInactiveWindowAsksThenActivatesThenDelivers) {
    struct Case {
        intptr_t answer;
        bool activates;
        bool delivers;
    };
    const Case cases[] = {
        {MA_ACTIVATE, true, true},
        {MA_NOACTIVATE, false, true},
        {MA_ACTIVATEANDEAT, true, false},
        {MA_NOACTIVATEANDEAT, false, false},
    };
    for (const Case& c : cases) {
        Window first = windows.Popup({0, 0, 100, 100});
        std::vector<Seen> seen;
        Window second = windows.Popup({200, 0, 300, 100}, Record(&seen, [&](Window, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
            if (m == WM_MOUSEACTIVATE) return c.answer;
            return std::nullopt;
        }));
        SetActiveWindow(first);
        h.Pump();
        seen.clear();
        h.Click(250, 50);
        EXPECT_EQ(GetActiveWindow() == second, c.activates) << c.answer;
        EXPECT_EQ(!Only(seen, {WM_LBUTTONDOWN}).empty(), c.delivers) << c.answer;
        const auto order = Only(seen, {WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN});
        ASSERT_FALSE(order.empty());
        EXPECT_EQ(order.front(), WM_MOUSEACTIVATE);
        if (c.activates) {
            for (const auto& s : seen) {
                if (s.message == WM_ACTIVATE) {
                    EXPECT_EQ(LowWord(s.wParam), WA_CLICKACTIVE);
                }
            }
        }
        DestroyWindow(first);
        DestroyWindow(second);
    }
}

TEST_F(InputTest, TransparentHitsAndClearLayeredPixelsLetTheMouseThrough) {
    std::vector<Seen> below;
    windows.Popup({0, 0, 400, 400}, Record(&below));
    windows.Popup({0, 0, 100, 100}, [](Window, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m == WM_NCHITTEST) return HTTRANSPARENT;
        return std::nullopt;
    });
    Window layered = windows.Popup({200, 0, 300, 100}, {}, WS_EX_LAYERED);
    gfx::Bitmap frame(100, 100);
    for (int y = 0; y < 100; ++y) {
        for (int x = 50; x < 100; ++x) frame.set_pixel(x, y, 0xFF102030);  // right half opaque
    }
    const BlendFunction blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(layered, nullptr, nullptr, &frame, nullptr, 0, &blend, ULW_ALPHA));
    h.Pump();
    for (gfx::Point p : {gfx::Point{50, 50}, gfx::Point{220, 50}}) {
        below.clear();
        h.MoveTo(p.x, p.y);
        EXPECT_EQ(Only(below, {WM_MOUSEMOVE}).size(), 1u) << p.x;
    }
    below.clear();
    h.MoveTo(280, 50);
    EXPECT_TRUE(Only(below, {WM_MOUSEMOVE}).empty());
    EXPECT_EQ(WindowFromPoint({280, 50}), layered);
}

TEST_F(InputTest, ADisabledWindowGetsOnlyTheErrorCursorRequest) {
    std::vector<Seen> seen;
    Window w = windows.Popup({0, 0, 100, 100}, Record(&seen));
    EnableWindow(w, false);
    h.Pump();
    seen.clear();
    h.Click(50, 50);
    ASSERT_EQ(Only(seen, {WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (std::vector<uint32_t>{WM_SETCURSOR, WM_SETCURSOR, WM_SETCURSOR}));
    EXPECT_EQ(SignedLowWord(seen.back().lParam), HTERROR);
}

TEST_F(InputTest, KeysGoToTheFocusAndTranslateIntoCharacters) {
    std::vector<Seen> a, b;
    Window wa = windows.Popup({0, 0, 100, 100}, Record(&a));
    Window child = windows.Create(WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, Record(&b), wa);
    h.Pump();
    SetFocus(child);
    a.clear();
    h.KeyCombo({VK_SHIFT, 'A'});
    h.TypeText(u"b!");
    EXPECT_TRUE(Only(a, {WM_KEYDOWN, WM_CHAR}).empty());
    std::u16string typed;
    for (const auto& s : b) {
        if (s.message == WM_CHAR) typed.push_back(static_cast<char16_t>(s.wParam));
    }
    EXPECT_EQ(typed, u"Ab!");
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);

    h.TypeText(u"中");  // no key types it: it arrives as a character of its own
    EXPECT_EQ(b.back().message, WM_KEYUP);
    const auto chars = Only(b, {WM_CHAR});
    EXPECT_EQ(chars.size(), 4u);
}

TEST_F(InputTest, AltF4ClosesTheActiveWindow) {
    std::vector<Seen> seen;
    Window w = windows.Popup({0, 0, 100, 100}, Record(&seen));
    h.Pump();
    h.KeyCombo({VK_MENU, VK_F4});
    EXPECT_FALSE(IsWindow(w));
    const auto order = Only(seen, {WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
    EXPECT_THAT(order, ElementsAre(WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY));
}

TEST_F(InputTest, TheWheelGoesToTheFocusNotToTheWindowUnderTheMouse) {
    std::vector<Seen> focused, under;
    Window wf = windows.Popup({0, 0, 100, 100}, Record(&focused));
    windows.Create(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100}, Record(&under), {}, WS_EX_NOACTIVATE);
    SetFocus(wf);
    h.Pump();
    h.Wheel(250, 50, -120);
    EXPECT_TRUE(Only(under, {WM_MOUSEWHEEL}).empty());
    ASSERT_EQ(Only(focused, {WM_MOUSEWHEEL}).size(), 1u);
    EXPECT_EQ(WheelDelta(focused.back().wParam), -120);
    EXPECT_EQ(SignedLowWord(focused.back().lParam), 250);  // screen coordinates
}

}  // namespace
}  // namespace vexlo::win
