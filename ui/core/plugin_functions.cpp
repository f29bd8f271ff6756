#include "ui/core/plugin_functions.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/com/variant.h"
#include "platform/win/tooltip.h"
#include "platform/win/window_api.h"
#include "ui/core/notification.h"
#include "ui/core/painting.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_tree.h"
#include "ui/core/window_manager.h"

namespace vexlo::ui {
namespace {

HostedWindowQuery& HostedQuery() {
    static HostedWindowQuery query = nullptr;
    return query;
}

bool Live(WindowRecord* record) { return record && !record->destroyed; }

int32_t LowWordSigned(uintptr_t v) { return static_cast<int16_t>(v & 0xFFFF); }
int32_t HighWordSigned(uintptr_t v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }
uint32_t LowWord(uintptr_t v) { return static_cast<uint32_t>(v & 0xFFFF); }
uint32_t HighWord(uintptr_t v) { return static_cast<uint32_t>((v >> 16) & 0xFFFF); }

void DeletePluginLater(void* plugin) { static_cast<duPlugin*>(plugin)->Delete(); }

void Unlink(duPlugin* p) {
    duPlugin* parent = p->GetParent();
    duPlugin* prev = p->GetPreSibling();
    duPlugin* next = p->GetNextSibling();
    if (prev) prev->SetNextSibling(next);
    if (next) next->SetPreSibling(prev);
    if (parent) {
        if (parent->GetFirstChild() == p) parent->SetFirstChild(next);
        if (parent->GetLastChild() == p) parent->SetLastChild(prev);
    }
    p->SetParent(nullptr);
    p->SetPreSibling(nullptr);
    p->SetNextSibling(nullptr);
}

void MouseLeaveAtCorner(duPlugin* p) {
    gfx::Rect r;
    p->GetRect(&r);
    p->OnMouseLeave(r.left - 1, r.top - 1);
}

}  // namespace

void SetHostedWindowQuery(HostedWindowQuery query) { HostedQuery() = query; }

WindowRecord* RecordOf(const duPlugin* plugin) {
    if (!IsPluginValid(plugin)) return nullptr;
    return GetWindowRecord(plugin->GetHwnd());
}

duPlugin* ResolvePlugin(uintptr_t wParam) {
    auto* plugin = reinterpret_cast<duPlugin*>(wParam);
    return IsPluginValid(plugin) ? plugin : nullptr;
}

std::vector<duPlugin*> SubtreeBreadthFirst(duPlugin* plugin) {
    std::vector<duPlugin*> order;
    if (!plugin) return order;
    order.push_back(plugin);
    for (size_t i = 0; i < order.size(); ++i) {
        for (duPlugin* c = order[i]->GetFirstChild(); c; c = c->GetNextSibling()) order.push_back(c);
    }
    return order;
}

int IsPluginShown(const duPlugin* plugin) {
    if (!IsPluginValid(plugin)) return 0;
    for (const duPlugin* p = plugin; p; p = p->GetParent()) {
        if (!p->IsVisible()) return 0;
    }
    return 1;
}

int GetVisibleRect(const duPlugin* plugin, gfx::Rect* out) {
    if (!out) return 0;
    *out = {};
    if (!IsPluginValid(plugin)) return 0;
    gfx::Rect r;
    plugin->GetRect(&r);
    for (const duPlugin* p = plugin->GetParent(); p; p = p->GetParent()) {
        gfx::Rect pr;
        p->GetRect(&pr);
        r = r.Intersect(pr);
    }
    *out = r;
    return 1;
}

intptr_t NotifyHost(duPlugin* plugin, int32_t code, int32_t first, int32_t second) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    DispatchScope scope;
    PluginRef self(plugin);
    duPlugin* root = record->root();
    const NotifyEvent event = NotifyEventOf(code);
    if (event.name && IsPluginValid(root) && record->windowManager) {
        std::u16string name = root->GetName();
        name += u'_';
        name += plugin->GetName();
        name += u'_';
        name += event.name;
        auto arg = [](ScriptArgKind kind, int32_t value) {
            switch (kind) {
                case ScriptArgKind::kInteger: return com::Variant::Int(value);
                case ScriptArgKind::kObject:
                    // A 32-bit parameter cannot carry an object's address on this target:
                    // the script gets a null object of the right type, never a forged one.
                    return com::Variant::Object(static_cast<com::IDispatch*>(nullptr));
                case ScriptArgKind::kNone: break;
            }
            return com::Variant();
        };
        // Automation order: the last element is the first argument.
        com::Variant args[3] = {arg(event.second, second), arg(event.first, first),
                                com::Variant::Object(static_cast<com::IDispatch*>(plugin))};
        record->windowManager->CallScriptFunction(name.c_str(), 3, args);
    }
    // The script may have deleted the control or closed its window.
    if (!self.alive() || !Live(record)) return 0;
    NotificationRecord note{code, first, second};
    return win::SendMessage(plugin->GetHwnd(), kNotifyMessage, reinterpret_cast<uintptr_t>(plugin),
                            reinterpret_cast<intptr_t>(&note));
}

