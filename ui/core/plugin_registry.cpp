#include "ui/core/plugin_registry.h"

#include <unordered_set>

namespace vexlo::ui {
namespace {

std::unordered_set<const duPlugin*>& Live() {
    static std::unordered_set<const duPlugin*> live;
    return live;
}

}  // namespace

bool IsPluginValid(const duPlugin* plugin) { return plugin && Live().count(plugin) != 0; }
void AddLivePlugin(const duPlugin* plugin) {
    if (plugin) Live().insert(plugin);
}
void RemoveLivePlugin(const duPlugin* plugin) { Live().erase(plugin); }
void ClearLivePlugins() { Live().clear(); }
size_t LivePluginCount() { return Live().size(); }

}  // namespace vexlo::ui
