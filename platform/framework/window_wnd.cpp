#include "platform/framework/window_wnd.h"

#include "platform/framework/wnd.h"

namespace vexlo::framework {
namespace {

constexpr char16_t kObjectProperty[] = u"WndX";

}  // namespace

CWindowWnd::~CWindowWnd() {
    if (!win::IsWindow(m_hWnd)) return;
    if (win::GetProp(m_hWnd, kObjectProperty) == reinterpret_cast<intptr_t>(this)) win::SetProp(m_hWnd, kObjectProperty, 0);
    if (win::GetWindowLongPtr(m_hWnd, win::GWLP_USERDATA) == reinterpret_cast<intptr_t>(this)) {
        win::SetWindowLongPtr(m_hWnd, win::GWLP_USERDATA, 0);
    }
}

win::Window CWindowWnd::Create(win::Window parent, std::u16string_view name, uint32_t style, uint32_t exStyle, int x,
                               int y, int cx, int cy, uintptr_t menu) {
    const bool registered = SuperclassName().empty() ? RegisterWindowClass() : RegisterSuperclass();
    if (!registered) return win::Window{};
    m_hWnd = win::CreateWindowEx(exStyle, ClassName(), name, style, x, y, cx, cy, parent, menu, kModuleInstance, this);
    return m_hWnd;
}

bool CWindowWnd::RegisterWindowClass() {
    win::WindowClass c;
    c.style = ClassStyle();
    c.proc = &CWindowWnd::WindowProcedure;
    c.instance = kModuleInstance;
    c.cursor = win::LoadCursor(0, win::IDC_ARROW);
    c.name = std::u16string(ClassName());
    return win::RegisterClass(c) != 0 || win::GetLastError() == win::ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
    win::WindowClass c;
    if (!win::GetClassInfo(0, SuperclassName(), &c) && !win::GetClassInfo(kModuleInstance, SuperclassName(), &c)) {
        return false;
    }
    m_OldWndProc = c.proc;
    c.proc = &CWindowWnd::SuperclassProcedure;
    c.instance = kModuleInstance;
    c.name = std::u16string(ClassName());
    return win::RegisterClass(c) != 0 || win::GetLastError() == win::ERROR_CLASS_ALREADY_EXISTS;
}

intptr_t CWindowWnd::Route(CWindowWnd* self, win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                           bool superclass) {
    if (message == win::WM_NCCREATE) {
        self = static_cast<CWindowWnd*>(reinterpret_cast<win::CreateStruct*>(lParam)->createParams);
        if (self) {
            self->m_hWnd = window;
            if (superclass) {
                win::SetProp(window, kObjectProperty, reinterpret_cast<intptr_t>(self));
            } else {
                win::SetWindowLongPtr(window, win::GWLP_USERDATA, reinterpret_cast<intptr_t>(self));
            }
        }
    }
    if (message == win::WM_NCDESTROY && self) {
        const intptr_t result = win::CallWindowProc(self->m_OldWndProc, window, message, wParam, lParam);
        if (superclass) {
            win::SetProp(window, kObjectProperty, 0);
        } else {
            win::SetWindowLongPtr(window, win::GWLP_USERDATA, 0);
        }
        if (self->m_bSubclassed) self->RestoreWindowProc();
        self->m_hWnd = win::Window{};
        self->OnWindowDestroyed(window);  // may delete the object
        return result;
    }
    if (self) return self->OnMessage(message, wParam, lParam);
    return win::DefWindowProc(window, message, wParam, lParam);
}

intptr_t CWindowWnd::WindowProcedure(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto* self = reinterpret_cast<CWindowWnd*>(win::GetWindowLongPtr(window, win::GWLP_USERDATA));
    return Route(self, window, message, wParam, lParam, false);
}

intptr_t CWindowWnd::SuperclassProcedure(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto* self = reinterpret_cast<CWindowWnd*>(win::GetProp(window, kObjectProperty));
    return Route(self, window, message, wParam, lParam, true);
}

intptr_t CWindowWnd::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return win::CallWindowProc(m_OldWndProc, m_hWnd, message, wParam, lParam);
}

void CWindowWnd::Show(bool show, bool takeFocus) {
    if (!win::IsWindow(m_hWnd)) return;
    win::ShowWindow(m_hWnd, show ? (takeFocus ? win::SW_SHOWNORMAL : win::SW_SHOWNOACTIVATE) : win::SW_HIDE);
}

void CWindowWnd::Close(uintptr_t value) {
    if (win::IsWindow(m_hWnd)) win::PostMessage(m_hWnd, win::WM_CLOSE, value, 0);
}

void CWindowWnd::RestoreWindowProc() {
    if (!win::IsWindow(m_hWnd) || !m_bSubclassed) return;
    win::SetWindowLongPtr(m_hWnd, win::GWLP_WNDPROC, reinterpret_cast<intptr_t>(m_OldWndProc));
    m_OldWndProc = win::DefWindowProc;
    m_bSubclassed = false;
}

}  // namespace vexlo::framework
