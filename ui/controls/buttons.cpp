#include "ui/controls/buttons.h"

#include <vector>

#include "ui/controls/control_services.h"
#include "ui/core/debug_print.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/property_group.h"
#include "ui/core/state.h"
#include "ui/core/style_group.h"

namespace vexlo::ui {
namespace {

bool InCheckedRange(uint32_t state) { return state >= kStateChecked; }

gfx::Rect LocalRect(const duPlugin& plugin) {
    gfx::Rect r;
    plugin.GetRect(&r);
    return {0, 0, r.width(), r.height()};
}

// The siblings of a control (itself included) made from the element `lowerName`, in
// order, as references that tell when a host's handler deleted one of them.
std::vector<PluginRef> SiblingsOfType(const duPlugin& plugin, std::u16string_view lowerName) {
    std::vector<PluginRef> out;
    const duPlugin* parent = plugin.GetParent();
    if (!parent) return out;
    for (duPlugin* c = parent->GetFirstChild(); c; c = c->GetNextSibling()) {
        if (c->TypeIs(lowerName)) out.emplace_back(c);
    }
    return out;
}

}  // namespace

// ---- duButton ------------------------------------------------------------------------

void duButton::SetText(const char16_t* text) {
    common_.Autosize(*this, text ? text : u"");
    duPlugin::SetText(text);
}

void duButton::OnMouseIn(int32_t, int32_t) {
    common_.ShowTooltip(*this);
    SetState(kStateOver);
    common_.FadeOrRedraw(*this, kStateNormal, kStateOver);
}

void duButton::OnMouseLeave(int32_t, int32_t) {
    controls::HideTip(this);
    const uint32_t before = GetState();
    SetState(kStateNormal);
    common_.FadeOrRedraw(*this, before, kStateNormal);
}

void duButton::OnMouseLDown(int32_t, int32_t) {
    SetState(kStatePress);
    controls::Redraw(this, true);
}

void duButton::OnMouseLUp(int32_t, int32_t) {
    const uint32_t before = GetState();
    SetState(kStateOver);
    controls::Redraw(this, true);
    if (before == kStatePress && controls::IsAlive(this)) controls::Notify(this, kNotifyBtnClick, 0, 0);
}

void duButton::OnMouseDbClick(int32_t, int32_t) { controls::Notify(this, kNotifyBtnDbClick, 0, 0); }

void duButton::OnTimer(uint32_t id) { common_.Tick(*this, id); }

void duButton::OnRedraw() { common_.StopFade(*this); }

void duButton::RegisterControlProperty() {
    duPropertyGroup* group = propertyGroup();
    if (!group) return;
    common_.RegisterAutosizeProperties(*group);
    common_.RegisterIconProperties(*group);
    common_.RegisterFadeProperties(*group);
    common_.RegisterTooltipProperty(*group);
    group->AddProperty(kPropertyImage, 0, u"status_icon", TextField(statusIcon_.image));
    group->AddProperty(kPropertyInt, 0, u"status_iconx", &statusIcon_.x);
    group->AddProperty(kPropertyInt, 0, u"status_icony", &statusIcon_.y);
    group->AddProperty(kPropertyInt, 0, u"status_iconwidth", &statusIcon_.width);
    group->AddProperty(kPropertyInt, 0, u"status_iconheight", &statusIcon_.height);
    group->AddProperty(kPropertyBool, 0, u"graydisable", &grayDisable_);
}

void duButton::OnCreate() {
    common_.PrepareFade();
    common_.Autosize(*this, GetText());
}

void duButton::DrawObject(gfx::DrawContext& dc) {
    const gfx::Rect rect = LocalRect(*this);
    const bool grey = grayDisable_ && GetState() == kStateDisable;
    if (grey) {
        if (duStyleGroup* style = controls::StyleGroupOf(*this)) {
            style->DrawGray(dc, rect, kStateDisable, GetText(), GetAlpha());
        }
    } else {
        common_.DrawStyle(*this, dc, rect);
    }
    DrawIcon(*this, dc, common_.icon, IconAnchor::kCentre, grey, GetAlpha());
    DrawIcon(*this, dc, statusIcon_, IconAnchor::kFarEdge, grey, GetAlpha());
}

// ---- duCheckBox ----------------------------------------------------------------------

void duCheckBox::SetText(const char16_t* text) {
    common_.Autosize(*this, text ? text : u"");
    duPlugin::SetText(text);
}

void duCheckBox::SetChecked(bool checked) {
    checked_ = checked;
    SetState(checked ? kStateChecked : kStateNormal);
}

void duCheckBox::OnMouseIn(int32_t, int32_t) {
    common_.ShowTooltip(*this);
    if (InCheckedRange(GetState())) {
        SetState(kStateCheckedOver);
        common_.FadeOrRedraw(*this, kStateChecked, kStateCheckedOver);
    } else {
        SetState(kStateOver);
        common_.FadeOrRedraw(*this, kStateNormal, kStateOver);
    }
}

void duCheckBox::OnMouseLeave(int32_t, int32_t) {
    controls::HideTip(this);
    const uint32_t before = GetState();
    const uint32_t after = InCheckedRange(before) ? kStateChecked : kStateNormal;
    SetState(after);
    common_.FadeOrRedraw(*this, before, after);
}

void duCheckBox::OnMouseLDown(int32_t, int32_t) {
    SetState(InCheckedRange(GetState()) ? kStateCheckedPress : kStatePress);
    controls::Redraw(this, true);
}

void duCheckBox::OnMouseLUp(int32_t, int32_t) {
    const uint32_t before = GetState();
    int32_t notifyWith = -1;
    if (before == kStateCheckedPress) {
        SetState(kStateNormal);
        checked_ = 0;
        notifyWith = 0;
    } else if (InCheckedRange(before)) {
        SetState(kStateChecked);
        checked_ = 1;
    } else if (before == kStatePress) {
        SetState(kStateChecked);
        checked_ = 1;
        notifyWith = 1;
    } else {
        SetState(kStateNormal);
        checked_ = 0;
    }
    if (notifyWith >= 0) {
        const PluginRef self(this);
        controls::Notify(this, kNotifyCkClick, notifyWith, 0);
        // The host may have deleted the check box while handling its click.
        if (!self.alive()) return;
    }
    controls::Redraw(this, true);
}

void duCheckBox::OnTimer(uint32_t id) { common_.Tick(*this, id); }

void duCheckBox::OnRedraw() { common_.StopFade(*this); }

void duCheckBox::RegisterControlProperty() {
    duPropertyGroup* group = propertyGroup();
    if (!group) return;
    common_.RegisterAutosizeProperties(*group);
    common_.RegisterIconProperties(*group);
    common_.RegisterFadeProperties(*group);
    common_.RegisterTooltipProperty(*group);
    group->AddProperty(kPropertyBool, 0, u"checked", &checked_);
}

void duCheckBox::OnCreate() {
    common_.PrepareFade();
    common_.Autosize(*this, GetText());
    SetState(checked_ ? kStateChecked : kStateNormal);
}

void duCheckBox::DrawObject(gfx::DrawContext& dc) {
    common_.DrawStyle(*this, dc, LocalRect(*this));
    DrawIcon(*this, dc, common_.icon, IconAnchor::kCentre, false, GetAlpha());
}

// ---- duRadio -------------------------------------------------------------------------

bool duRadio::GetChecked() const { return InCheckedRange(GetState()); }

void duRadio::SetChecked(bool checked) {
    for (const PluginRef& sibling : SiblingsOfType(*this, u"radio")) {
        auto* radio = dynamic_cast<duRadio*>(sibling.get());
        if (!radio || radio->groupId_ != groupId_) continue;
        const bool wasChecked = radio->GetChecked();
        radio->SetState(kStateNormal);
        if (wasChecked) controls::Redraw(radio, true);
    }
    SetState(checked ? kStateChecked : kStateNormal);
}

void duRadio::OnMouseIn(int32_t, int32_t) {
    common_.ShowTooltip(*this);
    SetState(InCheckedRange(GetState()) ? kStateCheckedOver : kStateOver);
    controls::Redraw(this, true);
}

void duRadio::OnMouseLeave(int32_t, int32_t) {
    controls::HideTip(this);
    SetState(InCheckedRange(GetState()) ? kStateChecked : kStateNormal);
    controls::Redraw(this, true);
}

void duRadio::OnMouseLDown(int32_t, int32_t) {
    SetState(InCheckedRange(GetState()) ? kStateCheckedPress : kStatePress);
    controls::Redraw(this, true);
}

void duRadio::OnMouseLUp(int32_t, int32_t) {
    if (GetState() != kStatePress) return;
    const PluginRef self(this);
    controls::Notify(this, kNotifyRadioClick, 1, 0);
    // The host may have deleted the radio (or its whole group) while handling the click.
    if (!self.alive()) return;
    SetState(kStateChecked);
    SetChecked(true);
    controls::Redraw(this, true);
}

void duRadio::RegisterControlProperty() {
    duPropertyGroup* group = propertyGroup();
    if (!group) return;
    common_.RegisterIconProperties(*group);
    common_.RegisterTooltipProperty(*group);
    group->AddProperty(kPropertyBool, 0, u"checked", &checkedAttribute_);
    group->AddProperty(kPropertyInt, 0, u"groupid", &groupId_);
}

void duRadio::OnCreate() {
    if (checkedAttribute_) SetChecked(true);
}

void duRadio::DrawObject(gfx::DrawContext& dc) {
    if (duStyleGroup* style = controls::StyleGroupOf(*this)) {
        style->Draw(dc, LocalRect(*this), GetState(), GetText(), GetAlpha());
    }
    DrawIcon(*this, dc, common_.icon, IconAnchor::kCentre, false, GetAlpha());
}

// ---- duTabButton ---------------------------------------------------------------------

void duTabButton::SetText(const char16_t* text) {
    common_.Autosize(*this, text ? text : u"");
    duPlugin::SetText(text);
}

void duTabButton::SetSelectedFlag(bool selected) {
    if (static_cast<bool>(selected_) == selected) return;
    selected_ = selected;
    if (duPlugin* page = controls::FindInWindow(*this, tabPage_.view())) controls::ShowPlugin(page, selected);
}

void duTabButton::Select() {
    // Hiding a page notifies the host, which may delete tabs meanwhile.
    const PluginRef self(this);
    for (const PluginRef& sibling : SiblingsOfType(*this, u"tabbutton")) {
        auto* tab = dynamic_cast<duTabButton*>(sibling.get());
        if (!tab) continue;
        tab->SetState(kStateNormal);
        if (tab->selected_) tab->SetSelectedFlag(false);
        if (!self.alive()) return;
    }
    SetSelectedFlag(true);
    if (self.alive()) SetState(kStateCheckedOver);
}

void duTabButton::OnMouseIn(int32_t, int32_t) {
    common_.ShowTooltip(*this);
    if (selected_) {
        SetState(kStateCheckedOver);
        common_.FadeOrRedraw(*this, kStateChecked, kStateCheckedOver);
    } else {
        SetState(kStateOver);
        common_.FadeOrRedraw(*this, kStateNormal, kStateOver);
    }
}

void duTabButton::OnMouseLeave(int32_t, int32_t) {
    controls::HideTip(this);
    if (selected_) {
        SetState(kStateChecked);
        common_.FadeOrRedraw(*this, kStateCheckedOver, kStateChecked);
    } else {
        SetState(kStateNormal);
        common_.FadeOrRedraw(*this, kStateOver, kStateNormal);
    }
}

void duTabButton::OnMouseLDown(int32_t, int32_t) {
    SetState(selected_ ? kStateCheckedPress : kStatePress);
    controls::Redraw(this, true);
}

void duTabButton::OnMouseLUp(int32_t, int32_t) {
    if (selected_) return;
    const PluginRef self(this);
    const intptr_t veto = controls::Notify(this, kNotifyTbbSelected, 1, 0);
    // The host may have deleted this tab while deciding.
    if (!self.alive()) return;
    if (veto != 0) {
        if (GetState() == kStatePress) {
            SetState(kStateOver);
            controls::Redraw(this, true);
        }
        return;
    }
    // Collected first: a notification handler may delete or move any of them.
    for (const PluginRef& sibling : SiblingsOfType(*this, u"tabbutton")) {
        auto* tab = dynamic_cast<duTabButton*>(sibling.get());
        if (!tab) continue;
        tab->SetState(kStateNormal);
        if (!tab->selected_) continue;
        controls::Notify(tab, kNotifyTbbSelected, 0, 0);
        if (!sibling.alive()) {
            DebugPrint(u"error: delete tabbutton in DUM_TBBSELECTED notify\n");
            return;
        }
        if (!self.alive()) return;
        tab->SetSelectedFlag(false);
        if (!self.alive()) return;
        if (sibling.alive()) tab->common_.StopFade(*tab);
    }
    SetSelectedFlag(true);
    if (!self.alive()) return;
    SetState(kStateCheckedOver);
    controls::InvalidateHostWindow(this);
}

void duTabButton::OnTimer(uint32_t id) { common_.Tick(*this, id); }

void duTabButton::OnRedraw() { common_.StopFade(*this); }

void duTabButton::RegisterControlProperty() {
    duPropertyGroup* group = propertyGroup();
    if (!group) return;
    common_.RegisterAutosizeProperties(*group);
    common_.RegisterIconProperties(*group);
    common_.RegisterFadeProperties(*group);
    common_.RegisterTooltipProperty(*group);
    group->AddProperty(kPropertyText, 0, u"tabpage", TextField(tabPage_));
    group->AddProperty(kPropertyBool, 0, u"selected", &selected_);
}

void duTabButton::OnCreate() {
    common_.PrepareFade();
    common_.Autosize(*this, GetText());
    if (selected_) SetState(kStateChecked);
    duPlugin* page = controls::FindInWindow(*this, tabPage_.view());
    if (page) controls::ShowPlugin(page, selected_ != 0);
}

void duTabButton::DrawObject(gfx::DrawContext& dc) {
    common_.DrawStyle(*this, dc, LocalRect(*this));
    DrawIcon(*this, dc, common_.icon, IconAnchor::kCentre, false, GetAlpha());
}

}  // namespace vexlo::ui
