#pragma once
// The control that sent a UI notification (message 1416): wParam carries its address,
// which is used only after the live-control registry confirms it.
#include <cstdint>

#include "ui/core/plugin.h"
#include "ui/core/plugin_registry.h"

namespace vexlo::app {

inline ui::duPlugin* NotifyingControl(uintptr_t wParam) {
    auto* plugin = reinterpret_cast<ui::duPlugin*>(wParam);
    return ui::IsPluginValid(plugin) ? plugin : nullptr;
}

}  // namespace vexlo::app
