#pragma once
// The application object: brings up what the UI needs, asks the update service once and
// takes one of three roads (nothing newer, forced update, ordinary update).
#include <memory>

#include "app/update_dlg.h"
#include "app/update_record.h"
#include "platform/framework/win_app.h"
#include "ui/core/window_manager.h"

namespace vexlo::app {

class CUpdateApp : public framework::CWinApp {
public:
    // True keeps the process in the message loop; false ends it at once.
    bool InitInstance() override;
    // The process exit code.
    int ExitInstance() override;

    const UpdateRecord& record() const { return record_; }
    // The skin's window manager; null when the skin could not be loaded at all.
    ui::duWindowManager* windowManager() const { return windowManager_.get(); }

private:
    ui::ObjectPtr<ui::duWindowManager> windowManager_;
    UpdateRecord record_;
    // The update window's object lives until the process ends; its window may go earlier.
    std::unique_ptr<CUpdateDlg> updateDlg_;
};

}  // namespace vexlo::app
