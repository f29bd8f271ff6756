// The screen model (size, work area, metrics, colours) and the clipboard.
#include "platform/win/detail/frame_metrics.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

namespace vexlo::win {

using detail::Current;
using detail::SystemState;

int GetSystemMetrics(int index) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    const ScreenInfo& sc = s->screen;
    switch (index) {
        case SM_CXSCREEN: return sc.size.width;
        case SM_CYSCREEN: return sc.size.height;
        case SM_CXVSCROLL: return 17;
        case SM_CYHSCROLL: return 17;
        case SM_CYCAPTION: return detail::kCaptionHeight;
        case SM_CXBORDER: case SM_CYBORDER: return detail::kBorderWidth;
        case SM_CXDLGFRAME: case SM_CYDLGFRAME: return detail::kDialogFrameWidth;
        case SM_CXICON: case SM_CYICON: return 32;
        case SM_CXCURSOR: case SM_CYCURSOR: return 32;
        // The client area of a maximised captioned window: the work area less a caption.
        case SM_CXFULLSCREEN: return sc.workArea.width();
        case SM_CYFULLSCREEN: return sc.workArea.height() - detail::kCaptionHeight;
        case SM_CXMIN: return 136;
        case SM_CYMIN: return 39;
        case SM_CXFRAME: case SM_CYFRAME: return detail::kSizingFrameWidth;
        case SM_CXMINTRACK: return 136;
        case SM_CYMINTRACK: return 39;
        case SM_CXDOUBLECLK: return s->options.doubleClickWidth;
        case SM_CYDOUBLECLK: return s->options.doubleClickHeight;
        case SM_CXSMICON: case SM_CYSMICON: return 16;
        case SM_CXMAXTRACK: return sc.size.width + 2 * detail::kSizingFrameWidth;
        case SM_CYMAXTRACK: return sc.size.height + 2 * detail::kSizingFrameWidth;
        case SM_CXMAXIMIZED: return sc.workArea.width() + 2 * detail::kSizingFrameWidth;
        case SM_CYMAXIMIZED: return sc.workArea.height() + 2 * detail::kSizingFrameWidth;
        case SM_CMONITORS: return 1;
        default: return 0;
    }
}

bool SystemParametersInfo(uint32_t action, uint32_t /*param*/, void* value, uint32_t /*winIni*/) {
    SystemState* s = Current();
    if (!s || !value) return false;
    std::lock_guard lock(s->mutex);
    switch (action) {
        case SPI_GETWORKAREA:
            *static_cast<gfx::Rect*>(value) = s->screen.workArea;
            return true;
        case SPI_GETMOUSEHOVERTIME:
            *static_cast<uint32_t*>(value) = s->options.hoverTimeMs;
            return true;
        case SPI_GETMOUSEHOVERWIDTH:
            *static_cast<uint32_t*>(value) = static_cast<uint32_t>(s->options.hoverWidth);
            return true;
        case SPI_GETMOUSEHOVERHEIGHT:
            *static_cast<uint32_t*>(value) = static_cast<uint32_t>(s->options.hoverHeight);
            return true;
        default:
            return false;
    }
}

uint32_t GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW: return 0xFFFFFFFF;
        case COLOR_WINDOWTEXT: return 0xFF000000;
        case COLOR_BTNFACE: return 0xFFF0F0F0;
        case COLOR_INFOTEXT: return 0xFF000000;
        case COLOR_INFOBK: return 0xFFFFFFE1;
        default: return 0xFF000000;
    }
}

gfx::Rect GetWorkArea() {
    SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    return s->screen.workArea;
}

bool SetClipboardText(std::u16string_view text) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    return s->backend->SetClipboardText(std::u16string(text));
}

std::optional<std::u16string> GetClipboardText() {
    SystemState* s = Current();
    if (!s) return std::nullopt;
    std::lock_guard lock(s->mutex);
    return s->backend->GetClipboardText();
}

bool IsClipboardTextAvailable() { return GetClipboardText().has_value(); }

}  // namespace vexlo::win
