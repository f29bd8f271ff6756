// The ordinary road's window and tray menu on the headless display, against the local
// update service: what the user sees and what each button does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "app/app_icon.h"
#include "app/download_progress.h"
#include "app/tray_menu_wnd.h"
#include "app/update_dlg.h"
#include "app/update_record.h"
#include "platform/gfx/golden.h"
#include "platform/headless/harness.h"
#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/tray.h"
#include "skin/skin_package.h"
#include "tests/app/updater_process.h"
#include "tools/update-service/update_service.h"
#include "ui/controls/register_controls.h"
#include "ui/core/library.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/window_manager.h"

namespace vexlo::app {
namespace {
namespace fs = std::filesystem;

const std::u16string kDownloading = u"Vexlo\u66F4\u65B0\u6B63\u5728\u4E0B\u8F7D...";

class UpdateWindow : public ::testing::Test {
protected:
    void SetUp() override {
        // The environment singletons read these folders; each test gets its own sandbox.
        setenv("VEXLO_MACHINE_REGISTRY", sandbox_.registryDir().c_str(), 1);
        setenv("XDG_DATA_HOME", sandbox_.dataHome().c_str(), 1);
        setenv("VEXLO_INSTALLER_RECORD", sandbox_.installerRecord().c_str(), 1);
        ASSERT_TRUE(service_.Start());
        sandbox_.PublishSampleInstaller("setup.exe");
        service_.ServeFiles(sandbox_.filesDir().string());
        ui::RegisterButtonAndTextControls();
        ui::InitUILibrary();
        windowManager_ = ui::LoadSkinFromMemory(skin::kPackageBytes, static_cast<int64_t>(skin::kPackageSize));
        ASSERT_TRUE(windowManager_);
        RegisterAppIcon(windowManager_.get());
    }

    void TearDown() override {
        harness_.DestroyAllWindows();
        dialog_.reset();
        ui::ReleaseWindowManager(windowManager_.release());
        ui::UninitUILibrary();
        service_.Stop();
    }

    // Offers version 3 with the file served by `reply` (by default the sample installer
    // itself), then opens the window at the corner.
    void Open(std::optional<service::ReplyPlan> reply = std::nullopt) {
        if (reply) service_.SetRoute("/files/setup.exe", std::move(*reply));
        Json::Value offer;
        offer["version_number"] = "3";
        offer["update_type"] = "1";
        offer["file_32"] = service_.BaseUrl() + "/files/setup.exe";
        service_.SetCheckReply(service::ReplyPlan::Json(offer));
        ASSERT_TRUE(record_.CheckForUpdate(service_.CheckUrl()));
        dialog_ = std::make_unique<CUpdateDlg>(record_, windowManager_.get());
        ASSERT_TRUE(dialog_->Create(framework::kUpdateDialogTemplate, nullptr));
        // Nothing the worker posted has been handled yet.
        initialLine_ = Line();
        dialog_->ShowAtTrayCorner();
        harness_.Pump();
    }

