#include "app/update_app.h"

#include "app/service_address.h"
#include "skin/skin_package.h"
#include "ui/core/library.h"

namespace vexlo::app {

bool CUpdateApp::InitInstance() {
    if (!CWinApp::InitInstance()) return false;
    EnableControlContainer();
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
    // The ordinary road opens the update window; until it exists the process ends here
    // with the decision made.
    return true;
}

int CUpdateApp::ExitInstance() {
    // The skin windows are gone by now; the manager goes before the library stops.
    windowManager_.reset();
    ui::UninitUILibrary();
    return CWinApp::ExitInstance();
}

}  // namespace vexlo::app
