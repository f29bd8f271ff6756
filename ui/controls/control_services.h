#pragma once
// What the controls of this folder ask of the control base and the window they live in,
// gathered in one place: notifications, repaints, timers, tooltips, resources by name,
// controls by name, visibility, message hooks. Every call does nothing (or answers none
// or 0) for a control that is no longer alive or whose window has no skin record.
#include <cstdint>
#include <string_view>

#include "platform/gfx/rect.h"

namespace vexlo::ui {
class duPlugin;
class duStyleGroup;
class duImage;
class duFont;
}  // namespace vexlo::ui

namespace vexlo::ui::controls {

bool IsAlive(const duPlugin* plugin);
// The control and all its ancestors are visible.
bool IsShownWithAncestors(const duPlugin* plugin);
// Sends the notification to the host window (after the skin's script) and returns its answer.
intptr_t Notify(duPlugin* plugin, int32_t code, int32_t first, int32_t second);
// Repaints now; `callHook` runs the control's OnRedraw first.
void Redraw(duPlugin* plugin, bool callHook);
// Invalidates the whole host window.
void InvalidateHostWindow(duPlugin* plugin);
// The next identifier of the library-wide timer counter.
uint32_t TakeTimerId();
bool StartTimer(duPlugin* plugin, uint32_t id, uint32_t periodMs);
void StopTimer(duPlugin* plugin, uint32_t id);
void ShowTip(duPlugin* plugin, std::u16string_view text);
void HideTip(duPlugin* plugin);
// Whether the host window has a tooltip window.
bool HasTip(duPlugin* plugin);

duStyleGroup* StyleGroupOf(const duPlugin& plugin);
duImage* ImageNamed(const duPlugin& plugin, std::u16string_view name);
duFont* FontNamed(const duPlugin& plugin, std::u16string_view name);
// The control of the same window registered under the name.
duPlugin* FindInWindow(const duPlugin& plugin, std::u16string_view name);

// Shows or hides with the base's notifications (parent, script and host).
void ShowPlugin(duPlugin* plugin, bool visible);
// Lays the control out again and tells its parent when the rectangle changed.
void ResizeAndTellParent(duPlugin* plugin);
bool AddHook(duPlugin* plugin);
void RemoveHook(duPlugin* plugin);
// The arrow cursor (the control's own cursor comes from the base's OnSetCursor).
void UseArrowCursor();

}  // namespace vexlo::ui::controls
