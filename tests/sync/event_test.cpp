#include "platform/sync/event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace vexlo::sync {
namespace {

TEST(EventTest, ManualResetStaysSignalledForEveryWaiterUntilReset) {
    Event event(ResetMode::Manual, false);
    EXPECT_EQ(event.Wait(0), WaitResult::TimedOut);

    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i) {
        waiters.emplace_back([&] {
            if (event.Wait() == WaitResult::Signaled) ++released;
        });
    }
    event.Set();
    for (auto& t : waiters) t.join();
    EXPECT_EQ(released, 3);
    EXPECT_EQ(event.Wait(0), WaitResult::Signaled);  // still set
    EXPECT_TRUE(event.IsSet());

    event.Reset();
    EXPECT_FALSE(event.IsSet());
    EXPECT_EQ(event.Wait(0), WaitResult::TimedOut);
}

TEST(EventTest, TimedWaitEndsEarlyWhenAnotherThreadSignals) {
    Event event(ResetMode::Manual, false);
    std::thread setter([&] { event.Set(); });
    // The limit is far above any scheduling delay: the wait must end by the signal.
    EXPECT_EQ(event.Wait(60000), WaitResult::Signaled);
    setter.join();
}

TEST(EventTest, ShortTimedWaitOnUnsignalledEventTimesOut) {
    Event event(ResetMode::Manual, false);
    EXPECT_EQ(event.Wait(5), WaitResult::TimedOut);
}

TEST(EventTest, InitiallySignalledEventReleasesAtOnce) {
    Event event(ResetMode::Manual, true);
    EXPECT_EQ(event.Wait(0), WaitResult::Signaled);
}

TEST(EventTest, AutoResetReleasesOneWaitAndClears) {
    Event event(ResetMode::Automatic, false);
    event.Set();
    EXPECT_TRUE(event.IsSet());
    EXPECT_EQ(event.Wait(0), WaitResult::Signaled);
    EXPECT_EQ(event.Wait(0), WaitResult::TimedOut);
}

}  // namespace
}  // namespace vexlo::sync
