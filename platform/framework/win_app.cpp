#include "platform/framework/win_app.h"

#include "platform/headless/display_selection.h"
#include "platform/win/window_system.h"

#include <memory>

namespace vexlo::framework {
namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp() : previous_(g_app) { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = previous_;
}

CWinApp* CWinApp::Current() { return g_app; }

bool CWinApp::OnIdle(long /*count*/) { return false; }

bool CWinApp::PreTranslateMessage(win::Msg* msg) {
    for (win::Window w = msg->window; w; w = win::GetParent(w)) {
        if (CWnd* wnd = CWnd::FromHandle(w); wnd && wnd->PreTranslateMessage(msg)) return true;
        if (!(win::GetWindowLongPtr(w, win::GWL_STYLE) & win::WS_CHILD)) break;
    }
    return false;
}

int CWinApp::Run() {
    if (!mainWindow_) win::PostQuitMessage(0);  // nothing to show: the loop ends at once
    win::Msg msg;
    for (;;) {
        for (long idle = 0; !win::PeekMessage(&msg, win::Window{}, 0, 0, win::PM_NOREMOVE) && OnIdle(idle); ++idle) {
        }
        const int got = win::GetMessage(&msg, win::Window{}, 0, 0);
        if (got <= 0) {
            quitCode_ = got == 0 ? static_cast<int>(static_cast<intptr_t>(msg.wParam)) : -1;
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            win::TranslateMessage(&msg);
            win::DispatchMessage(&msg);
        }
    }
    return ExitInstance();
}

int RunApplication(CWinApp& app) {
    if (!app.InitInstance()) {
        if (CWnd* main = app.MainWindow()) main->DestroyWindow();
        return app.ExitInstance();
    }
    return app.Run();
}

int WinMain(CWinApp& app) {
    std::unique_ptr<win::WindowSystem> system;
    if (!win::WindowSystem::Current()) {
        system = std::make_unique<win::WindowSystem>(headless::CreateDisplayBackendFromEnvironment());
    }
    return RunApplication(app);
}

}  // namespace vexlo::framework
