// Activation and focus, the z-order and its topmost band, placement and its messages,
// show commands, coordinates, enabling, and the screen model.
#include "tests/win/test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::win {
namespace {

using ::testing::ElementsAre;
using testing::TestWindows;

class PlacementTest : public ::testing::Test {
protected:
    // (window, message, wParam) of the messages named, across all windows, in order.
    std::vector<std::tuple<Window, uint32_t, uintptr_t>> Trace(const std::vector<uint32_t>& wanted) {
        std::vector<std::tuple<Window, uint32_t, uintptr_t>> out;
        for (const auto& e : h.log().Events()) {
            if (e.kind == MessageEventKind::Posted) continue;
            if (std::find(wanted.begin(), wanted.end(), e.message) != wanted.end()) out.emplace_back(e.window, e.message, e.wParam);
        }
        return out;
    }
    headless::HeadlessHarness h;
    TestWindows windows;
};

TEST_F(PlacementTest, ActivationMovesInTheTargetsOrder) {
    Window a = windows.Popup({0, 0, 100, 100});
    Window b = windows.Popup({200, 0, 300, 100}, {}, 0);
    SetActiveWindow(a);
    h.Pump();
    h.log().Clear();
    EXPECT_EQ(SetActiveWindow(b), a);
    using T = std::tuple<Window, uint32_t, uintptr_t>;
    EXPECT_THAT(Trace({WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS, WM_ACTIVATEAPP}),
                ElementsAre(T{a, WM_NCACTIVATE, 0}, T{a, WM_ACTIVATE, WA_INACTIVE}, T{b, WM_NCACTIVATE, 1},
                            T{b, WM_ACTIVATE, WA_ACTIVE}, T{a, WM_KILLFOCUS, b.value()}, T{b, WM_SETFOCUS, a.value()}));
    EXPECT_EQ(GetWindow(b, GW_HWNDFIRST), b);  // brought to the front
}

TEST_F(PlacementTest, AnotherProgramTakingTheForegroundDeactivatesTheApplication) {
    Window a = windows.Popup({0, 0, 100, 100});
    Window b = windows.Create(WS_POPUP, {0, 0, 10, 10});
    h.Pump();
    h.log().Clear();
    h.DeactivateApp();
    using T = std::tuple<Window, uint32_t, uintptr_t>;
    EXPECT_THAT(Trace({WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS}),
                ::testing::UnorderedElementsAre(T{a, WM_NCACTIVATE, 0}, T{a, WM_ACTIVATE, WA_INACTIVE},
                                                T{a, WM_ACTIVATEAPP, 0}, T{b, WM_ACTIVATEAPP, 0},
                                                T{a, WM_KILLFOCUS, 0}));
    EXPECT_FALSE(GetActiveWindow());
    EXPECT_FALSE(GetFocus());
    h.ActivateApp();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), a);
}

TEST_F(PlacementTest, APressOnNoWindowOfTheProgramDeactivatesIt) {
    Window w = windows.Popup({0, 0, 100, 100});
    h.Pump();
    ASSERT_EQ(GetFocus(), w);
    h.log().Clear();
    h.Click(500, 500);  // the desktop
    EXPECT_FALSE(GetActiveWindow());
    EXPECT_EQ(h.log().Count(w, WM_KILLFOCUS), 1u);
    h.Click(50, 50);
    EXPECT_EQ(GetActiveWindow(), w);
}

TEST_F(PlacementTest, LosingTheActiveWindowActivatesItsOwnerOrTheNextWindow) {
    Window other = windows.Popup({500, 0, 600, 100});
    Window owner = windows.Popup({0, 0, 100, 100});
    Window owned = windows.Create(WS_POPUP | WS_VISIBLE, {0, 200, 100, 300}, {}, owner);
    ASSERT_EQ(GetActiveWindow(), owned);
    SetActiveWindow(other);
    SetActiveWindow(owned);
    ShowWindow(owned, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), owner);  // not `other`, though it was active more recently
    DestroyWindow(owner);
    EXPECT_EQ(GetActiveWindow(), other);
    h.log().Clear();
    DestroyWindow(other);
    EXPECT_FALSE(GetActiveWindow());
}

