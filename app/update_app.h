#pragma once
// The application object: brings up what the UI needs, asks the update service once and
// takes one of three roads (nothing newer, forced update, ordinary update).
#include "app/update_record.h"

namespace vexlo::app {

class CUpdateApp {
public:
    // True keeps the process in the message loop; false ends it at once.
    virtual bool InitInstance();
    // The process exit code.
    virtual int ExitInstance();
    virtual ~CUpdateApp() = default;

    const UpdateRecord& record() const { return record_; }

private:
    UpdateRecord record_;
};

// The process entry: start-up, the message loop while a window road runs, shutdown.
int RunUpdater(CUpdateApp& app);

}  // namespace vexlo::app
