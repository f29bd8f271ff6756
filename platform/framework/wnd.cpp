#include "platform/framework/wnd.h"

#include "platform/framework/win_app.h"

namespace vexlo::framework {
namespace {

constexpr char16_t kObjectProperty[] = u"VexloFrameworkWnd";
thread_local CWnd* t_creating = nullptr;

}  // namespace

CWnd::~CWnd() {
    // An object that dies before its window leaves the window without a binding.
    if (m_hWnd && FromHandle(m_hWnd) == this) win::RemoveProp(m_hWnd, kObjectProperty);
    if (CWinApp* app = CWinApp::Current(); app && app->MainWindow() == this) app->SetMainWindow(nullptr);
}

CWnd* CWnd::FromHandle(win::Window window) {
    return reinterpret_cast<CWnd*>(win::GetProp(window, kObjectProperty));
}

void CWnd::SetCreatingWindow(CWnd* wnd) { t_creating = wnd; }

bool CWnd::DestroyWindow() { return m_hWnd && win::DestroyWindow(m_hWnd); }

win::Icon CWnd::SetIcon(win::Icon icon, bool big) {
    return win::Icon::FromValue(static_cast<uintptr_t>(
        SendMessage(win::WM_SETICON, big ? win::ICON_BIG : win::ICON_SMALL, static_cast<intptr_t>(icon.value()))));
}

intptr_t CWnd::FrameworkWindowProc(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    CWnd* wnd = FromHandle(window);
    if (!wnd && t_creating) {
        wnd = t_creating;
        t_creating = nullptr;
        wnd->m_hWnd = window;
        win::SetProp(window, kObjectProperty, reinterpret_cast<intptr_t>(wnd));
    }
    if (!wnd) return win::DefWindowProc(window, message, wParam, lParam);
    return wnd->WindowProc(message, wParam, lParam);
}

intptr_t CWnd::WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const CurrentMessage saved = current_;
    current_ = {message, wParam, lParam};
    intptr_t result = 0;
    switch (message) {
        case win::WM_CREATE:
            result = OnCreate(reinterpret_cast<win::CreateStruct*>(lParam));
            break;
        case win::WM_PAINT:
            OnPaint();
            break;
        case win::WM_CLOSE:
            OnClose();
            break;
        case win::WM_DESTROY:
            OnDestroy();
            break;
        case win::WM_NCDESTROY:
            OnNcDestroy();
            return 0;  // the object may be gone
        default:
            result = DefWindowProc(message, wParam, lParam);
            break;
    }
    current_ = saved;
    return result;
}

intptr_t CWnd::DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return win::DefWindowProc(m_hWnd, message, wParam, lParam);
}

intptr_t CWnd::Default() { return DefWindowProc(current_.message, current_.wParam, current_.lParam); }

bool CWnd::PreTranslateMessage(win::Msg* /*msg*/) { return false; }

int CWnd::OnCreate(win::CreateStruct* /*create*/) { return static_cast<int>(Default()); }

void CWnd::OnPaint() { Default(); }

void CWnd::OnClose() { Default(); }

void CWnd::OnDestroy() { Default(); }

void CWnd::OnNcDestroy() {
    const win::Window window = m_hWnd;
    Default();
    if (CWinApp* app = CWinApp::Current(); app && app->MainWindow() == this) {
        // The main window's end is the application's end.
        app->SetMainWindow(nullptr);
        win::PostQuitMessage(0);
    }
    win::RemoveProp(window, kObjectProperty);
    m_hWnd = win::Window{};
    PostNcDestroy();
}

bool CWnd::RegisterFrameworkClass(std::u16string_view name, uint32_t style, std::optional<uint32_t> background,
                                  int windowExtra) {
    win::WindowClass c;
    c.name = std::u16string(name);
    c.style = style;
    c.proc = &CWnd::FrameworkWindowProc;
    c.instance = kModuleInstance;
    c.cursor = win::LoadCursor(0, win::IDC_ARROW);
    c.background = background;
    c.windowExtra = windowExtra;
    return win::RegisterClass(c) != 0 || win::GetLastError() == win::ERROR_CLASS_ALREADY_EXISTS;
}

bool CWnd::CreateEx(uint32_t exStyle, std::u16string_view className, std::u16string_view windowName, uint32_t style,
                    const gfx::Rect& rect, CWnd* parent, uintptr_t id) {
    SetCreatingWindow(this);
    const win::Window w = win::CreateWindowEx(exStyle, className, windowName, style, rect.left, rect.top, rect.width(),
                                              rect.height(), parent ? parent->GetSafeHwnd() : win::Window{}, id,
                                              kModuleInstance, nullptr);
    SetCreatingWindow(nullptr);
    return static_cast<bool>(w) && m_hWnd == w;
}

}  // namespace vexlo::framework