TEST_F(PlacementTest, TheTopmostBandStaysInFrontAndOwnedWindowsStayAboveTheirOwner) {
    Window plain = windows.Popup({0, 0, 10, 10});
    Window topmost = windows.Popup({0, 0, 10, 10}, {}, WS_EX_TOPMOST);
    Window owner = windows.Popup({0, 0, 10, 10});
    Window owned = windows.Create(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10}, {}, owner);
    EXPECT_THAT(h.system().ZOrder(), ElementsAre(topmost, owned, owner, plain));

    SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_THAT(h.system().ZOrder(), ElementsAre(topmost, plain, owned, owner));
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_THAT(h.system().ZOrder(), ElementsAre(topmost, owned, owner, plain));

    SetWindowPos(plain, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_NE(GetWindowLongPtr(plain, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_THAT(h.system().ZOrder(), ElementsAre(plain, topmost, owned, owner));
    SetWindowPos(topmost, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_THAT(h.system().ZOrder(), ElementsAre(plain, topmost, owned, owner));
    SetWindowPos(topmost, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_THAT(h.system().ZOrder(), ElementsAre(plain, owned, owner, topmost));
    EXPECT_EQ(h.backend().Stack(), h.system().ZOrder());  // the display follows
}

TEST_F(PlacementTest, PlacementMessagesCarryWhatChangedAndTheProcedureMayAdjustIt) {
    std::vector<WindowPos> changed;
    std::vector<std::pair<uint32_t, intptr_t>> moveSize;
    Window w = windows.Popup({0, 0, 100, 100}, [&](Window, uint32_t m, uintptr_t wp, intptr_t lp) -> std::optional<intptr_t> {
        if (m == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WindowPos*>(lp);
            if (!(pos->flags & SWP_NOMOVE) && pos->x < 0) pos->x = 0;  // keeps itself on the screen
        }
        if (m == WM_WINDOWPOSCHANGED) changed.push_back(*reinterpret_cast<WindowPos*>(lp));
        if (m == WM_MOVE || m == WM_SIZE) moveSize.emplace_back(m, lp);
        (void)wp;
        return std::nullopt;
    });
    h.Pump();
    struct Case {
        int x, y, cx, cy;
        uint32_t flags;
        uint32_t expectedChangedFlags;  // of SWP_NOMOVE | SWP_NOSIZE
        gfx::Rect expected;
    };
    const Case cases[] = {
        {10, 20, 100, 100, SWP_NOZORDER, SWP_NOSIZE, {10, 20, 110, 120}},       // same size: no-size added
        {0, 0, 50, 60, SWP_NOMOVE | SWP_NOZORDER, SWP_NOMOVE, {10, 20, 60, 80}},
        {-30, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER, SWP_NOSIZE, {0, 5, 50, 65}},  // adjusted by the window
        {0, 5, 50, 60, SWP_NOZORDER, SWP_NOMOVE | SWP_NOSIZE, {0, 5, 50, 65}},
    };
    for (const Case& c : cases) {
        changed.clear();
        moveSize.clear();
        ASSERT_TRUE(SetWindowPos(w, Window{}, c.x, c.y, c.cx, c.cy, c.flags | SWP_NOACTIVATE));
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_EQ(changed[0].flags & (SWP_NOMOVE | SWP_NOSIZE), c.expectedChangedFlags) << c.x << "," << c.cx;
        gfx::Rect r;
        GetWindowRect(w, &r);
        EXPECT_EQ(r, c.expected);
        // WM_MOVE and WM_SIZE come from the default handling of WM_WINDOWPOSCHANGED.
        size_t expectedMoveSize = 0;
        if (!(c.expectedChangedFlags & SWP_NOMOVE)) ++expectedMoveSize;
        if (!(c.expectedChangedFlags & SWP_NOSIZE)) ++expectedMoveSize;
        EXPECT_EQ(moveSize.size(), expectedMoveSize);
    }
}

TEST_F(PlacementTest, ShowCommandsShowHideActivateMaximiseAndRestore) {
    Window active = windows.Popup({0, 0, 10, 10});
    Window w = windows.Create(WS_POPUP | WS_THICKFRAME, {100, 100, 300, 200});
    EXPECT_FALSE(ShowWindow(w, SW_SHOWNA));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(ShowWindow(w, SW_HIDE));
    ShowWindow(w, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), w);

    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(w));
    gfx::Rect r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (gfx::Rect{0, 0, 1920, 1040}));  // the work area
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_NE(GetActiveWindow(), w);
    ShowWindow(w, SW_RESTORE);
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (gfx::Rect{100, 100, 300, 200}));
    EXPECT_FALSE(IsIconic(w) || IsZoomed(w));
}

