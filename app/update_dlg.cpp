#include "app/update_dlg.h"

#include "app/tray_menu_wnd.h"
#include "env/process_launch.h"
#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/window_api.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/wildcard.h"

namespace vexlo::app {
namespace {

constexpr int32_t kButtonClick = 13;
constexpr uint32_t kStopWaitMs = 500;
constexpr int kDoneWidth = 201;
constexpr int kDoneHeight = 90;

constexpr char16_t kTrayTip[] = u"Vexlo\u66F4\u65B0\u7A0B\u5E8F";               // "Vexlo更新程序"
constexpr char16_t kDownloadingText[] = u"Vexlo\u66F4\u65B0\u6B63\u5728\u4E0B\u8F7D...";  // "Vexlo更新正在下载..."

}  // namespace

CUpdateDlg::CUpdateDlg(const UpdateRecord& record, ui::duWindowManager* windowManager)
    : CDialog(framework::kUpdateDialogTemplate),
      record_(record),
      windowManager_(windowManager),
      icon_(win::LoadIcon(framework::kModuleInstance, kAppIconId)) {}

CUpdateDlg::~CUpdateDlg() { StopDownload(); }

int CUpdateDlg::OnCreate(win::CreateStruct* create) {
    if (CDialog::OnCreate(create) == -1) return -1;
    // A tool window never shows in the task bar.
    const auto exStyle = static_cast<uint32_t>(win::GetWindowLongPtr(m_hWnd, win::GWL_EXSTYLE));
    win::SetWindowLongPtr(m_hWnd, win::GWL_EXSTYLE, (exStyle & ~win::WS_EX_APPWINDOW) | win::WS_EX_TOOLWINDOW);
    SetIcon(icon_, true);
    SetIcon(icon_, false);

    ui::AttachWindow(windowManager_, m_hWnd, u"update_window");

    tray_.window = m_hWnd;
    tray_.id = kAppIconId;
    tray_.flags = win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP;
    tray_.callbackMessage = WM_TRAY_CALLBACK;
    tray_.icon = icon_;
    tray_.tip = kTrayTip;
    // Without a notification area the updater carries on; the popup still works.
    trayAdded_ = win::ShellNotifyIcon(win::NIM_ADD, &tray_);

    StartDownload();
    return 0;
}

bool CUpdateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(icon_, true);
    SetIcon(icon_, false);
    return true;
}

void CUpdateDlg::OnPaint() {
    // The panel is drawn by the UI library; what is left is the framework's painting.
    CDialog::OnPaint();
}

void CUpdateDlg::OnDestroy() {
    if (trayAdded_) {
        win::ShellNotifyIcon(win::NIM_DELETE, &tray_);
        trayAdded_ = false;
    }
    CDialog::OnDestroy();
}

ui::duPlugin* CUpdateDlg::Find(const char16_t* name) const { return ui::FindPlugin(m_hWnd, name); }

void CUpdateDlg::StartDownload() {
    StopDownload();
    if (ui::duPlugin* line = Find(u"download_static")) {
        line->SetText(kDownloadingText);
        ui::RedrawPlugin(line, 0);
    }
    SwapPanels(u"download_layout", u"error_layout");

    progress_ = std::make_shared<DownloadProgress>();
    progress_->window = m_hWnd;
    stopEvent_ = std::make_unique<sync::Event>(sync::ResetMode::Manual, false);
    // The worker owns a share of the progress state and knows only the window's handle:
    // it posts and never touches the dialog.
    worker_ = sync::Thread([record = &record_, progress = progress_]() -> uint32_t {
        const bool ok = record->DownloadPackageWithProgress(&OnDownloadProgress, progress.get());
        win::PostMessage(progress->window, ok ? WM_DOWNLOAD_DONE : WM_DOWNLOAD_FAILED, 0, 0);
        return 0;
    });
}

void CUpdateDlg::StopDownload() {
    if (worker_.IsValid() && stopEvent_) {
        stopEvent_->Set();
        worker_.Wait(kStopWaitMs);
    }
    worker_.Close();
    stopEvent_.reset();
}

