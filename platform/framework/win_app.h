#pragma once
// The application object: one per process, constructed before the run starts.
//
//   RunApplication(app):  InitInstance() false -> ExitInstance() ends the run;
//                         true -> Run(), the message loop, which leaves at once when
//                         there is no main window; its quit code is what ExitInstance
//                         returns by default, and that is the exit code.
#include "platform/framework/wnd.h"
#include "platform/win/types.h"

namespace vexlo::framework {

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The application object of the process, or null.
    static CWinApp* Current();

    virtual bool InitInstance() { return true; }
    // The code of the quit request that ended the loop (0 when there was none).
    virtual int ExitInstance() { return quitCode_; }
    virtual int Run();
    // Called when the queue is empty; true asks for another call before waiting.
    virtual bool OnIdle(long count);
    // Lets the window a message is for (and its ancestors) see it first.
    virtual bool PreTranslateMessage(win::Msg* msg);

    CWnd* MainWindow() const { return mainWindow_; }
    void SetMainWindow(CWnd* wnd) { mainWindow_ = wnd; }

    // ActiveX control containment of the target framework. Hosted controls are not part
    // of this platform; the switch is kept so that start-up reads as it does there.
    void EnableControlContainer() { controlContainer_ = true; }
    bool ControlContainerEnabled() const { return controlContainer_; }

private:
    CWnd* mainWindow_ = nullptr;
    int quitCode_ = 0;
    bool controlContainer_ = false;
    CWinApp* previous_ = nullptr;
};

// Runs an application on the current window system.
int RunApplication(CWinApp& app);
// The program's entry: makes a window system from the environment (platform/headless/
// display_selection.h) when there is none, then runs the application on it.
int WinMain(CWinApp& app);

}  // namespace vexlo::framework