int DispatchPluginMessage(duPlugin* plugin, uint32_t id, uintptr_t first, intptr_t second) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    DispatchScope scope;
    PluginRef self(plugin);
    const auto x = LowWordSigned(static_cast<uintptr_t>(second));
    const auto y = HighWordSigned(static_cast<uintptr_t>(second));
    auto notifyIfAlive = [&](int32_t code, int32_t a, int32_t b) {
        if (self.alive()) NotifyHost(plugin, code, a, b);
    };
    const bool mouse = id >= kPluginMouseMove && id <= kPluginMouseWheel;
    if (mouse && plugin->IsDisable()) return 0;
    switch (id) {
        case kPluginChildResize: plugin->OnChildResize(reinterpret_cast<duPlugin*>(first)); return 1;
        case kPluginChildShow:
            plugin->OnChildShow(reinterpret_cast<duPlugin*>(first), static_cast<int32_t>(second));
            return 1;
        case kPluginMouseMove: plugin->OnMouseMove(x, y); return 1;
        case kPluginMouseIn:
            plugin->OnMouseIn(x, y);
            notifyIfAlive(kNotifyMouseIn, x, y);
            return 1;
        case kPluginMouseLeave:
            plugin->OnMouseLeave(x, y);
            notifyIfAlive(kNotifyMouseLeave, 0, 0);
            return 1;
        case kPluginMouseLDown:
            plugin->OnMouseLDown(x, y);
            notifyIfAlive(kNotifyMouseLDown, x, y);
            return 1;
        case kPluginMouseLUp:
            plugin->OnMouseLUp(x, y);
            notifyIfAlive(kNotifyMouseLUp, x, y);
            return 1;
        case kPluginMouseRDown:
            plugin->OnMouseRDown(x, y);
            notifyIfAlive(kNotifyMouseRDown, x, y);
            return 1;
        case kPluginMouseRUp:
            plugin->OnMouseRUp(x, y);
            notifyIfAlive(kNotifyMouseRUp, x, y);
            return 1;
        case kPluginMouseHover:
            plugin->OnMouseHover(x, y);
            notifyIfAlive(kNotifyMouseHover, x, y);
            return 1;
        case kPluginMouseDbClick:
            plugin->OnMouseDbClick(x, y);
            notifyIfAlive(kNotifyMouseDbClick, x, y);
            return 1;
        case kPluginMouseWheel:
            plugin->OnMouseWheel(LowWord(first), HighWordSigned(first), x, y);
            return 1;
        case kPluginTimer: plugin->OnTimer(static_cast<uint32_t>(first)); return 1;
        case kPluginKillFocus:
            plugin->SetFocus(0);
            notifyIfAlive(kNotifyKillFocus, 0, 0);
            if (self.alive()) plugin->OnKillFocus(reinterpret_cast<duPlugin*>(first));
            if (self.alive()) RedrawPlugin(plugin, 1);
            return 1;
        case kPluginSetFocus:
            plugin->SetFocus(1);
            notifyIfAlive(kNotifySetFocus, 0, 0);
            if (self.alive()) plugin->OnSetFocus(reinterpret_cast<duPlugin*>(first));
            if (self.alive()) RedrawPlugin(plugin, 1);
            return 1;
        case kPluginPaint: {
            auto* dc = reinterpret_cast<gfx::DrawContext*>(first);
            auto* clip = reinterpret_cast<const gfx::Rect*>(second);
            if (!dc || !clip) return 0;
            PaintPlugin(*clip, *dc, plugin);
            return 1;
        }
        case kPluginKeyDown:
        case kPluginKeyUp: {
            if (plugin->IsDisable()) return 0;
            const auto key = static_cast<uint32_t>(first);
            const auto repeat = LowWord(static_cast<uintptr_t>(second));
            const auto flags = HighWord(static_cast<uintptr_t>(second));
            if (id == kPluginKeyDown) plugin->OnKeyDown(key, repeat, flags);
            else plugin->OnKeyUp(key, repeat, flags);
            return 1;
        }
        default: return 0;
    }
}

