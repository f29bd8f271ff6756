// The application's roads: start-up refused, started without a main window, and a run
// that ends with its main window or with a quit request.
#include "platform/framework/dialog.h"
#include "platform/framework/win_app.h"
#include "platform/headless/harness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vexlo::framework {
namespace {

using ::testing::ElementsAre;

// Records the calls the framework makes; what InitInstance does is the test's.
class RecordingApp : public CWinApp {
public:
    std::function<bool()> init = [] { return true; };
    std::vector<std::string> calls;
    int exitOverride = -1;

    bool InitInstance() override {
        calls.push_back("init");
        CWinApp::InitInstance();
        return init();
    }
    int ExitInstance() override {
        calls.push_back("exit");
        const int code = CWinApp::ExitInstance();
        return exitOverride >= 0 ? exitOverride : code;
    }
    int Run() override {
        calls.push_back("run");
        return CWinApp::Run();
    }
};

TEST(ApplicationTest, RefusedStartUpEndsAfterExitInstanceWithoutRunning) {
    headless::HeadlessHarness h;
    RecordingApp app;
    app.init = [] { return false; };
    app.exitOverride = 0;
    EXPECT_EQ(RunApplication(app), 0);
    EXPECT_THAT(app.calls, ElementsAre("init", "exit"));
}

TEST(ApplicationTest, RunLeavesAtOnceWithoutAMainWindow) {
    headless::HeadlessHarness h;
    RecordingApp app;
    EXPECT_EQ(RunApplication(app), 0);
    EXPECT_THAT(app.calls, ElementsAre("init", "run", "exit"));
    EXPECT_EQ(h.Now(), 0);  // no time passed: nothing was waited for
}

TEST(ApplicationTest, TheQuitCodeIsTheExitCode) {
    headless::HeadlessHarness h;
    RecordingApp app;
    CDialog dialog;
    app.init = [&] {
        if (!dialog.Create(kUpdateDialogTemplate)) return false;
        app.SetMainWindow(&dialog);
        win::SetTimer(dialog.GetSafeHwnd(), 1, 1000,
                      [](win::Window, uint32_t, uintptr_t, uint32_t) { win::PostQuitMessage(5); });
        return true;
    };
    EXPECT_EQ(RunApplication(app), 5);
    EXPECT_EQ(h.Now(), 1000);  // the loop waited (in virtual time) for the timer
    EXPECT_THAT(app.calls, ElementsAre("init", "run", "exit"));
}

TEST(ApplicationTest, DestroyingTheMainWindowEndsTheRunWithCodeZero) {
    headless::HeadlessHarness h;
    RecordingApp app;
    CDialog dialog;
    app.init = [&] {
        dialog.Create(kUpdateDialogTemplate);
        app.SetMainWindow(&dialog);
        win::PostMessage(dialog.GetSafeHwnd(), win::WM_CLOSE, 0, 0);  // cancels: hides only
        win::SetTimer(dialog.GetSafeHwnd(), 1, 200, [](win::Window w, uint32_t, uintptr_t, uint32_t) { win::DestroyWindow(w); });
        return true;
    };
    EXPECT_EQ(RunApplication(app), 0);
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_FALSE(win::IsWindow(dialog.GetSafeHwnd()));
    EXPECT_EQ(h.Now(), 200);
}

TEST(ApplicationTest, ControlContainmentIsASwitch) {
    headless::HeadlessHarness h;
    CWinApp app;
    EXPECT_EQ(CWinApp::Current(), &app);
    EXPECT_FALSE(app.ControlContainerEnabled());
    app.EnableControlContainer();
    EXPECT_TRUE(app.ControlContainerEnabled());
}

TEST(ApplicationTest, WinMainMakesAWindowSystemFromTheEnvironmentWhenThereIsNone) {
    ASSERT_EQ(win::WindowSystem::Current(), nullptr);
    setenv("VEXLO_DISPLAY", "headless", 1);
    RecordingApp app;
    bool hadSystem = false;
    app.init = [&] {
        hadSystem = win::WindowSystem::Current() != nullptr;
        return false;
    };
    app.exitOverride = 3;
    EXPECT_EQ(WinMain(app), 3);
    unsetenv("VEXLO_DISPLAY");
    EXPECT_TRUE(hadSystem);
    EXPECT_EQ(win::WindowSystem::Current(), nullptr);  // and it ended with the run
}

}  // namespace
}  // namespace vexlo::framework
