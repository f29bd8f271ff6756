#pragma once
// A small wrapper that binds a window to an object with virtual message handling: the
// object is the window's creation parameter and lives in its user-data slot (or, for a
// superclass, in the property "WndX") until the window's final message.
#include "platform/win/window_api.h"

#include <cstdint>
#include <string_view>

namespace vexlo::framework {

class CWindowWnd {
public:
    CWindowWnd() = default;
    // An object that goes before its window unbinds itself: the window then gets the
    // default handling.
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    win::Window GetHandle() const { return m_hWnd; }
    operator win::Window() const { return m_hWnd; }

    // Registers the class (an existing one is fine) and creates the window; null when
    // either fails.
    win::Window Create(win::Window parent, std::u16string_view name, uint32_t style, uint32_t exStyle, int x, int y,
                       int cx, int cy, uintptr_t menu = 0);
    void Show(bool show = true, bool takeFocus = true);
    // Posts WM_CLOSE with the value as wParam.
    void Close(uintptr_t value = 0);
    void RestoreWindowProc();

protected:
    virtual std::u16string_view ClassName() const = 0;
    // A class to derive from, or empty for a plain class.
    virtual std::u16string_view SuperclassName() const { return {}; }
    virtual uint32_t ClassStyle() const { return 0; }
    // The default passes the message on to the previous window procedure.
    virtual intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // Inside the window's last message (WM_NCDESTROY), after the object was unbound;
    // the handle dies when that message returns.
    virtual void OnWindowDestroyed(win::Window /*window*/) {}

    bool RegisterWindowClass();
    bool RegisterSuperclass();
    static intptr_t WindowProcedure(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    static intptr_t SuperclassProcedure(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);

    win::Window m_hWnd;
    win::WindowProc m_OldWndProc = win::DefWindowProc;
    bool m_bSubclassed = false;

private:
    static intptr_t Route(CWindowWnd* self, win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam,
                          bool superclass);
};

}  // namespace vexlo::framework
