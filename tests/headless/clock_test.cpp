// The two clocks: virtual time for tests (stepping, jumping when idle, the watchdog) and
// real time for a headless process (deadlines, wake-ups from other threads, scripts).
#include "platform/headless/harness.h"
#include "platform/sync/thread.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::headless {
namespace {

using namespace win;

std::vector<std::pair<uint32_t, int64_t>>* g_seen = nullptr;
HeadlessBackend* g_backend = nullptr;

intptr_t RecordingProc(Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
    if (g_seen && (m == WM_TIMER || m == WM_LBUTTONDOWN || m == WM_USER)) {
        g_seen->emplace_back(m, g_backend ? g_backend->NowMs() : -1);
    }
    return DefWindowProc(w, m, wp, lp);
}

Window RecordingWindow() {
    WindowClass c;
    c.name = u"Recording";
    c.proc = RecordingProc;
    RegisterClass(c);
    return CreateWindowEx(0, u"Recording", u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, Window{}, 0, 0, nullptr);
}

TEST(VirtualClockTest, AdvanceStopsAtTimersAndScheduledInputInTimeOrder) {
    HeadlessHarness h;
    std::vector<std::pair<uint32_t, int64_t>> seen;
    g_seen = &seen;
    g_backend = &h.backend();
    Window w = RecordingWindow();
    SetTimer(w, 1, 100);
    ScheduledInput press;
    press.atMs = 150;
    press.event.type = InputEvent::Type::ButtonDown;
    press.event.point = {50, 50};
    h.backend().ScheduleInput(press);
    h.Advance(250);
    EXPECT_THAT(seen, ::testing::ElementsAre(std::pair<uint32_t, int64_t>{WM_TIMER, 100},
                                             std::pair<uint32_t, int64_t>{WM_LBUTTONDOWN, 150},
                                             std::pair<uint32_t, int64_t>{WM_TIMER, 200}));
    EXPECT_EQ(h.Now(), 250);
    g_seen = nullptr;
    g_backend = nullptr;
}

TEST(VirtualClockTest, ALoopWithNothingToWaitForIsStoppedByTheWatchdog) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            HeadlessConfig config;
            config.idleWatchdogMs = 10;
            HeadlessHarness h(config);
            Msg msg;
            GetMessage(&msg, Window{}, 0, 0);
        },
        "nothing scheduled");
}

class RealClockTest : public ::testing::Test {
protected:
    RealClockTest() {
        HeadlessConfig config;
        config.clock = ClockMode::Real;
        auto b = std::make_unique<HeadlessBackend>(config);
        backend = b.get();
        system = std::make_unique<WindowSystem>(std::move(b));
    }
    HeadlessBackend* backend;
    std::unique_ptr<WindowSystem> system;
};

TEST_F(RealClockTest, APostFromAnotherThreadWakesTheLoopWithoutADeadline) {
    std::vector<std::pair<uint32_t, int64_t>> seen;
    g_seen = &seen;
    Window w = RecordingWindow();
    sync::Thread poster([&] {
        PostMessage(w, WM_USER, 0, 0);
        return 0u;
    });
    Msg msg;
    while (GetMessage(&msg, Window{}, 0, 0) > 0) {
        DispatchMessage(&msg);
        if (msg.message == WM_USER) break;
    }
    poster.Wait();
    ASSERT_EQ(seen.size(), 1u);
    g_seen = nullptr;
}

TEST_F(RealClockTest, TimersAndScriptedInputFireAsRealTimePasses) {
    std::vector<std::pair<uint32_t, int64_t>> seen;
    g_seen = &seen;
    g_backend = backend;
    Window w = RecordingWindow();
    const int64_t start = backend->NowMs();
    SetTimer(w, 1, 10);  // the shortest interval: the one real wait of this test
    ScheduledInput press;
    press.atMs = start;
    press.event.type = InputEvent::Type::ButtonDown;
    press.event.point = {50, 50};
    backend->ScheduleInput(press);
    Msg msg;
    while (GetMessage(&msg, Window{}, 0, 0) > 0) {
        DispatchMessage(&msg);
        if (msg.message == WM_TIMER) break;
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, WM_LBUTTONDOWN);
    EXPECT_EQ(seen[1].first, WM_TIMER);
    EXPECT_GE(seen[1].second - start, 10);
    g_seen = nullptr;
    g_backend = nullptr;
}

}  // namespace
}  // namespace vexlo::headless
