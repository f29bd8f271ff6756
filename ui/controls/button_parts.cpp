#include "ui/controls/button_parts.h"

#include <algorithm>

#include "ui/controls/control_services.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/image_resource.h"
#include "ui/core/plugin.h"
#include "ui/core/property_group.h"
#include "ui/core/style_group.h"

namespace vexlo::ui {
namespace {

int32_t IconOrigin(int32_t position, int32_t controlSize, int32_t iconSize, IconAnchor minusOne) {
    if (position != -1) return position;
    return minusOne == IconAnchor::kCentre ? (controlSize - iconSize) / 2 : controlSize - iconSize;
}

uint8_t ToAlpha(int32_t alpha) { return static_cast<uint8_t>(std::clamp(alpha, 0, 255)); }

gfx::Rect LocalRect(const duPlugin& plugin) {
    gfx::Rect r;
    plugin.GetRect(&r);
    return {0, 0, r.width(), r.height()};
}

}  // namespace

void DrawIcon(const duPlugin& plugin, gfx::DrawContext& dc, const IconPlacement& icon, IconAnchor minusOne, bool grey,
              int32_t alpha) {
    if (icon.image.empty()) return;
    const duImage* image = controls::ImageNamed(plugin, icon.image.view());
    if (!image || !image->GetHBitmap()) return;
    const gfx::Rect local = LocalRect(plugin);
    const int32_t x = IconOrigin(icon.x, local.width(), icon.width, minusOne);
    const int32_t y = IconOrigin(icon.y, local.height(), icon.height, minusOne);
    const gfx::Rect dest = gfx::Rect::FromXYWH(x, y, icon.width, icon.height);
    if (grey) {
        ObjectPtr<duImage> copy = image->CreateGrayCopy();
        if (!copy) return;
        StretchImage(copy.get(), dc, dest, {0, 0, copy->GetWidth(), copy->GetHeight()}, ToAlpha(alpha));
        return;
    }
    StretchImage(image, dc, dest, {0, 0, image->GetWidth(), image->GetHeight()}, ToAlpha(alpha));
}

void ButtonCommon::RegisterIconProperties(duPropertyGroup& group) {
    group.AddProperty(kPropertyImage, 0, u"icon", TextField(icon.image));
    group.AddProperty(kPropertyInt, 0, u"iconx", &icon.x);
    group.AddProperty(kPropertyInt, 0, u"icony", &icon.y);
    group.AddProperty(kPropertyInt, 0, u"iconwidth", &icon.width);
    group.AddProperty(kPropertyInt, 0, u"iconheight", &icon.height);
}

void ButtonCommon::RegisterTooltipProperty(duPropertyGroup& group) {
    group.AddProperty(kPropertyText, 0, u"tooltip", TextField(tooltip));
}

void ButtonCommon::RegisterAutosizeProperties(duPropertyGroup& group) {
    group.AddProperty(kPropertyBool, 0, u"autosize", &autosize);
    group.AddProperty(kPropertyInt, 0, u"fixleft", &fixLeft);
    group.AddProperty(kPropertyInt, 0, u"fixright", &fixRight);
}

void ButtonCommon::RegisterFadeProperties(duPropertyGroup& group) {
    group.AddProperty(kPropertyBool, 0, u"fade", &fade);
    group.AddProperty(kPropertyInt, 0, u"fadeinspeed", &fadeInSpeed);
    group.AddProperty(kPropertyInt, 0, u"fadeoutspeed", &fadeOutSpeed);
}

void ButtonCommon::PrepareFade() {
    // A negative speed would never reach its limit and keep the timer running for ever.
    fadeInSpeed = FadeSpeedOrDefault(fadeInSpeed, kDefaultFadeInSpeed);
    fadeOutSpeed = FadeSpeedOrDefault(fadeOutSpeed, kDefaultFadeOutSpeed);
    fadeState.newState = fadeState.oldState = kStateNormal;
    fadeState.timerId = controls::TakeTimerId();
}

void ButtonCommon::Autosize(duPlugin& plugin, std::u16string_view text) const {
    if (!autosize) return;
    const duStyleGroup* style = controls::StyleGroupOf(plugin);
    if (!style) return;
    gfx::Size size;
    style->MeasureText(plugin.GetState(), text, &size);
    plugin.SetPosWidth(gfx::SaturatingAdd(gfx::SaturatingAdd(fixLeft, size.width), fixRight));
    controls::ResizeAndTellParent(&plugin);
}

void ButtonCommon::ShowTooltip(duPlugin& plugin) const {
    if (!tooltip.empty()) controls::ShowTip(&plugin, tooltip.view());
}

void ButtonCommon::FadeOrRedraw(duPlugin& plugin, uint32_t from, uint32_t to) {
    if (!fade) {
        controls::Redraw(&plugin, true);
        return;
    }
    fadeState.Start(from, to, plugin.GetAlpha());
    controls::StopTimer(&plugin, fadeState.timerId);
    controls::StartTimer(&plugin, fadeState.timerId, kFadeTickMs);
}

void ButtonCommon::Tick(duPlugin& plugin, uint32_t timerId) {
    if (timerId != fadeState.timerId) return;
    if (!fadeState.fading || !fade) {
        controls::StopTimer(&plugin, timerId);
        return;
    }
    const bool done = fadeState.Step(fadeInSpeed, fadeOutSpeed);
    controls::Redraw(&plugin, false);
    if (done && controls::IsAlive(&plugin)) controls::StopTimer(&plugin, timerId);
}

void ButtonCommon::StopFade(duPlugin& plugin) {
    if (!fadeState.fading) return;
    fadeState.fading = false;
    controls::StopTimer(&plugin, fadeState.timerId);
}

void ButtonCommon::DrawStyle(const duPlugin& plugin, gfx::DrawContext& dc, const gfx::Rect& rect) const {
    duStyleGroup* style = controls::StyleGroupOf(plugin);
    if (!style) return;
    const std::u16string_view text = plugin.GetText();
    if (fadeState.fading) {
        style->DrawWithoutText(dc, rect, fadeState.oldState, text, fadeState.oldAlpha);
        style->DrawWithoutText(dc, rect, fadeState.newState, text, fadeState.newAlpha);
        style->DrawTextOnly(dc, rect, fadeState.newState, text, plugin.GetAlpha());
    } else {
        style->Draw(dc, rect, plugin.GetState(), text, plugin.GetAlpha());
    }
}

}  // namespace vexlo::ui
