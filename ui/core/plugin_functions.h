#pragma once
// The free functions with which controls and the host act on controls. All of them do
// nothing (and return 0) for a missing control, one that is not in the live-control
// registry, or one whose host window has no window record.
#include <cstdint>

#include "platform/gfx/rect.h"
#include "platform/win/handles.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/window_record.h"

namespace vexlo::ui {

// The window record of the control's host window; none for a dead control or a window
// without record.
WindowRecord* RecordOf(const duPlugin* plugin);

// 1 when the control and every ancestor are visible.
int IsPluginShown(const duPlugin* plugin);
// The control's rectangle intersected with those of all its ancestors.
int GetVisibleRect(const duPlugin* plugin, gfx::Rect* out);
// Calls the script function "<window>_<control>_<event>" and then sends message 1416
// with {code, first, second} to the host window; returns the window's answer.
intptr_t NotifyHost(duPlugin* plugin, int32_t code, int32_t first, int32_t second);
// Delivers an internal control message; 1 when handled.
int DispatchPluginMessage(duPlugin* plugin, uint32_t id, uintptr_t first, intptr_t second);
int SetPluginVisible(duPlugin* plugin, int32_t visible);
int ResizePlugin(duPlugin* plugin);
// OnRedraw first when `callHook`, then an immediate partial repaint.
int RedrawPlugin(duPlugin* plugin, int callHook);
int SetPluginTimer(duPlugin* plugin, uint32_t id, uint32_t intervalMs);
int KillPluginTimer(duPlugin* plugin, uint32_t id);
int SetPluginCapture(duPlugin* plugin);
int ReleasePluginCapture(duPlugin* plugin);
duPlugin* GetCapturePlugin(duPlugin* plugin);
int AddMessageHook(duPlugin* plugin);
int RemoveMessageHook(duPlugin* plugin);
int DeletePlugin(duPlugin* plugin);
duPlugin* FindPlugin(win::Window host, const char16_t* name);
// Moves the keyboard focus, with KillFocus and SetFocus notifications.
void SetFocusPlugin(WindowRecord* record, duPlugin* plugin);
// A copy of `templatePlugin` made from its own skin element, linked in as the parent's
// first child and registered under its names followed by `number`.
duPlugin* ClonePlugin(duPlugin* templatePlugin, duPlugin* parent, WindowRecord* record, int32_t number);
void RegisterClonedTree(WindowRecord* record, duPlugin* plugin, int32_t number);
void ShowTooltip(const char16_t* text, WindowRecord* record);
void HideTooltip(WindowRecord* record);

// The control a notification message (1416) names in its first parameter, when it is
// still a live control; none otherwise.
duPlugin* ResolvePlugin(uintptr_t wParam);

// Every control of the subtree, breadth first, the control itself first.
std::vector<duPlugin*> SubtreeBreadthFirst(duPlugin* plugin);

}  // namespace vexlo::ui

namespace vexlo::ui {

// The real child window of a hosted-window control ("hwndobj", "flash"), answered by the
// family that implements them; none until one is set.
using HostedWindowQuery = win::Window (*)(duPlugin* plugin);
void SetHostedWindowQuery(HostedWindowQuery query);

}  // namespace vexlo::ui
