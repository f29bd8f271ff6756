#pragma once
// The non-client frame the system draws around a client area, by style.
#include "platform/gfx/rect.h"
#include "platform/win/styles.h"

namespace vexlo::win::detail {

inline constexpr int kBorderWidth = 1;      // SM_CXBORDER
inline constexpr int kDialogFrameWidth = 3; // SM_CXDLGFRAME
inline constexpr int kSizingFrameWidth = 4; // SM_CXFRAME
inline constexpr int kCaptionHeight = 23;   // SM_CYCAPTION

// How far the client area lies inside the window on each side.
inline gfx::Rect FrameInsets(uint32_t style, uint32_t exStyle) {
    int edge = 0;
    if (style & WS_THICKFRAME) {
        edge = kSizingFrameWidth;
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        edge = kDialogFrameWidth;
    } else if (style & WS_BORDER) {
        edge = kBorderWidth;
    }
    if (exStyle & WS_EX_CLIENTEDGE) edge += 2;
    if (exStyle & WS_EX_STATICEDGE) edge += 1;
    gfx::Rect insets{edge, edge, edge, edge};
    if ((style & WS_CAPTION) == WS_CAPTION) insets.top += kCaptionHeight;
    return insets;
}

}  // namespace vexlo::win::detail
