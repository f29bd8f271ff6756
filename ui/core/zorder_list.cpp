#include "ui/core/zorder_list.h"

#include <algorithm>

#include "ui/core/plugin.h"

namespace vexlo::ui {

duZorderList::duZorderList(duPlugin* root) {
    if (!root || !root->TypeIs(u"duwindow")) return;
    root_ = root;
    std::vector<duPlugin*> order{root};
    for (size_t i = 0; i < order.size(); ++i) {
        for (duPlugin* c = order[i]->GetFirstChild(); c; c = c->GetNextSibling()) order.push_back(c);
    }
    for (duPlugin* p : order) AddToLayer(this, p);
}

std::vector<duPlugin*> duZorderList::FrontToBack() const {
    std::vector<duPlugin*> out;
    for (const ZorderLayer& layer : layers_) out.insert(out.end(), layer.controls.rbegin(), layer.controls.rend());
    return out;
}

bool duZorderList::Contains(const duPlugin* plugin) const {
    for (const ZorderLayer& layer : layers_) {
        if (std::find(layer.controls.begin(), layer.controls.end(), plugin) != layer.controls.end()) return true;
    }
    return false;
}

void AddToLayer(duZorderList* list, duPlugin* plugin) {
    if (!list || !plugin) return;
    const int32_t z = plugin->GetZorder();
    auto& layers = list->layers();
    auto it = layers.begin();
    for (; it != layers.end(); ++it) {
        if (it->zorder == z) {
            it->controls.push_back(plugin);
            return;
        }
        if (ZorderInFront(z, it->zorder)) break;
    }
    layers.insert(it, ZorderLayer{z, {plugin}});
}

int RemoveFromLayer(duPlugin* plugin, duZorderList* list) {
    if (!list || !plugin) return 0;
    auto& layers = list->layers();
    auto take = [&](auto it) {
        auto found = std::find(it->controls.begin(), it->controls.end(), plugin);
        if (found == it->controls.end()) return false;
        it->controls.erase(found);
        if (it->controls.empty()) layers.erase(it);
        return true;
    };
    for (auto it = layers.begin(); it != layers.end(); ++it) {
        if (it->zorder == plugin->GetZorder()) {
            if (take(it)) return 1;
            break;
        }
    }
    // A control whose z-order changed after it was placed sits in its old layer; leaving
    // it there would keep a freed control in the list.
    for (auto it = layers.begin(); it != layers.end(); ++it) {
        if (take(it)) return 1;
    }
    return 0;
}

}  // namespace vexlo::ui
