#pragma once
// The tray icon's one-item menu: a plain window the UI library draws as the skin window
// "traymenu_window". It closes when it loses the focus; its "退出" item ends the updater.
#include "platform/framework/window_wnd.h"
#include "ui/core/window_manager.h"

namespace vexlo::app {

class TrayMenuWnd : public framework::CWindowWnd {
public:
    explicit TrayMenuWnd(ui::duWindowManager* windowManager) : windowManager_(windowManager) {}

    // At the cursor, pushed left at the screen's right edge and opened above the cursor
    // near its bottom edge; topmost, shown and activated.
    void ShowAtCursor();

protected:
    std::u16string_view ClassName() const override { return u"TrayMenuWnd"; }
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void OnWindowDestroyed(win::Window window) override;

private:
    // Ends the updater: the update window goes first, which takes the tray icon with it.
    void EndUpdater();

    ui::duWindowManager* windowManager_;
};

// Where the menu goes for a cursor position, the full-screen client size and its own size.
gfx::Point TrayMenuPosition(gfx::Point cursor, int screenWidth, int screenHeight, int width, int height);

}  // namespace vexlo::app
