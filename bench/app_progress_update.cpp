// The progress update path of the update window: message 0x1400 handled (the line's text
// set, the control redrawn) up to the frame presented on the headless display.
// Goal: under 1 ms per update.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/app_icon.h"
#include "app/download_progress.h"
#include "app/update_dlg.h"
#include "platform/headless/harness.h"
#include "skin/skin_package.h"
#include "tools/update-service/update_service.h"
#include "ui/controls/register_controls.h"
#include "ui/core/library.h"
#include "ui/core/window_manager.h"

namespace {
namespace fs = std::filesystem;

void BM_ProgressUpdateToFrame(benchmark::State& state) {
    const fs::path root = fs::temp_directory_path() / "vexlo-bench-progress";
    fs::create_directories(root / "registry");
    fs::create_directories(root / "data");
    setenv("VEXLO_MACHINE_REGISTRY", (root / "registry").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);

    // The installer never comes: the worker waits in its transfer, the line stays shown.
    vexlo::service::UpdateService service;
    service.Start();
    vexlo::service::ReplyPlan stalled = vexlo::service::ReplyPlan::Generated(1 << 20);
    stalled.stallAfter = 0;
    service.SetRoute("/files/setup.exe", stalled);

    std::unique_ptr<vexlo::app::CUpdateDlg> dialog;
    vexlo::ui::ObjectPtr<vexlo::ui::duWindowManager> manager;
    vexlo::app::UpdateRecord record;
    {
        vexlo::headless::HeadlessConfig config;
        config.keepFrames = false;
        vexlo::headless::HeadlessHarness harness(config);
        vexlo::ui::RegisterButtonAndTextControls();
        vexlo::ui::InitUILibrary();
        manager = vexlo::ui::LoadSkinFromMemory(vexlo::skin::kPackageBytes,
                                                static_cast<int64_t>(vexlo::skin::kPackageSize));
        vexlo::app::RegisterAppIcon(manager.get());
        record.version = u"3";
        record.downloadUrl = vexlo::platform::AsciiToWide(service.BaseUrl() + "/files/setup.exe");
        record.localPath = (root / "data" / "setup.exe").u16string();
        dialog = std::make_unique<vexlo::app::CUpdateDlg>(record, manager.get());
        dialog->Create(vexlo::framework::kUpdateDialogTemplate, nullptr);
        dialog->ShowAtTrayCorner();
        harness.Pump();

        const vexlo::win::Window window = dialog->GetSafeHwnd();
        const uint64_t before = harness.backend().FrameCount();
        int percent = 0;
        for (auto _ : state) {
            percent = percent % 100 + 1;
            vexlo::win::SendMessage(window, vexlo::app::WM_DOWNLOAD_PROGRESS, 0, percent);
        }
        state.counters["frames_per_update"] =
            static_cast<double>(harness.backend().FrameCount() - before) / static_cast<double>(state.iterations());
        harness.DestroyAllWindows();
    }
    dialog.reset();
    vexlo::ui::ReleaseWindowManager(manager.release());
    vexlo::ui::UninitUILibrary();
    service.Stop();
    fs::remove_all(root);
}
BENCHMARK(BM_ProgressUpdateToFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
