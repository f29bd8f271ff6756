// Sending, posting, the retrieval order of the queue, the quit request, nested loops and
// other threads.
#include "platform/sync/event.h"
#include "platform/sync/thread.h"
#include "tests/win/test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

namespace vexlo::win {
namespace {

using ::testing::ElementsAre;
using testing::TestWindows;

class MessagesTest : public ::testing::Test {
protected:
    headless::HeadlessHarness h;
    TestWindows windows;
};

TEST_F(MessagesTest, SendIsSynchronousAndReentrant) {
    std::vector<int> trace;
    Window w = windows.Popup({0, 0, 10, 10}, [&](Window self, uint32_t m, uintptr_t wp, intptr_t) -> std::optional<intptr_t> {
        if (m != WM_USER) return std::nullopt;
        const int depth = static_cast<int>(wp);
        trace.push_back(depth);
        if (depth < 3) {
            // A handler may send to its own window again; the answer comes back at once.
            const intptr_t inner = SendMessage(self, WM_USER, depth + 1, 0);
            trace.push_back(-static_cast<int>(inner));
        }
        return depth * 10;
    });
    EXPECT_EQ(SendMessage(w, WM_USER, 1, 0), 10);
    EXPECT_THAT(trace, ElementsAre(1, 2, 3, -30, -20));
}

TEST_F(MessagesTest, TheLogCopiesNotificationRecordsWhileTheyLive) {
    Window host = windows.Popup({0, 0, 10, 10});
    int control = 0;
    {
        NotificationRecord record{13, 0, 0};
        SendMessage(host, WM_UI_NOTIFY, reinterpret_cast<uintptr_t>(&control), reinterpret_cast<intptr_t>(&record));
        record = {3, 25, -7};
        SendMessage(host, WM_UI_NOTIFY, reinterpret_cast<uintptr_t>(&control), reinterpret_cast<intptr_t>(&record));
    }
    const auto records = h.Notifications(host);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].code, 13);
    EXPECT_EQ(records[1].code, 3);
    EXPECT_EQ(records[1].first, 25);
    EXPECT_EQ(records[1].second, -7);
}

