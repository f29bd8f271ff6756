#include "platform/base/debug_output.h"

#include <gtest/gtest.h>

#include <thread>

namespace vexlo::platform {
namespace {

TEST(DebugOutput, CaptureReceivesMessagesFromAnyThreadWhileItLives) {
    OutputDebugText(u"before");
    std::vector<std::u16string> seen;
    {
        DebugOutputCapture capture;
        OutputDebugText(u"one");
        std::thread([] { OutputDebugTextAnsi("two"); }).join();
        seen = capture.Messages();
    }
    OutputDebugText(u"after");
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"one", u"two"}));
}

}  // namespace
}  // namespace vexlo::platform