int SetPluginVisible(duPlugin* plugin, int32_t visible) {
    WindowRecord* record = RecordOf(plugin);
    if (!record || visible == plugin->IsVisible()) return 0;
    DispatchScope scope;
    PluginRef self(plugin);
    plugin->SetVisible(visible);

    if (HostedWindowQuery query = HostedQuery()) {
        for (duPlugin* c : SubtreeBreadthFirst(plugin)) {
            if (!c->TypeIs(u"hwndobj") && !c->TypeIs(u"flash")) continue;
            win::Window child = query(c);
            if (win::IsWindow(child)) win::ShowWindow(child, IsPluginShown(c) ? win::SW_SHOW : win::SW_HIDE);
        }
    }

    if (duPlugin* parent = plugin->GetParent()) {
        DispatchPluginMessage(parent, kPluginChildShow, reinterpret_cast<uintptr_t>(plugin), visible);
    }
    if (self.alive()) NotifyHost(plugin, kNotifyShowControl, visible, 0);
    if (!Live(record)) return 1;

    duPlugin* focus = record->focus.get();
    if (focus && !IsPluginShown(focus)) {
        focus->SetFocus(0);
        record->focus.reset();
        MouseLeaveAtCorner(focus);
    }
    if (!Live(record)) return 1;
    if (duPlugin* hover = record->hover.get(); hover && !IsPluginShown(hover)) {
        record->hover.reset();
        if (hover != focus) MouseLeaveAtCorner(hover);
    }
    if (!Live(record)) return 1;
    if (duPlugin* capture = record->capture.get(); capture && !IsPluginShown(capture)) {
        ReleasePluginCapture(capture);
    }
    return 1;
}

int ResizePlugin(duPlugin* plugin) {
    if (!RecordOf(plugin)) return 0;
    gfx::Rect before, after;
    plugin->GetRect(&before);
    plugin->Resize(nullptr);
    plugin->GetRect(&after);
    if (before != after) {
        if (duPlugin* parent = plugin->GetParent()) {
            DispatchPluginMessage(parent, kPluginChildResize, reinterpret_cast<uintptr_t>(plugin), 0);
        }
    }
    return 1;
}

int RedrawPlugin(duPlugin* plugin, int callHook) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    DispatchScope scope;
    PluginRef self(plugin);
    if (callHook) plugin->OnRedraw();
    if (!self.alive() || !Live(record)) return 0;
    RepaintPlugin(record, plugin);
    return 1;
}

int SetPluginTimer(duPlugin* plugin, uint32_t id, uint32_t intervalMs) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    auto it = record->timers.find(id);
    // A timer left behind by a deleted control does not hold its identifier.
    if (it != record->timers.end() && it->second.alive()) return 0;
    if (!win::SetTimer(record->hostWindow, id, intervalMs)) return 0;
    record->timers[id] = PluginRef(plugin);
    return 1;
}

int KillPluginTimer(duPlugin* plugin, uint32_t id) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    auto it = record->timers.find(id);
    if (it == record->timers.end()) return 0;
    win::KillTimer(record->hostWindow, id);
    record->timers.erase(it);
    return 1;
}

int SetPluginCapture(duPlugin* plugin) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    win::SetCapture(record->hostWindow);
    if (!Live(record)) return 0;
    duPlugin* previous = record->capture.get();
    record->capture = PluginRef(plugin);
    if (previous) previous->OnCaptureChanged(plugin);
    return 1;
}

