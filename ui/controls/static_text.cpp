#include "ui/controls/static_text.h"

#include "ui/controls/control_services.h"
#include "ui/controls/url_opener.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/property_group.h"
#include "ui/core/state.h"
#include "ui/core/style_group.h"
#include "ui/core/text_style.h"

namespace vexlo::ui {
namespace {

gfx::Rect LocalRect(const duPlugin& plugin) {
    gfx::Rect r;
    plugin.GetRect(&r);
    return {0, 0, r.width(), r.height()};
}

const duTextStyle* FirstTextItem(const duStyleGroup& group) {
    for (int32_t i = 0; i < group.GetStyleCount(); ++i) {
        const duStyleBase* style = group.GetStyleAt(i);
        if (style && style->GetStyleType() == kStyleText) return static_cast<const duTextStyle*>(style);
    }
    return nullptr;
}

}  // namespace

// ---- duStatic ------------------------------------------------------------------------

bool duStatic::TextFits() const {
    const duStyleGroup* group = controls::StyleGroupOf(*this);
    if (!group) return true;
    const duTextStyle* item = FirstTextItem(*group);
    if (!item) return true;
    const gfx::Size size = MeasureTextSize(item->FindFont(), GetText(), true);
    const gfx::Rect place = item->PlaceStyleRect(LocalRect(*this));
    // The measured size is a width and a height: it is compared with the placement's
    // width and height, not with its edge coordinates.
    return size.width <= place.width() && size.height <= place.height();
}

void duStatic::OnMouseIn(int32_t, int32_t) {
    if (!controls::HasTip(this)) return;
    const std::u16string_view text = GetText();
    if (showTooltip_) {
        if (!text.empty()) controls::ShowTip(this, text);
        return;
    }
    if (!text.empty() && !TextFits()) controls::ShowTip(this, text);
}

void duStatic::OnMouseLeave(int32_t, int32_t) { controls::HideTip(this); }

void duStatic::RegisterControlProperty() {
    if (duPropertyGroup* group = propertyGroup()) group->AddProperty(kPropertyBool, 0, u"showtooltip", &showTooltip_);
}

// ---- duLink --------------------------------------------------------------------------

void duLink::OnMouseIn(int32_t, int32_t) {
    SetState(kStateOver);
    controls::Redraw(this, true);
}

void duLink::OnMouseLeave(int32_t, int32_t) {
    SetState(kStateNormal);
    controls::Redraw(this, true);
}

void duLink::OnMouseLDown(int32_t, int32_t) {
    SetState(kStatePress);
    controls::Redraw(this, true);
}

void duLink::OnMouseLUp(int32_t, int32_t) {
    const uint32_t before = GetState();
    SetState(kStateOver);
    controls::Redraw(this, true);
    if (before != kStatePress) return;
    OpenUrl();
    controls::Notify(this, kNotifyLkClick, 0, 0);
}

bool duLink::OpenUrl() const { return ui::OpenUrl(url_.view()); }

void duLink::RegisterControlProperty() {
    if (duPropertyGroup* group = propertyGroup()) group->AddProperty(kPropertyText, 0, u"url", TextField(url_));
}

}  // namespace vexlo::ui