    win::Window window() const { return dialog_->GetSafeHwnd(); }
    ui::duPlugin* Control(const char16_t* name) const { return ui::FindPlugin(window(), name); }
    std::u16string Line() const {
        ui::duPlugin* line = Control(u"download_static");
        return line ? line->GetText() : u"<none>";
    }
    bool Shown(const char16_t* name) const {
        ui::duPlugin* p = Control(name);
        return p && p->IsVisible();
    }
    gfx::Rect WindowRect() const {
        gfx::Rect r;
        win::GetWindowRect(window(), &r);
        return r;
    }
    // The screen point at the middle of a control.
    gfx::Point Middle(const char16_t* name) const {
        gfx::Rect r;
        ui::GetVisibleRect(Control(name), &r);
        return harness_.ToScreen(window(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    // Runs the message loop until `done` holds; the worker's posts wake it.
    void RunUntil(const std::function<bool()>& done) {
        while (!done()) {
            win::Msg msg;
            if (win::GetMessage(&msg, win::Window{}, 0, 0) <= 0) break;
            win::TranslateMessage(&msg);
            win::DispatchMessage(&msg);
        }
    }
    // The percentages the window was told, in order of handling.
    std::vector<int> Percentages() {
        std::vector<int> out;
        for (const win::MessageEvent& e : harness_.log().Events()) {
            if (e.kind == win::MessageEventKind::Dispatched && e.message == WM_DOWNLOAD_PROGRESS) {
                out.push_back(static_cast<int>(e.lParam));
            }
        }
        return out;
    }
    void RunUntilPanel(const char16_t* panel) {
        RunUntil([&] { return Shown(panel); });
    }

    testing::UpdaterSandbox sandbox_;
    service::UpdateService service_;
    UpdateRecord record_;
    ui::ObjectPtr<ui::duWindowManager> windowManager_;
    std::unique_ptr<CUpdateDlg> dialog_;
    std::u16string initialLine_;
    headless::HeadlessHarness harness_;  // last: it goes first, with the windows
};

TEST_F(UpdateWindow, OpensAtTheCornerAndDownloadsWithRisingPercentages) {
    service::ReplyPlan file = service::ReplyPlan::Generated(300000);
    file.chunkSizes = {7000, 1000, 13000, 500};
    // The body starts only after the opening checks, however fast the machine.
    file.stallAfter = 0;
    file.stallMs = 300;
    Open(file);
    EXPECT_EQ(WindowRect(), (gfx::Rect{1920 - 198, 1040 - 80, 1920, 1040}));
    EXPECT_TRUE(Shown(u"download_layout"));
    EXPECT_FALSE(Shown(u"error_layout"));
    EXPECT_FALSE(Shown(u"install_layout"));

    EXPECT_EQ(initialLine_, kDownloading);
    RunUntilPanel(u"install_layout");
    std::vector<int> shown = Percentages();
    ASSERT_FALSE(shown.empty());
    for (size_t i = 1; i < shown.size(); ++i) EXPECT_GT(shown[i], shown[i - 1]);
    EXPECT_GT(shown.front(), 0);
    EXPECT_EQ(shown.back(), 100);
    EXPECT_EQ(Line(), ProgressText(100));

    // Done: moved up by 10 and grown to 201 by 90, with the install panel.
    EXPECT_EQ(WindowRect(), (gfx::Rect{1722, 950, 1722 + 201, 950 + 90}));
    EXPECT_FALSE(Shown(u"download_layout"));
    EXPECT_TRUE(fs::exists(sandbox_.updateFolder() / "setup.exe"));
}

TEST_F(UpdateWindow, UnknownSizeShowsNoPercentage) {
    service::ReplyPlan file = service::ReplyPlan::Generated(100000);
    file.framing = service::Framing::Close;
    Open(file);
    RunUntilPanel(u"install_layout");
    EXPECT_TRUE(Percentages().empty());
    EXPECT_EQ(Line(), kDownloading);
}

TEST_F(UpdateWindow, FailureShowsTheErrorPanelAndRedownloadStartsAgain) {
    Open(service::ReplyPlan::Text(404, "gone"));
    RunUntilPanel(u"error_layout");
    EXPECT_FALSE(Shown(u"download_layout"));
    EXPECT_EQ(WindowRect().width(), 198) << "a failure neither moves nor resizes";

    // The second attempt holds its first byte back for a moment, so the plain line can
    // be seen before any percentage.
    service::ReplyPlan held = service::ReplyPlan::Generated(50000);
    held.stallAfter = 0;
    held.stallMs = 200;
    service_.SetRoute("/files/setup.exe", held);
    const gfx::Point at = Middle(u"redownload_btn");
    harness_.Click(at.x, at.y);
    EXPECT_TRUE(Shown(u"download_layout"));
    EXPECT_FALSE(Shown(u"error_layout"));
    EXPECT_EQ(Line(), kDownloading);
    RunUntilPanel(u"install_layout");
    ASSERT_FALSE(Percentages().empty());
    EXPECT_EQ(Percentages().back(), 100);
}

TEST_F(UpdateWindow, CloseHidesTheWindowWhileTheDownloadGoesOn) {
    service::ReplyPlan slow = service::ReplyPlan::Generated(200000);
    slow.stallAfter = 1000;
    slow.stallMs = 300;
    Open(slow);
    const gfx::Point at = Middle(u"close_btn");
    harness_.Click(at.x, at.y);
    EXPECT_FALSE(win::IsWindowVisible(window()));
    RunUntilPanel(u"install_layout");
    // The done step shows the window again, grown, as its algorithm says.
    EXPECT_TRUE(win::IsWindowVisible(window()));
    EXPECT_EQ(WindowRect().height(), 90);
}

TEST_F(UpdateWindow, InstallStartsTheInstallerWithoutParametersAndEnds) {
    Open();
    RunUntilPanel(u"install_layout");
    const win::Window w = window();
    const gfx::Point at = Middle(u"install_btn");
    harness_.Click(at.x, at.y);
    EXPECT_FALSE(win::IsWindow(w));
    EXPECT_TRUE(harness_.quitPending());
    EXPECT_TRUE(win::GetTrayIcons().empty());
    // Started directly with empty parameters: the line is the quoted path and a blank,
    // which splits into the program alone.
    // It runs on its own: wait (a bounded while) for the line it writes.
    for (int i = 0; i < 500 && sandbox_.InstallerStarts().empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    auto starts = sandbox_.InstallerStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], "[" + (sandbox_.updateFolder() / "setup.exe").string() + "]");
}

TEST_F(UpdateWindow, NotificationsWithOtherCodesAreIgnored) {
    Open(service::ReplyPlan::Generated(20000));
    RunUntilPanel(u"install_layout");
    for (const char16_t* name : {u"close_btn", u"install_btn", u"redownload_btn"}) {
        ui::NotifyHost(Control(name), 14, 0, 0);
    }
    EXPECT_TRUE(win::IsWindowVisible(window()));
    EXPECT_FALSE(harness_.quitPending());
}

TEST_F(UpdateWindow, TrayClicksShowTheWindowOrOpenTheMenuWhoseExitEndsTheUpdater) {
    Open(service::ReplyPlan::Generated(20000));
    RunUntilPanel(u"install_layout");
    ASSERT_EQ(win::GetTrayIcons().size(), 1u);
    EXPECT_EQ(win::GetTrayIcons()[0].tip, u"Vexlo\u66F4\u65B0\u7A0B\u5E8F");

    // Right click: the window hides and the menu opens at the cursor, above it near the bottom.
    ASSERT_TRUE(harness_.ClickTrayIcon(window(), kAppIconId, win::MouseButton::Right));
    EXPECT_FALSE(win::IsWindowVisible(window()));
    win::Window menu = win::FindWindow(u"TrayMenuWnd", u"");
    ASSERT_TRUE(menu);
    gfx::Point cursor;
    win::GetCursorPos(&cursor);
    gfx::Rect menuRect;
    win::GetWindowRect(menu, &menuRect);
    EXPECT_EQ(menuRect.width(), 104);
    EXPECT_EQ(menuRect.height(), 31);
    EXPECT_EQ(menuRect.bottom, cursor.y);

    // A click elsewhere closes the menu; the updater keeps running, the window hidden.
    harness_.Click(100, 100);
    harness_.Pump();
    EXPECT_FALSE(win::IsWindow(menu));
    EXPECT_FALSE(harness_.quitPending());
    EXPECT_FALSE(win::IsWindowVisible(window()));

    // Left click: back at the corner, shown and active.
    ASSERT_TRUE(harness_.ClickTrayIcon(window(), kAppIconId, win::MouseButton::Left));
    EXPECT_TRUE(win::IsWindowVisible(window()));
    EXPECT_EQ(WindowRect().right, 1920);
    EXPECT_EQ(WindowRect().bottom, 1040);

    // Right click again (the class exists already), then "退出".
    ASSERT_TRUE(harness_.ClickTrayIcon(window(), kAppIconId, win::MouseButton::Right));
    menu = win::FindWindow(u"TrayMenuWnd", u"");
    ASSERT_TRUE(menu);
    const win::Window updateWindow = window();
    ui::duPlugin* exit = ui::FindPlugin(menu, u"exit_btn");
    ASSERT_TRUE(exit);
    gfx::Rect r;
    ui::GetVisibleRect(exit, &r);
    const gfx::Point at = harness_.ToScreen(menu, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    harness_.Click(at.x, at.y);
    EXPECT_FALSE(win::IsWindow(updateWindow));
    EXPECT_TRUE(win::GetTrayIcons().empty());
    EXPECT_TRUE(harness_.quitPending());
}

TEST_F(UpdateWindow, ExitDuringADownloadEndsTheUpdater) {
    service::ReplyPlan held = service::ReplyPlan::Generated(100000);
    held.stallAfter = 10000;  // the transfer is still running when the user leaves
    Open(held);
    ASSERT_TRUE(harness_.ClickTrayIcon(window(), kAppIconId, win::MouseButton::Right));
    win::Window menu = win::FindWindow(u"TrayMenuWnd", u"");
    ASSERT_TRUE(menu);
    gfx::Rect r;
    ui::GetVisibleRect(ui::FindPlugin(menu, u"exit_btn"), &r);
    const gfx::Point at = harness_.ToScreen(menu, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const win::Window updateWindow = window();
    harness_.Click(at.x, at.y);
    EXPECT_FALSE(win::IsWindow(updateWindow));
    EXPECT_TRUE(win::GetTrayIcons().empty());
    EXPECT_TRUE(harness_.quitPending());
}

TEST_F(UpdateWindow, SystemCloseOnTheMenuEndsTheUpdaterAndTakesTheTrayIcon) {
    Open(service::ReplyPlan::Generated(20000));
    RunUntilPanel(u"install_layout");
    ASSERT_TRUE(harness_.ClickTrayIcon(window(), kAppIconId, win::MouseButton::Right));
    win::Window menu = win::FindWindow(u"TrayMenuWnd", u"");
    ASSERT_TRUE(menu);
    win::SendMessage(menu, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
    EXPECT_TRUE(harness_.quitPending());
    EXPECT_TRUE(win::GetTrayIcons().empty()) << "the icon does not stay behind";
}

// What the user sees in each state, with the state's button first at rest and then under
// the mouse. The goldens are the updater's own look; rewrite them with VEXLO_UPDATE_GOLDENS=1
// after an intended change and look at them.
class UpdateWindowLook : public UpdateWindow {
protected:
    gfx::Bitmap LastFrameOf(win::Window w) {
        harness_.Pump();
        gfx::Bitmap last;
        for (const auto& frame : harness_.Frames()) {
            if (frame.info.window == w) last = frame.pixels;
        }
        return last;
    }
    void ExpectLook(win::Window w, const char* name) {
        const gfx::Bitmap frame = LastFrameOf(w);
        ASSERT_FALSE(frame.empty()) << name;
        auto result = gfx::CompareWithGolden(frame, std::string("app/golden/") + name + ".png", 2);
        EXPECT_TRUE(result.matched) << result.message;
    }
    void Hover(win::Window w, const char16_t* control) {
        gfx::Rect r;
        ui::GetVisibleRect(ui::FindPlugin(w, control), &r);
        const gfx::Point at = harness_.ToScreen(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        harness_.MoveTo(at.x, at.y);
    }
};

TEST_F(UpdateWindowLook, Downloading) {
    service::ReplyPlan held = service::ReplyPlan::Generated(100000);
    held.stallAfter = 0;  // the worker waits; the line shows what the test tells it
    Open(held);
    win::SendMessage(window(), WM_DOWNLOAD_PROGRESS, 0, 42);
    ExpectLook(window(), "downloading");
    Hover(window(), u"close_btn");
    ExpectLook(window(), "downloading-close-hover");
}

TEST_F(UpdateWindowLook, Failed) {
    Open(service::ReplyPlan::Text(404, "gone"));
    RunUntilPanel(u"error_layout");
    ExpectLook(window(), "failed");
    Hover(window(), u"redownload_btn");
    ExpectLook(window(), "failed-redownload-hover");
}

TEST_F(UpdateWindowLook, Done) {
    Open(service::ReplyPlan::Generated(20000));
    RunUntilPanel(u"install_layout");
    ExpectLook(window(), "done");
    Hover(window(), u"install_btn");
    ExpectLook(window(), "done-install-hover");
}

TEST_F(UpdateWindowLook, TrayMenu) {
    Open(service::ReplyPlan::Generated(20000));
    RunUntilPanel(u"install_layout");
    ASSERT_TRUE(harness_.ClickTrayIcon(window(), kAppIconId, win::MouseButton::Right));
    win::Window menu = win::FindWindow(u"TrayMenuWnd", u"");
    ASSERT_TRUE(menu);
    ExpectLook(menu, "traymenu");
    Hover(menu, u"exit_btn");
    ExpectLook(menu, "traymenu-exit-hover");
}

TEST(TrayMenuPosition, KeepsTheMenuOnTheScreen) {
    const struct {
        gfx::Point cursor;
        gfx::Point expected;
    } cases[] = {
        {{500, 300}, {500, 300}},    // room everywhere
        {{1900, 300}, {1816, 300}},  // pushed left to the right edge
        {{500, 1030}, {500, 999}},   // opens above the cursor
        {{1900, 1030}, {1816, 999}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrayMenuPosition(c.cursor, 1920, 1040, 104, 31), c.expected);
    }
}

}  // namespace
}  // namespace vexlo::app