int ReleasePluginCapture(duPlugin* plugin) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    duPlugin* current = record->capture.get();
    // Cleared before the calls out, so a handler that captures again keeps its capture.
    record->capture.reset();
    if (win::GetCapture() == record->hostWindow) win::ReleaseCapture();
    if (current && Live(record)) current->OnCaptureChanged(nullptr);
    return 1;
}

duPlugin* GetCapturePlugin(duPlugin* plugin) {
    WindowRecord* record = RecordOf(plugin);
    return record ? record->capture.get() : nullptr;
}

int AddMessageHook(duPlugin* plugin) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    for (const PluginRef& h : record->hooks) {
        if (h.Is(plugin)) return 0;
    }
    std::erase_if(record->hooks, [](const PluginRef& h) { return !h.alive(); });
    record->hooks.emplace_back(plugin);
    return 1;
}

int RemoveMessageHook(duPlugin* plugin) {
    WindowRecord* record = RecordOf(plugin);
    if (!record) return 0;
    return static_cast<int>(std::erase_if(record->hooks, [plugin](const PluginRef& h) { return h.Is(plugin); }));
}

int DeletePlugin(duPlugin* plugin) {
    WindowRecord* record = RecordOf(plugin);
    if (!record || plugin == record->root()) return 0;
    DispatchScope scope;  // the controls are freed once no handler above can still use them
    std::vector<PluginRef> subtree;
    for (duPlugin* c : SubtreeBreadthFirst(plugin)) subtree.emplace_back(c);
    for (const PluginRef& ref : subtree) {
        duPlugin* c = ref.get();
        if (!c) continue;
        if (duPlugin* parent = c->GetParent(); IsPluginValid(parent)) parent->OnChildDelete(c);
    }
    if (!IsPluginValid(plugin) || !Live(record)) return 0;
    Unlink(plugin);
    for (const PluginRef& ref : subtree) {
        duPlugin* c = ref.get();
        if (!c) continue;
        if (record->focus.Is(c)) record->focus.reset();
        if (record->hover.Is(c)) record->hover.reset();
        if (record->capture.Is(c)) {
            record->capture.reset();
            if (win::GetCapture() == record->hostWindow) win::ReleaseCapture();
            c->OnCaptureChanged(nullptr);
            if (!ref.alive()) continue;
        }
        RemoveFromLayer(c, record->zorder.get());
        std::erase_if(record->names, [c](const auto& entry) { return entry.second == c; });
        std::erase_if(record->hooks, [c](const PluginRef& h) { return h.Is(c); });
        RemoveLivePlugin(c);
        DeferDestruction(&DeletePluginLater, c);
    }
    return 1;
}

duPlugin* FindPlugin(win::Window host, const char16_t* name) {
    if (!name) return nullptr;
    WindowRecord* record = GetWindowRecord(host);
    if (!record) return nullptr;
    auto it = record->names.find(std::u16string_view(name));
    return it != record->names.end() && IsPluginValid(it->second) ? it->second : nullptr;
}

void SetFocusPlugin(WindowRecord* record, duPlugin* plugin) {
    if (!Live(record) || !IsPluginValid(plugin) || plugin->IsDisable() || record->focus.Is(plugin)) return;
    DispatchScope scope;
    PluginRef target(plugin);
    duPlugin* old = record->focus.get();
    PluginRef oldRef(old);
    if (old) {
        old->SetFocus(0);
        NotifyHost(old, kNotifyKillFocus, 0, 0);
        if (oldRef.alive() && Live(record)) old->OnKillFocus(plugin);
        if (oldRef.alive() && Live(record)) RedrawPlugin(old, 1);
    }
    if (!Live(record)) return;
    if (target.alive()) {
        plugin->SetFocus(1);
        NotifyHost(plugin, kNotifySetFocus, 0, 0);
        if (target.alive() && Live(record)) plugin->OnSetFocus(oldRef.get());
        if (target.alive() && Live(record)) RedrawPlugin(plugin, 1);
    }
    if (!Live(record)) return;
    record->focus = target.alive() ? target : PluginRef(record->root());
}

