#include "ui/core/plugin.h"

#include <vector>

#include "platform/win/window_api.h"
#include "ui/core/attribute_values.h"
#include "ui/core/cursor_resource.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/state.h"
#include "ui/core/window_manager.h"
#include "ui/core/window_record.h"

namespace vexlo::ui {

duPlugin::duPlugin() : serial_(NextPluginSerial()) {}

duPlugin::~duPlugin() { RemoveLivePlugin(this); }

bool duPlugin::TypeIs(std::u16string_view lowerName) const { return EqualsNoCase(type_.view(), lowerName); }

uint32_t DeriveState(uint32_t s, bool disabled, bool focused) {
    if (s & 0xFF00u) {  // a checked state
        if (disabled) return kStateCheckedDisable;
        if (focused && s == kStateChecked) return kStateCheckedFocus;
        return s;
    }
    if (disabled) return kStateDisable;
    if (focused && s == kStateNormal) return kStateFocus;
    return s;
}

uint32_t duPlugin::GetState() const { return DeriveState(state_, disable_ != 0, focus_ != 0); }

void duPlugin::AppendChild(duPlugin* child) {
    if (!child || child->parent_) return;
    child->next_ = child->previous_ = nullptr;
    child->parent_ = this;
    if (lastChild_) {
        child->previous_ = lastChild_;
        lastChild_->next_ = child;
        lastChild_ = child;
    } else {
        firstChild_ = lastChild_ = child;
    }
}

AnchorSpan LayoutAxis(int32_t pl, int32_t pr, int32_t left, int32_t right, int32_t size, int32_t anchor,
                      AnchorSpan current) {
    // 32-bit arithmetic as on the target, done in 64 bits and saturated so that hostile
    // offsets cannot overflow.
    auto sat = [](int64_t v) { return gfx::SaturateToInt(v); };
    const int64_t pw = int64_t{pr} - pl;
    const bool center = left == kCenterPosition;
    int64_t rl = 0, rr = 0;
    switch (anchor) {
        case 3:
            rl = int64_t{pl} + left;
            rr = rl + size;
            break;
        case 0:
        case 1: {
            const int64_t w = anchor == 0 ? size : pw * size / 100;
            if (center) rl = pl + (pw - w) / 2;
            else if (left < 0) rl = int64_t{pr} + left;
            else rl = int64_t{pl} + left;
            rr = rl + w;
            break;
        }
        case 2:
            if (center) rl = int64_t{pl} + right;
            else if (left < 0) rl = int64_t{pr} + left;
            else rl = int64_t{pl} + left;
            rr = right >= 0 ? int64_t{pr} - right : int64_t{pl} - right;
            break;
        default: return current;
    }
    return {sat(rl), sat(rr)};
}

void duPlugin::Resize(const gfx::Rect* parentRect) {
    if (!parent_) {
        gfx::Rect client;
        if (win::IsWindow(hostWindow_) && win::GetClientRect(hostWindow_, &client)) rect_ = client;
    } else {
        const gfx::Rect p = parentRect ? *parentRect : parent_->rect_;
        AnchorSpan h = LayoutAxis(p.left, p.right, left_, right_, width_, horzAnchor_, {rect_.left, rect_.right});
        AnchorSpan v = LayoutAxis(p.top, p.bottom, top_, bottom_, height_, vertAnchor_, {rect_.top, rect_.bottom});
        rect_ = {h.first, v.first, h.second, v.second};
    }
    for (duPlugin* c = firstChild_; c; c = c->next_) c->Resize(nullptr);
}

duPlugin* duPlugin::GetPluginByName(const char16_t* name) {
    if (!name) return nullptr;
    WindowRecord* record = GetWindowRecord(hostWindow_);
    if (!record) return nullptr;
    auto it = record->names.find(std::u16string_view(name));
    return it != record->names.end() && IsPluginValid(it->second) ? it->second : nullptr;
}

int duPlugin::OnSetCursor() {
    win::Cursor cursor;
    if (!cursor_.empty()) {
        if (WindowRecord* record = GetWindowRecord(hostWindow_); record && record->windowManager) {
            if (duResManager* res = record->windowManager->GetResManager()) {
                if (auto* c = static_cast<duCursor*>(res->GetResObj(cursor_.c_str(), kResCursor))) {
                    cursor = c->GetHCursor();
                }
            }
        }
    }
    win::SetCursor(cursor ? cursor : win::LoadCursor(0, win::IDC_ARROW));
    return 1;
}

void DestroyPluginTree(duPlugin* root) {
    if (!root) return;
    std::vector<duPlugin*> order{root};
    for (size_t i = 0; i < order.size(); ++i) {
        for (duPlugin* c = order[i]->GetFirstChild(); c; c = c->GetNextSibling()) order.push_back(c);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) (*it)->Delete();
}

}  // namespace vexlo::ui
