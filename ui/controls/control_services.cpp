#include "ui/controls/control_services.h"

#include "platform/win/styles.h"
#include "platform/win/window_api.h"
#include "ui/core/font_resource.h"
#include "ui/core/image_resource.h"
#include "ui/core/notification.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/res_manager.h"
#include "ui/core/style_group.h"
#include "ui/core/window_manager.h"
#include "ui/core/window_record.h"

namespace vexlo::ui::controls {
namespace {

duResManager* ResourcesOf(const duPlugin& plugin) {
    WindowRecord* record = RecordOf(&plugin);
    if (!record || !record->windowManager) return nullptr;
    return record->windowManager->GetResManager();
}

duResBase* Resource(const duPlugin& plugin, std::u16string_view name, int kind) {
    if (name.empty()) return nullptr;
    duResManager* resources = ResourcesOf(plugin);
    if (!resources) return nullptr;
    const std::u16string key(name);
    return resources->GetResObj(key.c_str(), kind);
}

}  // namespace

bool IsAlive(const duPlugin* plugin) { return IsPluginValid(plugin); }

bool IsShownWithAncestors(const duPlugin* plugin) { return IsPluginShown(plugin) != 0; }

intptr_t Notify(duPlugin* plugin, int32_t code, int32_t first, int32_t second) {
    return NotifyHost(plugin, code, first, second);
}

void Redraw(duPlugin* plugin, bool callHook) { RedrawPlugin(plugin, callHook ? 1 : 0); }

void InvalidateHostWindow(duPlugin* plugin) {
    if (!RecordOf(plugin)) return;
    win::InvalidateRect(plugin->GetHwnd(), nullptr, false);
}

uint32_t TakeTimerId() { return ui::TakeTimerId(); }

bool StartTimer(duPlugin* plugin, uint32_t id, uint32_t periodMs) { return SetPluginTimer(plugin, id, periodMs) != 0; }

void StopTimer(duPlugin* plugin, uint32_t id) { KillPluginTimer(plugin, id); }

void ShowTip(duPlugin* plugin, std::u16string_view text) {
    WindowRecord* record = RecordOf(plugin);
    if (!record || text.empty()) return;
    const std::u16string copy(text);
    ShowTooltip(copy.c_str(), record);
}

void HideTip(duPlugin* plugin) {
    if (WindowRecord* record = RecordOf(plugin)) HideTooltip(record);
}

bool HasTip(duPlugin* plugin) {
    WindowRecord* record = RecordOf(plugin);
    return record && win::IsWindow(record->tooltip);
}

duStyleGroup* StyleGroupOf(const duPlugin& plugin) {
    return static_cast<duStyleGroup*>(Resource(plugin, plugin.GetStyle(), kResStyleGroup));
}

duImage* ImageNamed(const duPlugin& plugin, std::u16string_view name) {
    return static_cast<duImage*>(Resource(plugin, name, kResImage));
}

duFont* FontNamed(const duPlugin& plugin, std::u16string_view name) {
    return static_cast<duFont*>(Resource(plugin, name, kResFont));
}

duPlugin* FindInWindow(const duPlugin& plugin, std::u16string_view name) {
    if (name.empty() || !RecordOf(&plugin)) return nullptr;
    const std::u16string key(name);
    return FindPlugin(plugin.GetHwnd(), key.c_str());
}

void ShowPlugin(duPlugin* plugin, bool visible) { SetPluginVisible(plugin, visible ? 1 : 0); }

void ResizeAndTellParent(duPlugin* plugin) { ResizePlugin(plugin); }

bool AddHook(duPlugin* plugin) { return AddMessageHook(plugin) != 0; }

void RemoveHook(duPlugin* plugin) { RemoveMessageHook(plugin); }

void UseArrowCursor() { win::SetCursor(win::LoadCursor(0, win::IDC_ARROW)); }

}  // namespace vexlo::ui::controls
