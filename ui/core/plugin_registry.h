#pragma once
// The live-control registry: every existing control, checked before an operation uses a
// control it was handed or kept, so events for deleted controls are dropped.
#include <cstddef>

namespace vexlo::ui {

class duPlugin;

bool IsPluginValid(const duPlugin* plugin);
void AddLivePlugin(const duPlugin* plugin);
void RemoveLivePlugin(const duPlugin* plugin);
void ClearLivePlugins();
size_t LivePluginCount();

}  // namespace vexlo::ui
