#include "app/update_app.h"

int main() {
    // One application object per process; arguments are not read.
    static vexlo::app::CUpdateApp theApp;
    return vexlo::framework::WinMain(theApp);
}
