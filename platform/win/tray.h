#pragma once
// The notification-area icon: add, modify, delete, tip text, and the callback message the
// owner window receives for mouse input on the icon (wParam: the icon's identifier;
// lParam: the mouse message, such as WM_LBUTTONUP or WM_RBUTTONUP).
#include "platform/gfx/rect.h"
#include "platform/win/handles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexlo::win {

inline constexpr uint32_t NIM_ADD = 0;
inline constexpr uint32_t NIM_MODIFY = 1;
inline constexpr uint32_t NIM_DELETE = 2;

inline constexpr uint32_t NIF_MESSAGE = 0x01;
inline constexpr uint32_t NIF_ICON = 0x02;
inline constexpr uint32_t NIF_TIP = 0x04;

// The tip keeps at most this many characters (the record's field holds 128 with its
// terminating zero).
inline constexpr size_t kNotifyTipLength = 127;

// The notification-icon record: which fields count is said by `flags`.
struct NotifyIconData {
    Window window;
    uint32_t id = 0;
    uint32_t flags = 0;
    uint32_t callbackMessage = 0;
    Icon icon;
    std::u16string tip;
};

// False for adding an icon that exists, changing or deleting one that does not, or a
// window that is not a window.
bool ShellNotifyIcon(uint32_t message, const NotifyIconData* data);

struct TrayIconInfo {
    Window window;
    uint32_t id = 0;
    uint32_t callbackMessage = 0;
    Icon icon;
    std::u16string tip;
    gfx::Rect rect;  // where it sits in the task bar, screen coordinates
};

std::vector<TrayIconInfo> GetTrayIcons();
bool GetTrayIconRect(Window window, uint32_t id, gfx::Rect* rect);

}  // namespace vexlo::win