void CUpdateDlg::ShowAtTrayCorner() {
    const gfx::Rect work = win::GetWorkArea();
    gfx::Rect client;
    GetClientRect(&client);
    const int width = client.width();
    const int height = client.height();
    SetWindowPos(win::HWND_TOP, work.right - width, work.bottom - height, 0, 0,
                 win::SWP_NOSIZE | win::SWP_SHOWWINDOW);
    SetForegroundWindow();
}

void CUpdateDlg::SwapPanels(const char16_t* shown, const char16_t* hidden) {
    ui::duPlugin* show = Find(shown);
    ui::duPlugin* hide = Find(hidden);
    if (show) show->SetVisible(1);
    if (hide) hide->SetVisible(0);
    if (show) ui::RedrawPlugin(show, 0);
    if (hide) ui::RedrawPlugin(hide, 0);
}

void CUpdateDlg::OnDownloadProgressMessage(int percent) {
    if (ui::duPlugin* line = Find(u"download_static")) {
        line->SetText(ProgressText(percent).c_str());
        ui::RedrawPlugin(line, 0);
    }
}

void CUpdateDlg::OnDownloadDone() {
    gfx::Rect rect;
    GetWindowRect(&rect);
    SetWindowPos(win::HWND_TOP, rect.left, rect.top - 10, kDoneWidth, kDoneHeight, win::SWP_SHOWWINDOW);
    SetForegroundWindow();
    SwapPanels(u"install_layout", u"download_layout");
}

void CUpdateDlg::OnDownloadFailed() { SwapPanels(u"error_layout", u"download_layout"); }

void CUpdateDlg::Hide() { ShowWindow(win::SW_HIDE); }

void CUpdateDlg::Install() {
    record_.LaunchInstaller();
    Hide();
    DestroyWindow();
    win::PostQuitMessage(0);
}

intptr_t CUpdateDlg::OnUiNotify(ui::duPlugin* plugin, const win::NotificationRecord& record) {
    struct Row {
        const char16_t* name;
        int32_t code;
        void (CUpdateDlg::*handler)();
    };
    static constexpr Row kTable[] = {
        {u"close_btn", kButtonClick, &CUpdateDlg::Hide},
        {u"install_btn", kButtonClick, &CUpdateDlg::Install},
        {u"redownload_btn", kButtonClick, &CUpdateDlg::StartDownload},
    };
    if (!plugin) return 0;
    const char16_t* name = plugin->GetName();
    for (const Row& row : kTable) {
        if (ui::MatchWildcard(row.name, name) && record.code == row.code) {
            (this->*row.handler)();
            return 0;
        }
    }
    return 0;
}

intptr_t CUpdateDlg::OnTrayCallback(intptr_t mouseMessage) {
    if (mouseMessage == win::WM_RBUTTONUP) {
        Hide();
        // The menu object deletes itself when its window is destroyed.
        auto* menu = new TrayMenuWnd(windowManager_);
        menu->Create(m_hWnd, u"", 0, 0, win::CW_USEDEFAULT, win::CW_USEDEFAULT, win::CW_USEDEFAULT, win::CW_USEDEFAULT);
        menu->ShowAtCursor();
    } else if (mouseMessage == win::WM_LBUTTONUP) {
        ShowAtTrayCorner();
    }
    return 0;
}

intptr_t CUpdateDlg::WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case WM_DOWNLOAD_PROGRESS:
            OnDownloadProgressMessage(static_cast<int>(lParam));
            return 0;
        case WM_DOWNLOAD_DONE:
            OnDownloadDone();
            return 0;
        case WM_DOWNLOAD_FAILED:
            OnDownloadFailed();
            return 0;
        case WM_TRAY_CALLBACK:
            return OnTrayCallback(lParam);
        case win::WM_UI_NOTIFY:
            if (lParam == 0) return 0;
            return OnUiNotify(ui::ResolvePlugin(wParam), *reinterpret_cast<const win::NotificationRecord*>(lParam));
        default:
            return CDialog::WindowProc(message, wParam, lParam);
    }
}

}  // namespace vexlo::app
