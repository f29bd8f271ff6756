#include "ui/core/plugin_registry.h"

#include <unordered_map>
#include <utility>
#include <vector>

#include "ui/core/plugin.h"

namespace vexlo::ui {
namespace {

// Address to serial: the serial is what makes a stale reference fail after reuse.
// Never destroyed: a control freed during the process's exit still finds the registry.
std::unordered_map<const duPlugin*, uint64_t>& Live() {
    static auto* live = new std::unordered_map<const duPlugin*, uint64_t>();
    return *live;
}

struct DeferredList {
    int depth = 0;
    std::vector<std::pair<void (*)(void*), void*>> pending;
};

DeferredList& Deferred() {
    static auto* list = new DeferredList();
    return *list;
}

}  // namespace

bool IsPluginValid(const duPlugin* plugin) { return plugin && Live().count(plugin) != 0; }

void AddLivePlugin(const duPlugin* plugin) {
    if (plugin) Live()[plugin] = plugin->serial();
}

void RemoveLivePlugin(const duPlugin* plugin) {
    auto it = Live().find(plugin);
    if (it != Live().end() && it->second == plugin->serial()) Live().erase(it);
}
void ClearLivePlugins() { Live().clear(); }
size_t LivePluginCount() { return Live().size(); }

uint64_t NextPluginSerial() {
    static uint64_t next = 0;
    return ++next;
}

PluginRef::PluginRef(duPlugin* plugin) {
    if (plugin) {
        plugin_ = plugin;
        serial_ = plugin->serial();
    }
}

duPlugin* PluginRef::get() const {
    if (!plugin_) return nullptr;
    auto it = Live().find(plugin_);
    return it != Live().end() && it->second == serial_ ? plugin_ : nullptr;
}

bool InLibraryDispatch() { return Deferred().depth > 0; }

DispatchScope::DispatchScope() { ++Deferred().depth; }

DispatchScope::~DispatchScope() {
    DeferredList& d = Deferred();
    if (d.depth == 1) {
        // Destructions may defer more (a deleted window destroying its controls); the
        // depth stays up until the list is empty so they all run here.
        while (!d.pending.empty()) {
            auto batch = std::move(d.pending);
            d.pending.clear();
            for (auto& [destroy, object] : batch) destroy(object);
        }
    }
    --d.depth;
}

void DeferDestruction(void (*destroy)(void*), void* object) {
    if (!destroy) return;
    if (Deferred().depth > 0) Deferred().pending.emplace_back(destroy, object);
    else destroy(object);
}

}  // namespace vexlo::ui
