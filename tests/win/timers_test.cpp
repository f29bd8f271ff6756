// Timers on the virtual clock.
#include "tests/win/test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::win {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;
using testing::TestWindows;

class TimersTest : public ::testing::Test {
protected:
    // (timer id, tick count when it arrived)
    std::vector<std::pair<uintptr_t, int64_t>> fired;
    Window Recorder() {
        return windows.Popup({0, 0, 10, 10}, [this](Window, uint32_t m, uintptr_t wp, intptr_t) -> std::optional<intptr_t> {
            if (m == WM_TIMER) fired.emplace_back(wp, h.Now());
            return std::nullopt;
        });
    }
    headless::HeadlessHarness h;
    TestWindows windows;
};

TEST_F(TimersTest, DueTimersFireInTimeOrderAndTiesInTheOrderTheyWereSet) {
    Window w = Recorder();
    SetTimer(w, 1, 30);
    SetTimer(w, 2, 20);
    SetTimer(w, 3, 20);
    h.Advance(60);
    EXPECT_THAT(fired, ElementsAre(Pair(2, 20), Pair(3, 20), Pair(1, 30), Pair(2, 40), Pair(3, 40), Pair(1, 60),
                                   Pair(2, 60), Pair(3, 60)));
}

TEST_F(TimersTest, KillStopsAndSettingAgainRestartsTheCountdown) {
    Window w = Recorder();
    SetTimer(w, 1, 100);
    SetTimer(w, 2, 50);
    h.Advance(60);
    EXPECT_THAT(fired, ElementsAre(Pair(2, 50)));
    EXPECT_TRUE(KillTimer(w, 2));
    EXPECT_FALSE(KillTimer(w, 2));
    EXPECT_EQ(SetTimer(w, 1, 100), 1u);  // 40 ms before it was due: it starts over
    fired.clear();
    h.Advance(150);
    EXPECT_THAT(fired, ElementsAre(Pair(1, 160)));
}

TEST_F(TimersTest, ShortIntervalsAreTenMillisecondsAndLateTimersDoNotPileUp) {
    Window w = Recorder();
    SetTimer(w, 7, 1);
    h.Advance(25);
    EXPECT_THAT(fired, ElementsAre(Pair(7, 10), Pair(7, 20)));
    fired.clear();
    h.backend().SetClock(h.Now() + 1000);  // a thread busy for a second
    h.Pump();
    EXPECT_THAT(fired, ElementsAre(Pair(7, 1025)));
}

TEST_F(TimersTest, TimersEndWithTheirWindow) {
    Window w = Recorder();
    SetTimer(w, 1, 10);
    DestroyWindow(w);
    EXPECT_FALSE(h.system().NextDeadline().has_value());
    EXPECT_EQ(SetTimer(w, 1, 10), 0u);  // not a window any more
}

TEST_F(TimersTest, TimerProceduresAndThreadTimers) {
    static std::vector<uintptr_t> procCalls;
    procCalls.clear();
    Window w = Recorder();
    const TimerProc proc = [](Window, uint32_t m, uintptr_t id, uint32_t) {
        if (m == WM_TIMER) procCalls.push_back(id);
    };
    SetTimer(w, 4, 10, proc);
    const uintptr_t threadTimer = SetTimer(Window{}, 0, 15, proc);
    EXPECT_NE(threadTimer, 0u);
    EXPECT_NE(SetTimer(Window{}, 0, 15, proc), threadTimer);  // each gets its own id
    h.Advance(15);
    EXPECT_TRUE(fired.empty());  // a timer procedure takes the place of the window's
    ASSERT_GE(procCalls.size(), 2u);
    EXPECT_EQ(procCalls[0], 4u);
    EXPECT_EQ(procCalls[1], threadTimer);
}

TEST_F(TimersTest, AnIdleMessageLoopJumpsToTheNextTimer) {
    Window w = Recorder();
    SetTimer(w, 1, 1500);
    Msg msg;
    ASSERT_EQ(GetMessage(&msg, Window{}, WM_TIMER, WM_TIMER), 1);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(h.Now(), 1500);
    EXPECT_EQ(GetTickCount(), 1500u);
}

TEST_F(TimersTest, SleepMovesTheVirtualClockWithoutDelivering) {
    Window w = Recorder();
    SetTimer(w, 1, 10);
    Sleep(40);
    EXPECT_EQ(h.Now(), 40);
    EXPECT_TRUE(fired.empty());
    h.Pump();
    EXPECT_THAT(fired, ElementsAre(Pair(1, 40)));
}

}  // namespace
}  // namespace vexlo::win
