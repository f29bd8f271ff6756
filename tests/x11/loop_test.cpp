// The message loop on the X11 backend: timers and posts from other threads wake it, and
// it waits without spinning.
#include "tests/x11/x11_fixture.h"

#include "platform/sync/thread.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace vexlo::x11::testing {
namespace {

using namespace vexlo::win;

class LoopTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        StartSystem();
    }
};

TEST_F(LoopTest, TimersWakeGetMessageWhenTheyAreDue) {
    const Window w = windows().Popup({10, 10, 50, 50}, {}, WS_EX_TOOLWINDOW);
    const int64_t start = backend().NowMs();
    SetTimer(w, 7, 30);
    const uint64_t returnsBefore = backend().WaitReturns();
    Msg m;
    do {
        ASSERT_EQ(GetMessage(&m, Window{}, 0, 0), 1);
        DispatchMessage(&m);
    } while (m.message != WM_TIMER);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_GE(backend().NowMs() - start, 30);
    // One wait for the deadline, not a spin (a stray event or two may end a wait early).
    EXPECT_LE(backend().WaitReturns() - returnsBefore, 3u);
    KillTimer(w, 7);
}

TEST_F(LoopTest, PostsFromAnotherThreadWakeTheWaitingLoop) {
    const Window w = windows().Popup({10, 10, 50, 50}, {}, WS_EX_TOOLWINDOW);
    PumpPending();
    std::mutex mutex;
    std::condition_variable received;
    int acknowledged = 0;
    constexpr int kPosts = 20;
    std::thread worker([&] {
        for (int i = 1; i <= kPosts; ++i) {
            PostMessage(w, WM_USER + 1, static_cast<uintptr_t>(i), 0);
            // The next one only once the loop took this one: each post finds it waiting.
            std::unique_lock lock(mutex);
            received.wait(lock, [&] { return acknowledged >= i; });
        }
    });
    const uint64_t returnsBefore = backend().WaitReturns();
    int got = 0;
    Msg m;
    while (got < kPosts && GetMessage(&m, Window{}, 0, 0) == 1) {
        if (m.message != WM_USER + 1) continue;
        EXPECT_EQ(m.wParam, static_cast<uintptr_t>(got + 1));
        ++got;
        std::lock_guard lock(mutex);
        acknowledged = got;
        received.notify_all();
    }
    worker.join();
    EXPECT_EQ(got, kPosts);
    EXPECT_LE(backend().WaitReturns() - returnsBefore, static_cast<uint64_t>(2 * kPosts));
}

TEST_F(LoopTest, AQuitPostedFromAnotherThreadEndsTheLoop) {
    const uint32_t loopThread = sync::CurrentThreadId();
    Msg peek;
    PeekMessage(&peek, Window{}, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
    std::thread worker([&] { PostThreadMessage(loopThread, WM_QUIT, 3, 0); });
    Msg m;
    int result = 1;
    while ((result = GetMessage(&m, Window{}, 0, 0)) == 1) DispatchMessage(&m);
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(m.wParam, 3u);
}

}  // namespace
}  // namespace vexlo::x11::testing
