#pragma once
// The framework's window object: a C++ object bound to one window, whose virtual
// WindowProc sees every message that reaches the framework's window procedure (also
// after another procedure subclassed the window and passes messages on).
#include "platform/gfx/rect.h"
#include "platform/win/window_api.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace vexlo::framework {

// The executable's module handle, as the framework passes it to the window system.
inline constexpr uintptr_t kModuleInstance = 0x00400000;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    win::Window GetSafeHwnd() const { return m_hWnd; }
    // The object bound to a window by the framework, or null.
    static CWnd* FromHandle(win::Window window);

    bool DestroyWindow();
    bool ShowWindow(int command) { return win::ShowWindow(m_hWnd, command); }
    bool SetWindowPos(win::Window insertAfter, int x, int y, int cx, int cy, uint32_t flags) {
        return win::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true) {
        return win::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    bool GetWindowRect(gfx::Rect* rect) const { return win::GetWindowRect(m_hWnd, rect); }
    bool GetClientRect(gfx::Rect* rect) const { return win::GetClientRect(m_hWnd, rect); }
    bool SetForegroundWindow() { return win::SetForegroundWindow(m_hWnd); }
    bool IsWindowVisible() const { return win::IsWindowVisible(m_hWnd); }
    bool IsIconic() const { return win::IsIconic(m_hWnd); }
    bool PostMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
        return win::PostMessage(m_hWnd, message, wParam, lParam);
    }
    intptr_t SendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
        return win::SendMessage(m_hWnd, message, wParam, lParam);
    }
    // Sets the big or small icon; returns the previous one.
    win::Icon SetIcon(win::Icon icon, bool big);

    // Every message of the window; the default sends the usual ones to the hooks below and
    // the rest to DefWindowProc.
    virtual intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // What the window's kind does with a message nobody handled.
    virtual intptr_t DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // The current message, handed to DefWindowProc (what a hook calls to keep the default).
    intptr_t Default();

    // Answers a filtered message before it is translated and dispatched; true eats it.
    virtual bool PreTranslateMessage(win::Msg* msg);

protected:
    // Hooks with their messages' defaults.
    virtual int OnCreate(win::CreateStruct* create);  // -1 fails the creation
    virtual void OnPaint();
    virtual void OnClose();
    virtual void OnDestroy();
    // Unbinds the object; the application's main window posts the quit request (0).
    virtual void OnNcDestroy();
    // The last call an object gets from its window; it may delete itself here.
    virtual void PostNcDestroy() {}

    // Creates a window of a framework class bound to this object.
    bool CreateEx(uint32_t exStyle, std::u16string_view className, std::u16string_view windowName, uint32_t style,
                  const gfx::Rect& rect, CWnd* parent, uintptr_t id);
    // Registers (once) a window class whose procedure is the framework's.
    static bool RegisterFrameworkClass(std::u16string_view name, uint32_t style, std::optional<uint32_t> background,
                                       int windowExtra = 0);

    // The window procedure of every framework class.
    static intptr_t FrameworkWindowProc(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    // The object a window being created on this thread binds to at its first message.
    static void SetCreatingWindow(CWnd* wnd);

    win::Window m_hWnd;

private:
    struct CurrentMessage {
        uint32_t message = 0;
        uintptr_t wParam = 0;
        intptr_t lParam = 0;
    };
    CurrentMessage current_;
};

}  // namespace vexlo::framework
