#include "platform/sync/critical_section.h"
#include "platform/sync/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace vexlo::sync {
namespace {

TEST(ThreadTest, WaitReportsEndAndExitCode) {
    Event release(ResetMode::Manual, false);
    Thread thread([&] {
        release.Wait();
        return 7u;
    });
    ASSERT_TRUE(thread.IsValid());
    EXPECT_NE(thread.Id(), 0u);
    EXPECT_NE(thread.Id(), CurrentThreadId());
    EXPECT_FALSE(thread.Wait(0));
    EXPECT_FALSE(thread.HasEnded());
    EXPECT_EQ(thread.ExitCode(), 0u);

    release.Set();
    EXPECT_TRUE(thread.Wait());
    EXPECT_TRUE(thread.HasEnded());
    EXPECT_EQ(thread.ExitCode(), 7u);
}

TEST(ThreadTest, ClosingARunningThreadLetsItFinishOnItsOwn) {
    // What a worker that outlives its 500 ms stop wait relies on.
    auto release = std::make_shared<Event>(ResetMode::Manual, false);
    auto finished = std::make_shared<Event>(ResetMode::Manual, false);
    {
        Thread thread([release, finished] {
            release->Wait();
            finished->Set();
            return 0u;
        });
        EXPECT_FALSE(thread.Wait(0));
        thread.Close();
        EXPECT_FALSE(thread.IsValid());
        EXPECT_TRUE(thread.Wait(0));  // a closed handle has nothing to wait for
    }
    release->Set();
    EXPECT_EQ(finished->Wait(60000), WaitResult::Signaled);
}

TEST(ThreadTest, MovedHandleOwnsTheThread) {
    Thread first([] { return 3u; });
    Thread second = std::move(first);
    EXPECT_FALSE(first.IsValid());
    EXPECT_TRUE(second.Wait());
    EXPECT_EQ(second.ExitCode(), 3u);
}

TEST(ThreadTest, ThreadIdsDifferBetweenThreadsAndStayStable) {
    const uint32_t mine = CurrentThreadId();
    EXPECT_EQ(CurrentThreadId(), mine);
    std::atomic<uint32_t> theirs{0};
    Thread thread([&] {
        theirs = CurrentThreadId();
        return 0u;
    });
    thread.Wait();
    EXPECT_NE(theirs.load(), mine);
    EXPECT_EQ(theirs.load(), thread.Id());
}

TEST(CriticalSectionTest, OwnerMayEnterAgainOthersMayNot) {
    CriticalSection section;
    section.Enter();
    EXPECT_TRUE(section.TryEnter());  // recursive for its owner
    std::atomic<bool> otherGotIt{true};
    Thread other([&] {
        otherGotIt = section.TryEnter();
        if (otherGotIt) section.Leave();
        return 0u;
    });
    other.Wait();
    EXPECT_FALSE(otherGotIt);
    section.Leave();
    section.Leave();
    Thread again([&] {
        otherGotIt = section.TryEnter();
        if (otherGotIt) section.Leave();
        return 0u;
    });
    again.Wait();
    EXPECT_TRUE(otherGotIt);
}

}  // namespace
}  // namespace vexlo::sync