TEST_F(PlacementTest, CoordinatesFollowParentsAndFrames) {
    Window top = windows.Create(WS_OVERLAPPED | WS_VISIBLE, {100, 100, 400, 300});
    gfx::Rect client;
    GetClientRect(top, &client);
    gfx::Rect adjusted = client;
    AdjustWindowRectEx(&adjusted, static_cast<uint32_t>(GetWindowLongPtr(top, GWL_STYLE)), false,
                       static_cast<uint32_t>(GetWindowLongPtr(top, GWL_EXSTYLE)));
    EXPECT_EQ(adjusted.width(), 300);  // overlapped windows always have a caption
    EXPECT_EQ(adjusted.height(), 200);
    Window child = windows.Create(WS_CHILD | WS_VISIBLE, {10, 20, 60, 70}, {}, top);
    gfx::Point p{5, 5};
    ClientToScreen(child, &p);
    gfx::Point topOrigin{0, 0};
    ClientToScreen(top, &topOrigin);
    EXPECT_EQ(p, (gfx::Point{topOrigin.x + 15, topOrigin.y + 25}));
    ScreenToClient(child, &p);
    EXPECT_EQ(p, (gfx::Point{5, 5}));
    gfx::Point mapped{0, 0};
    MapWindowPoints(child, top, &mapped, 1);
    EXPECT_EQ(mapped, (gfx::Point{10, 20}));
    EXPECT_EQ(ChildWindowFromPoint(top, {15, 25}), child);
    EXPECT_EQ(ChildWindowFromPoint(top, {5, 5}), top);
}

TEST_F(PlacementTest, DisablingTheFocusWindowTakesTheFocusAway) {
    Window w = windows.Popup({0, 0, 100, 100});
    Window child = windows.Create(WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, {}, w);
    SetFocus(child);
    h.log().Clear();
    EXPECT_FALSE(EnableWindow(w, false));
    EXPECT_FALSE(GetFocus());
    EXPECT_FALSE(IsWindowEnabled(w));
    EXPECT_FALSE(SetFocus(child));  // a window of a disabled parent cannot take it
    EXPECT_EQ(h.log().Count(w, WM_ENABLE), 1u);
    EXPECT_TRUE(EnableWindow(w, true));
}

TEST(ScreenModelTest, DefaultsAndConfiguredScreens) {
    {
        headless::HeadlessHarness h;
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
        EXPECT_EQ(GetWorkArea(), (gfx::Rect{0, 0, 1920, 1040}));
        gfx::Rect work;
        EXPECT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
        EXPECT_EQ(work, GetWorkArea());
        EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 1920);
        EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 1040 - GetSystemMetrics(SM_CYCAPTION));
        EXPECT_EQ(GetSystemMetrics(SM_CXDOUBLECLK), 4);
        EXPECT_EQ(GetCaretBlinkTime(), 530u);
        uint32_t hover = 0;
        SystemParametersInfo(SPI_GETMOUSEHOVERTIME, 0, &hover, 0);
        EXPECT_EQ(hover, 400u);
    }
    headless::HeadlessConfig config;
    config.screen = {1280, 720};
    config.taskbarHeight = 30;
    headless::HeadlessHarness h(config);
    EXPECT_EQ(GetWorkArea(), (gfx::Rect{0, 0, 1280, 690}));
    EXPECT_TRUE(SetCursorPos(5000, -3));
    gfx::Point p;
    GetCursorPos(&p);
    EXPECT_EQ(p, (gfx::Point{1279, 0}));  // the cursor stays on the screen
}

}  // namespace
}  // namespace vexlo::win
