#include "platform/framework/dialog.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace vexlo::framework {
namespace {

std::mutex g_templatesMutex;

std::map<uint32_t, DialogTemplate>& Templates() {
    static std::map<uint32_t, DialogTemplate> templates = [] {
        std::map<uint32_t, DialogTemplate> t;
        DialogTemplate update;
        update.style = win::WS_POPUP | win::WS_VISIBLE;
        update.exStyle = win::WS_EX_APPWINDOW;
        update.cx = 320;
        update.cy = 200;
        update.fontFace = u"MS Shell Dlg";
        update.pointSize = 9;
        t[kUpdateDialogTemplate] = update;
        return t;
    }();
    return templates;
}

}  // namespace

std::optional<DialogTemplate> FindDialogTemplate(uint32_t id) {
    std::lock_guard lock(g_templatesMutex);
    auto it = Templates().find(id);
    if (it == Templates().end()) return std::nullopt;
    return it->second;
}

void RegisterDialogTemplate(uint32_t id, const DialogTemplate& dialog) {
    std::lock_guard lock(g_templatesMutex);
    Templates()[id] = dialog;
}

gfx::Rect DialogUnitsToPixels(const DialogTemplate& dialog) {
    // The base units of the template font at 96 dots per inch: its pixel height plus
    // leading, and about half of that as the average character width.
    const int pixelHeight = (std::max(dialog.pointSize, 1) * 96 + 71) / 72;
    const int baseY = pixelHeight + 3;
    const int baseX = (pixelHeight + 1) / 2;
    return gfx::Rect::FromXYWH(dialog.x * baseX / 4, dialog.y * baseY / 8, dialog.cx * baseX / 4, dialog.cy * baseY / 8);
}

bool CDialog::Create(uint32_t templateId, CWnd* parent) {
    const std::optional<DialogTemplate> dialog = FindDialogTemplate(templateId);
    if (!dialog || m_hWnd) return false;
    templateId_ = templateId;
    parent_ = parent;
    if (!RegisterFrameworkClass(kDialogClass, win::CS_DBLCLKS | win::CS_SAVEBITS, win::GetSysColor(win::COLOR_BTNFACE),
                                48)) {
        return false;
    }
    gfx::Rect rect = DialogUnitsToPixels(*dialog);
    if (parent && !(dialog->style & win::WS_CHILD)) {
        gfx::Point origin{rect.left, rect.top};
        win::ClientToScreen(parent->GetSafeHwnd(), &origin);
        rect = rect.Offset(origin.x - rect.left, origin.y - rect.top);
    }
    if (!CreateEx(dialog->exStyle, kDialogClass, dialog->caption, dialog->style & ~win::WS_VISIBLE, rect, parent, 0)) {
        return false;
    }
    const win::Window self = m_hWnd;
    SendMessage(win::WM_INITDIALOG, 0, 0);
    if (win::IsWindow(self) && (dialog->style & win::WS_VISIBLE)) win::ShowWindow(self, win::SW_SHOWNORMAL);
    return win::IsWindow(self);
}

void CDialog::EndDialog(uintptr_t /*result*/) {
    if (m_hWnd) win::ShowWindow(m_hWnd, win::SW_HIDE);
}

intptr_t CDialog::WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == win::WM_INITDIALOG) return OnInitDialog() ? 1 : 0;
    if (message == win::WM_COMMAND && win::HighWord(wParam) == 0) {
        if (win::LowWord(wParam) == IDOK) {
            OnOK();
            return 0;
        }
        if (win::LowWord(wParam) == IDCANCEL) {
            OnCancel();
            return 0;
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

intptr_t CDialog::DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case win::WM_INITDIALOG:
            return 1;
        case win::WM_CLOSE:
            // Closing a dialog is cancelling it.
            SendMessage(win::WM_COMMAND, IDCANCEL, 0);
            return 0;
        default:
            return CWnd::DefWindowProc(message, wParam, lParam);
    }
}

}  // namespace vexlo::framework
