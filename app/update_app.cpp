#include "app/update_app.h"

#include "app/service_address.h"

namespace vexlo::app {

bool CUpdateApp::InitInstance() {
    if (!CWinApp::InitInstance()) return false;
    EnableControlContainer();

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

int CUpdateApp::ExitInstance() { return CWinApp::ExitInstance(); }

}  // namespace vexlo::app