TEST_F(MessagesTest, QueueGivesPostedThenInputThenQuitThenPaintThenTimers) {
    Window w = windows.Popup({0, 0, 100, 100});
    h.Pump();  // the first paint and the activation are done
    h.log().Clear();
    SetTimer(w, 1, 10);
    h.backend().SetClock(h.Now() + 10);  // the timer is due without anything dispatched
    InvalidateRect(w, nullptr, false);
    PostQuitMessage(3);
    InputEvent move;
    move.type = InputEvent::Type::MouseMove;
    move.point = {50, 50};
    h.system().input().QueueInput(move);
    PostMessage(w, WM_USER + 5, 0, 0);

    std::vector<uint32_t> order;
    Msg msg;
    while (PeekMessage(&msg, Window{}, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        if (msg.message != WM_QUIT) DispatchMessage(&msg);
        if (order.size() > 10) break;
    }
    EXPECT_THAT(order, ElementsAre(WM_USER + 5, WM_MOUSEMOVE, WM_QUIT, WM_PAINT, WM_TIMER));
}

TEST_F(MessagesTest, GetMessageReturnsZeroWithTheQuitCode) {
    PostQuitMessage(7);
    Msg msg;
    EXPECT_EQ(GetMessage(&msg, Window{}, 0, 0), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(static_cast<int>(msg.wParam), 7);
    // The request is consumed.
    EXPECT_FALSE(PeekMessage(&msg, Window{}, 0, 0, PM_NOREMOVE));
}

TEST_F(MessagesTest, PostingFromAnotherThreadWakesAWaitingLoop) {
    Window w = windows.Popup({0, 0, 10, 10});
    h.Pump();
    sync::Event posted(sync::ResetMode::Manual, false);
    sync::Thread worker([&] {
        // The main thread is (or will be) blocked in GetMessage with nothing scheduled.
        PostMessage(w, WM_USER + 9, 1, 2);
        posted.Set();
        return 0u;
    });
    Msg msg;
    int got = 0;
    do {
        got = GetMessage(&msg, Window{}, 0, 0);
    } while (got > 0 && msg.message != WM_USER + 9);
    EXPECT_EQ(got, 1);
    EXPECT_EQ(msg.window, w);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, 2);
    worker.Wait();
}

TEST_F(MessagesTest, SendingFromAnotherThreadRunsOnTheWindowsThread) {
    const uint32_t mainThread = sync::CurrentThreadId();
    std::atomic<uint32_t> handledOn{0};
    Window w = windows.Popup({0, 0, 10, 10}, [&](Window, uint32_t m, uintptr_t wp, intptr_t) -> std::optional<intptr_t> {
        if (m != WM_USER) return std::nullopt;
        handledOn = sync::CurrentThreadId();
        EXPECT_TRUE(InSendMessage());
        PostMessage(Window{}, WM_USER + 1, 0, 0);  // to the window's thread: ends the loop below
        return static_cast<intptr_t>(wp) * 2;
    });
    std::atomic<intptr_t> answer{0};
    sync::Thread worker([&] {
        answer = SendMessage(w, WM_USER, 21, 0);
        return 0u;
    });
    Msg msg;
    while (GetMessage(&msg, Window{}, 0, 0) > 0 && msg.message != WM_USER + 1) DispatchMessage(&msg);
    worker.Wait();
    EXPECT_EQ(handledOn.load(), mainThread);
    EXPECT_EQ(answer.load(), 42);
    EXPECT_FALSE(InSendMessage());
}

TEST_F(MessagesTest, NestedLoopsSeeLaterMessagesAndTheOuterLoopContinues) {
    std::vector<uint32_t> seen;
    Window w = windows.Popup({0, 0, 10, 10}, [&](Window self, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m < WM_USER) return std::nullopt;
        seen.push_back(m);
        if (m == WM_USER) {
            // A modal loop inside a handler, ended by a message of its own.
            PostMessage(self, WM_USER + 1, 0, 0);
            PostMessage(self, WM_USER + 2, 0, 0);
            Msg inner;
            while (GetMessage(&inner, Window{}, 0, 0) > 0) {
                DispatchMessage(&inner);
                if (inner.message == WM_USER + 2) break;
            }
            seen.push_back(0);
        }
        return 0;
    });
    h.Pump();
    PostMessage(w, WM_USER, 0, 0);
    PostMessage(w, WM_USER + 3, 0, 0);  // queued before the nested loop starts: it sees it first
    h.Pump();
    EXPECT_THAT(seen, ElementsAre(WM_USER, WM_USER + 3, WM_USER + 1, WM_USER + 2, 0));
}

TEST_F(MessagesTest, WindowAndRangeFiltersLeaveOtherMessagesQueued) {
    Window a = windows.Popup({0, 0, 10, 10});
    Window b = windows.Popup({20, 0, 30, 10});
    h.Pump();
    PostMessage(a, WM_USER + 1, 0, 0);
    PostMessage(b, WM_USER + 2, 0, 0);
    PostMessage(b, WM_APP, 0, 0);
    Msg msg;
    ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    ASSERT_TRUE(PeekMessage(&msg, Window{}, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_APP);
    ASSERT_TRUE(PeekMessage(&msg, Window{}, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.window, a);
    EXPECT_EQ(GetMessage(&msg, Window::FromValue(12345), 0, 0), -1);  // not a window
}

TEST_F(MessagesTest, DispatchingToADestroyedWindowDoesNothing) {
    int calls = 0;
    Window w = windows.Popup({0, 0, 10, 10}, [&](Window, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m == WM_USER) ++calls;
        return std::nullopt;
    });
    PostMessage(w, WM_USER, 0, 0);
    DestroyWindow(w);
    h.Pump();
    EXPECT_EQ(calls, 0);
}

TEST_F(MessagesTest, ThreadMessagesReachTheThreadsQueueOnly) {
    const uint32_t me = sync::CurrentThreadId();
    Msg msg;
    PeekMessage(&msg, Window{}, 0, 0, PM_NOREMOVE);  // this thread has a queue now
    EXPECT_TRUE(PostThreadMessage(me, WM_APP + 1, 5, 6));
    EXPECT_FALSE(PostThreadMessage(0xFFFFFF, WM_APP + 1, 5, 6));
    ASSERT_TRUE(PeekMessage(&msg, Window::FromValue(~uintptr_t{0}), 0, 0, PM_REMOVE));
    EXPECT_FALSE(msg.window);
    EXPECT_EQ(msg.wParam, 5u);
}

}  // namespace
}  // namespace vexlo::win
