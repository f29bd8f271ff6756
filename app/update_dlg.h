#pragma once
// The window of the ordinary update road: a caption-less dialog that the UI library
// draws as the skin window "update_window", with a tray icon and one download worker.
#include <memory>

#include "app/download_progress.h"
#include "app/update_record.h"
#include "platform/framework/dialog.h"
#include "platform/sync/event.h"
#include "platform/sync/thread.h"
#include "platform/win/tray.h"
#include "ui/core/window_manager.h"

namespace vexlo::ui {
class duPlugin;
}

namespace vexlo::app {

inline constexpr uint32_t kAppIconId = 128;

class CUpdateDlg : public framework::CDialog {
public:
    CUpdateDlg(const UpdateRecord& record, ui::duWindowManager* windowManager);
    ~CUpdateDlg() override;

    // Resets the panel and starts a worker (after ending any earlier one).
    void StartDownload();
    // Signals the worker to stop, waits at most 500 ms, then gives up its handle.
    void StopDownload();
    // Bottom right of the work area, on top, in the foreground.
    void ShowAtTrayCorner();

    intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

protected:
    int OnCreate(win::CreateStruct* create) override;
    bool OnInitDialog() override;
    void OnPaint() override;
    void OnDestroy() override;

private:
    intptr_t OnUiNotify(ui::duPlugin* plugin, const win::NotificationRecord& record);
    intptr_t OnTrayCallback(intptr_t mouseMessage);
    void OnDownloadProgressMessage(int percent);
    void OnDownloadDone();
    void OnDownloadFailed();
    void Install();
    void Hide();
    // Shows one panel and hides another, redrawing both.
    void SwapPanels(const char16_t* shown, const char16_t* hidden);
    ui::duPlugin* Find(const char16_t* name) const;

    const UpdateRecord& record_;
    ui::duWindowManager* windowManager_;
    win::Icon icon_;
    win::NotifyIconData tray_;
    bool trayAdded_ = false;
    sync::Thread worker_;
    std::unique_ptr<sync::Event> stopEvent_;
    std::shared_ptr<DownloadProgress> progress_;
};

}  // namespace vexlo::app
