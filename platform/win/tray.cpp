#include "platform/win/tray.h"

#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::Current;
using detail::SystemState;
using detail::TrayEntry;

namespace {

constexpr int kIconSlot = 24;
constexpr int kClockWidth = 80;  // the task bar's clock sits right of the icons

gfx::Rect SlotRect(const SystemState& s, size_t index) {
    const gfx::Size screen = s.screen.size;
    const gfx::Rect work = s.screen.workArea;
    int bandTop = work.bottom;
    int bandHeight = screen.height - work.bottom;
    if (bandHeight < kIconSlot) {
        bandTop = screen.height - kIconSlot;
        bandHeight = kIconSlot;
    }
    const int right = screen.width - kClockWidth - static_cast<int>(index) * kIconSlot;
    const int top = bandTop + (bandHeight - kIconSlot) / 2;
    return {right - kIconSlot, top, right, top + kIconSlot};
}

std::vector<TrayEntry*> Ordered(SystemState& s) {
    std::vector<TrayEntry*> out;
    for (auto& t : s.tray) out.push_back(&t);
    std::sort(out.begin(), out.end(), [](const TrayEntry* a, const TrayEntry* b) { return a->order < b->order; });
    return out;
}

gfx::Rect RectOf(SystemState& s, const TrayEntry& entry) {
    const auto ordered = Ordered(s);
    for (size_t i = 0; i < ordered.size(); ++i) {
        if (ordered[i] == &entry) return SlotRect(s, i);
    }
    return {};
}

// The icon pointer stays valid while the lock is held.
TrayIconState StateOf(SystemState& s, const TrayEntry& entry) {
    TrayIconState state;
    state.window = entry.window;
    state.id = entry.id;
    state.tip = entry.tip;
    const detail::ImageObject* image = s.FindImage(entry.icon.value());
    state.icon = image && image->isIcon ? &image->image : nullptr;
    state.rect = RectOf(s, entry);
    return state;
}

void Publish(SystemState& s, const TrayEntry& entry) { s.backend->UpdateTrayIcon(StateOf(s, entry)); }

}  // namespace

bool ShellNotifyIcon(uint32_t message, const NotifyIconData* data) {
    SystemState* s = Current();
    if (!s || !data) return false;
    std::lock_guard lock(s->mutex);
    auto it = std::find_if(s->tray.begin(), s->tray.end(),
                           [&](const TrayEntry& t) { return t.window == data->window && t.id == data->id; });
    auto apply = [&](TrayEntry& t) {
        if (data->flags & NIF_MESSAGE) t.callbackMessage = data->callbackMessage;
        if (data->flags & NIF_ICON) t.icon = data->icon;
        if (data->flags & NIF_TIP) t.tip = data->tip.substr(0, kNotifyTipLength);
    };
    switch (message) {
        case NIM_ADD: {
            if (it != s->tray.end() || !s->Find(data->window)) return false;
            TrayEntry t;
            t.window = data->window;
            t.id = data->id;
            t.order = ++s->trayOrder;
            apply(t);
            s->tray.push_back(t);
            if (!s->backend->AddTrayIcon(StateOf(*s, s->tray.back()))) {
                // No notification area to take it: the icon does not exist.
                s->tray.pop_back();
                return false;
            }
            return true;
        }
        case NIM_MODIFY:
            if (it == s->tray.end()) return false;
            apply(*it);
            Publish(*s, *it);
            return true;
        case NIM_DELETE: {
            if (it == s->tray.end()) return false;
            const Window w = it->window;
            const uint32_t id = it->id;
            s->tray.erase(it);
            s->backend->RemoveTrayIcon(w, id);
            for (const TrayEntry& t : s->tray) Publish(*s, t);  // the others close up
            return true;
        }
        default:
            return false;
    }
}

std::vector<TrayIconInfo> GetTrayIcons() {
    SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    std::vector<TrayIconInfo> out;
    for (TrayEntry* t : Ordered(*s)) {
        out.push_back({t->window, t->id, t->callbackMessage, t->icon, t->tip, RectOf(*s, *t)});
    }
    return out;
}

bool GetTrayIconRect(Window window, uint32_t id, gfx::Rect* rect) {
    SystemState* s = Current();
    if (!s || !rect) return false;
    std::lock_guard lock(s->mutex);
    for (const TrayEntry& t : s->tray) {
        if (t.window == window && t.id == id) {
            *rect = RectOf(*s, t);
            return true;
        }
    }
    return false;
}

}  // namespace vexlo::win