duPlugin* ClonePlugin(duPlugin* templatePlugin, duPlugin* parent, WindowRecord* record, int32_t number) {
    if (!IsPluginValid(templatePlugin) || !IsPluginValid(parent) || !Live(record)) return nullptr;
    duPropertyGroup* group = templatePlugin->propertyGroup();
    if (!group || !group->source()) return nullptr;
    ObjectPtr<duPlugin> created = CreatePluginByType(templatePlugin->GetType());
    if (!created) return nullptr;
    created->SetParent(parent);
    if (!BuildPluginTree(created.get(), group->source(), record)) {
        DestroyPluginTree(created.release());
        return nullptr;
    }
    duPlugin* clone = created.release();
    // Linked before the names and creation so that OnCreate sees its place in the tree.
    duPlugin* first = parent->GetFirstChild();
    clone->SetNextSibling(first);
    clone->SetPreSibling(nullptr);
    if (first) first->SetPreSibling(clone);
    else parent->SetLastChild(clone);
    parent->SetFirstChild(clone);
    PluginRef ref(clone);
    RegisterClonedTree(record, clone, number);
    return ref.get();
}

void RegisterClonedTree(WindowRecord* record, duPlugin* plugin, int32_t number) {
    if (!Live(record) || !plugin) return;
    DispatchScope scope;
    std::vector<PluginRef> subtree;
    const std::u16string suffix = [number] {
        std::string digits = std::to_string(number);
        return std::u16string(digits.begin(), digits.end());
    }();
    for (duPlugin* c : SubtreeBreadthFirst(plugin)) {
        std::u16string name = c->GetName();
        name += suffix;
        c->SetName(name.c_str());
        AddToLayer(record->zorder.get(), c);
        RegisterPluginName(*record, *c);
        AddLivePlugin(c);
        subtree.emplace_back(c);
    }
    for (const PluginRef& ref : subtree) {
        if (duPlugin* c = ref.get(); c && Live(record)) c->OnCreate();
    }
}

void ShowTooltip(const char16_t* text, WindowRecord* record) {
    if (!Live(record) || !text || !*text || !win::IsWindow(record->tooltip)) return;
    const win::Window host = record->hostWindow;
    const bool tracking = (static_cast<uint32_t>(win::GetWindowLongPtr(host, win::GWL_STYLE)) & win::WS_CHILD) &&
                          win::GetParent(host) == win::GetDesktopWindow();
    win::ToolInfo tool;
    tool.window = host;
    tool.text = text;
    if (tracking) {
        tool.flags = win::TTF_IDISHWND | win::TTF_TRACK | win::TTF_ABSOLUTE;
        tool.id = 0;
        win::SendMessage(record->tooltip, win::TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool));
        gfx::Point cursor;
        win::GetCursorPos(&cursor);
        win::SendMessage(record->tooltip, win::TTM_TRACKPOSITION, 0, win::MakeLParam(cursor.x + 15, cursor.y + 15));
        win::SendMessage(record->tooltip, win::TTM_TRACKACTIVATE, 1, reinterpret_cast<intptr_t>(&tool));
    } else {
        tool.flags = 0;
        tool.id = 1;
        win::GetClientRect(host, &tool.rect);
        win::SendMessage(record->tooltip, win::TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool));
        win::SendMessage(record->tooltip, win::TTM_POP, 0, 0);
    }
}

void HideTooltip(WindowRecord* record) {
    if (!Live(record) || !win::IsWindow(record->tooltip)) return;
    const win::Window host = record->hostWindow;
    const bool tracking = (static_cast<uint32_t>(win::GetWindowLongPtr(host, win::GWL_STYLE)) & win::WS_CHILD) &&
                          win::GetParent(host) == win::GetDesktopWindow();
    win::ToolInfo tool;
    tool.window = host;
    if (tracking) {
        tool.flags = win::TTF_IDISHWND | win::TTF_TRACK | win::TTF_ABSOLUTE;
        tool.id = 0;
        win::SendMessage(record->tooltip, win::TTM_TRACKACTIVATE, 0, reinterpret_cast<intptr_t>(&tool));
    } else {
        tool.id = 1;
    }
    win::SendMessage(record->tooltip, win::TTM_DELTOOL, 0, reinterpret_cast<intptr_t>(&tool));
}

}  // namespace vexlo::ui
