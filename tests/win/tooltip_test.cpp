// The tooltip window in its two modes, as the UI library drives it.
#include "platform/win/tooltip.h"
#include "tests/win/test_windows.h"

#include <gtest/gtest.h>

namespace vexlo::win {
namespace {

using testing::TestWindows;

class TooltipTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = windows.Popup({100, 100, 300, 200}, [this](Window w, uint32_t m, uintptr_t wp, intptr_t lp) -> std::optional<intptr_t> {
            if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST && tip) {
                Msg relay{w, m, wp, lp, 0, {}};
                SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<intptr_t>(&relay));
            }
            return std::nullopt;
        });
        tip = CreateWindowEx(0, TOOLTIPS_CLASS, u"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, host, 0, 0, nullptr);
        ASSERT_TRUE(tip);
        SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        h.Pump();
    }
    TooltipState State() { return *GetTooltipState(tip); }

    headless::HeadlessHarness h;
    TestWindows windows;
    Window host;
    Window tip;
};

TEST_F(TooltipTest, NormalModeShowsTheTipAfterTheMouseRestsAndHidesItWhenItLeaves) {
    ToolInfo tool{0, host, 1, {0, 0, 200, 100}, u"下载中", 0};
    ASSERT_EQ(SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool)), 1);
    EXPECT_EQ(SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    h.MoveTo(150, 150);
    h.Advance(499);
    EXPECT_FALSE(State().visible);
    h.Advance(1);
    TooltipState s = State();
    ASSERT_TRUE(s.visible);
    EXPECT_EQ(s.text, u"下载中");
    EXPECT_EQ(s.rect.left, 150);
    EXPECT_EQ(s.rect.top, 170);  // below the cursor
    EXPECT_GT(s.rect.width(), 10);
    EXPECT_EQ(GetActiveWindow(), host);  // a tip never takes the activation
    EXPECT_EQ(WindowFromPoint({s.rect.left + 2, s.rect.top + 2}), host);  // nor the mouse

    auto frame = h.backend().LastFrame(tip);
    ASSERT_TRUE(frame);  // a framed box
    EXPECT_EQ(frame->pixels.pixel(0, 0), 0xFF767676u);
    EXPECT_EQ(frame->pixels.pixel(1, 1), 0xFFFFFFE1u);

    h.MoveTo(50, 50);  // off the host: the leave is relayed by the moves it no longer gets;
    h.MoveTo(150, 150);  // back on and off the tool rectangle
    h.Advance(500);
    ASSERT_TRUE(State().visible);
    tool.rect = {0, 0, 100, 100};
    SendMessage(tip, TTM_NEWTOOLRECT, 0, reinterpret_cast<intptr_t>(&tool));
    h.MoveTo(250, 150);
    EXPECT_FALSE(State().visible);
}

TEST_F(TooltipTest, AClickPopsTheTipAndItStaysAwayUntilTheToolChanges) {
    ToolInfo tool{0, host, 1, {0, 0, 200, 100}, u"tip", 0};
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool));
    h.MoveTo(150, 150);
    h.Advance(500);
    ASSERT_TRUE(State().visible);
    h.Click(151, 150);
    EXPECT_FALSE(State().visible);
    h.Advance(2000);
    EXPECT_FALSE(State().visible);
}

TEST_F(TooltipTest, ATipPopsByItselfAfterTenTimesTheInitialDelay) {
    ToolInfo tool{0, host, 1, {0, 0, 200, 100}, u"tip", 0};
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool));
    h.MoveTo(150, 150);
    h.Advance(500);
    ASSERT_TRUE(State().visible);
    h.Advance(4999);
    EXPECT_TRUE(State().visible);
    h.Advance(1);
    EXPECT_FALSE(State().visible);
}

TEST_F(TooltipTest, TrackingModeShowsAtTheGivenPositionUntilDeactivated) {
    ToolInfo tool{TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE, host, 0, {}, u"Tracked", 0};
    ASSERT_EQ(tool.flags, 0xA1u);
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool));
    SendMessage(tip, TTM_TRACKPOSITION, 0, MakeLParam(165, 165));
    SendMessage(tip, TTM_TRACKACTIVATE, 1, reinterpret_cast<intptr_t>(&tool));
    TooltipState s = State();
    ASSERT_TRUE(s.visible);
    EXPECT_TRUE(s.tracking);
    EXPECT_EQ(s.rect.left, 165);
    EXPECT_EQ(s.rect.top, 165);
    SendMessage(tip, TTM_TRACKPOSITION, 0, MakeLParam(1919, 1079));  // kept on the screen
    s = State();
    EXPECT_LE(s.rect.right, 1920);
    EXPECT_LE(s.rect.bottom, 1080);
    h.MoveTo(150, 150);
    h.Advance(600);  // relayed input does not disturb a tracked tip
    EXPECT_EQ(State().text, u"Tracked");

    // A tip right under the cursor is not "under the mouse": the host keeps it.
    SendMessage(tip, TTM_TRACKPOSITION, 0, MakeLParam(150, 150));
    h.log().Clear();
    TrackMouseEventInfo leave{TME_LEAVE, host, 0};
    TrackMouseEvent(&leave);
    h.MoveTo(151, 151);
    EXPECT_EQ(h.log().Count(host, WM_MOUSELEAVE), 0u);
    EXPECT_EQ(h.log().Count(host, WM_MOUSEMOVE), 1u);

    SendMessage(tip, TTM_TRACKACTIVATE, 0, reinterpret_cast<intptr_t>(&tool));
    SendMessage(tip, TTM_DELTOOL, 0, reinterpret_cast<intptr_t>(&tool));
    s = State();
    EXPECT_FALSE(s.visible);
    EXPECT_TRUE(s.tools.empty());
}

TEST_F(TooltipTest, AnInactiveTooltipShowsNothingAndTheTooltipDiesWithItsOwner) {
    ToolInfo tool{0, host, 1, {0, 0, 200, 100}, u"tip", 0};
    SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool));
    SendMessage(tip, TTM_ACTIVATE, 0, 0);
    h.MoveTo(150, 150);
    h.Advance(1000);
    EXPECT_FALSE(State().visible);
    EXPECT_FALSE(State().active);
    const Window tooltip = tip;
    tip = Window{};
    DestroyWindow(host);
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_FALSE(GetTooltipState(tooltip));
}

}  // namespace
}  // namespace vexlo::win
