#pragma once
// The tooltip window ("tooltips_class32"): a topmost popup that shows a small framed box
// with the text of a tool. Tools are registered with TTM_ADDTOOL; in the normal mode
// the window shows a tip by itself once the relayed mouse input (TTM_RELAYEVENT) rests
// over a tool for the initial delay; in the tracking mode (TTF_TRACK) the owner places
// and shows it with TTM_TRACKPOSITION and TTM_TRACKACTIVATE.
#include "platform/gfx/rect.h"
#include "platform/win/handles.h"
#include "platform/win/messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::win {

inline constexpr char16_t TOOLTIPS_CLASS[] = u"tooltips_class32";

// Tooltip messages; wParam and lParam as noted. A ToolInfo is passed by pointer.
inline constexpr uint32_t TTM_ACTIVATE = WM_USER + 1;         // wParam: on or off
inline constexpr uint32_t TTM_SETDELAYTIME = WM_USER + 3;     // wParam: TTDT_*; lParam: ms (-1: default)
inline constexpr uint32_t TTM_RELAYEVENT = WM_USER + 7;       // lParam: const Msg*
inline constexpr uint32_t TTM_GETTOOLCOUNT = WM_USER + 13;
inline constexpr uint32_t TTM_TRACKACTIVATE = WM_USER + 17;   // wParam: on or off; lParam: ToolInfo*
inline constexpr uint32_t TTM_TRACKPOSITION = WM_USER + 18;   // lParam: MakeLParam(x, y), screen
inline constexpr uint32_t TTM_SETMAXTIPWIDTH = WM_USER + 24;  // lParam: pixels (-1: no wrapping)
inline constexpr uint32_t TTM_POP = WM_USER + 28;
inline constexpr uint32_t TTM_POPUP = WM_USER + 34;
inline constexpr uint32_t TTM_ADDTOOL = WM_USER + 50;         // lParam: const ToolInfo*
inline constexpr uint32_t TTM_DELTOOL = WM_USER + 51;         // lParam: const ToolInfo* (window, id)
inline constexpr uint32_t TTM_NEWTOOLRECT = WM_USER + 52;     // lParam: const ToolInfo* (window, id, rect)
inline constexpr uint32_t TTM_GETTOOLINFO = WM_USER + 53;     // lParam: ToolInfo* (window, id in; rest out)
inline constexpr uint32_t TTM_SETTOOLINFO = WM_USER + 54;
inline constexpr uint32_t TTM_UPDATETIPTEXT = WM_USER + 57;   // lParam: const ToolInfo* (window, id, text)

inline constexpr uint32_t TTF_IDISHWND = 0x0001;  // the id is the tool's window
inline constexpr uint32_t TTF_CENTERTIP = 0x0002;
inline constexpr uint32_t TTF_SUBCLASS = 0x0010;
inline constexpr uint32_t TTF_TRACK = 0x0020;
inline constexpr uint32_t TTF_ABSOLUTE = 0x0080;
inline constexpr uint32_t TTF_TRANSPARENT = 0x0100;

inline constexpr uintptr_t TTDT_AUTOMATIC = 0;
inline constexpr uintptr_t TTDT_RESHOW = 1;
inline constexpr uintptr_t TTDT_AUTOPOP = 2;
inline constexpr uintptr_t TTDT_INITIAL = 3;

// The tool description (TOOLINFO). rect is in the tool window's client coordinates.
struct ToolInfo {
    uint32_t flags = 0;
    Window window;
    uintptr_t id = 0;
    gfx::Rect rect;
    std::u16string text;
    intptr_t lParam = 0;
};

// What a tooltip window holds and shows, for tests.
struct TooltipState {
    bool active = true;
    bool tracking = false;
    bool visible = false;
    std::u16string text;  // the text shown, when visible
    gfx::Rect rect;       // where the box is, screen coordinates, when visible
    gfx::Point trackPosition;
    std::vector<ToolInfo> tools;
};

std::optional<TooltipState> GetTooltipState(Window tooltip);

}  // namespace vexlo::win
