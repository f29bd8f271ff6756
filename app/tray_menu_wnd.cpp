#include "app/tray_menu_wnd.h"

#include <cstring>

#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/window_api.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_functions.h"

namespace vexlo::app {
namespace {

constexpr int32_t kButtonClick = 13;

}  // namespace

gfx::Point TrayMenuPosition(gfx::Point cursor, int screenWidth, int screenHeight, int width, int height) {
    gfx::Point at = cursor;
    if (cursor.x + width > screenWidth) at.x = screenWidth - width;
    if (cursor.y + height > screenHeight) at.y = cursor.y - height;
    return at;
}

void TrayMenuWnd::ShowAtCursor() {
    if (!m_hWnd) return;
    gfx::Point cursor;
    win::GetCursorPos(&cursor);
    gfx::Rect client;
    win::GetClientRect(m_hWnd, &client);
    const gfx::Point at = TrayMenuPosition(cursor, win::GetSystemMetrics(win::SM_CXFULLSCREEN),
                                           win::GetSystemMetrics(win::SM_CYFULLSCREEN), client.width(),
                                           client.height());
    win::SetForegroundWindow(m_hWnd);
    win::SetWindowPos(m_hWnd, win::HWND_TOPMOST, at.x, at.y, 0, 0, win::SWP_NOSIZE);
    win::ShowWindow(m_hWnd, win::SW_SHOWNORMAL);
}

void TrayMenuWnd::EndUpdater() {
    if (win::Window owner = win::GetWindow(m_hWnd, win::GW_OWNER)) win::DestroyWindow(owner);
    win::PostQuitMessage(0);
}

intptr_t TrayMenuWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case win::WM_CREATE:
            if (windowManager_) windowManager_->AttachWindow(m_hWnd, u"traymenu_window");
            return 0;
        case win::WM_KILLFOCUS:
            if (win::IsWindowVisible(m_hWnd)) Close(1);
            return 0;
        case win::WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == win::SC_CLOSE) {
                EndUpdater();
                return 0;
            }
            break;
        case win::WM_UI_NOTIFY: {
            if (lParam == 0) return 0;
            const auto* record = reinterpret_cast<const win::NotificationRecord*>(lParam);
            ui::duPlugin* plugin = ui::ResolvePlugin(wParam);
            if (record->code == kButtonClick && plugin && std::u16string_view(plugin->GetName()) == u"exit_btn") {
                EndUpdater();
            }
            return 0;
        }
        default:
            break;
    }
    return CWindowWnd::OnMessage(message, wParam, lParam);
}

void TrayMenuWnd::OnWindowDestroyed(win::Window) { delete this; }

}  // namespace vexlo::app
