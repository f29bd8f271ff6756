#include "app/update_app.h"

#include "app/app_icon.h"
#include "app/service_address.h"
#include "skin/skin_package.h"
#include "ui/controls/register_controls.h"
#include "ui/core/library.h"

namespace vexlo::app {

bool CUpdateApp::InitInstance() {
    if (!CWinApp::InitInstance()) return false;
    EnableControlContainer();
    ui::RegisterButtonAndTextControls();
    ui::InitUILibrary();
    // The package's bytes are linked in and stay in place for the whole process. A
    // manager that failed to load is tolerated: attaching windows then does nothing.
    windowManager_ = ui::LoadSkinFromMemory(skin::kPackageBytes, static_cast<int64_t>(skin::kPackageSize));

    if (!record_.CheckForUpdate(UpdateCheckUrl())) {
        // Nothing newer, or the check failed: no main window, so the loop ends at once.
        return true;
    }
    if (record_.IsForced()) {
        if (record_.DownloadPackage()) record_.LaunchInstaller();
        return false;
    }
    RegisterAppIcon(windowManager_.get());
    updateDlg_ = std::make_unique<CUpdateDlg>(record_, windowManager_.get());
    SetMainWindow(updateDlg_.get());
    if (!updateDlg_->Create(framework::kUpdateDialogTemplate, nullptr)) {
        // Without its window the updater has nothing to show or to do.
        SetMainWindow(nullptr);
        return true;
    }
    updateDlg_->ShowAtTrayCorner();
    return true;
}

int CUpdateApp::ExitInstance() {
    // The skin windows are gone by now; the manager goes before the library stops.
    ui::ReleaseWindowManager(windowManager_.release());
    ui::UninitUILibrary();
    return CWinApp::ExitInstance();
}

}  // namespace vexlo::app
