#pragma once
// The pieces the clickable controls share: their icon, tooltip, autosize and fade
// attributes, the painting of their images, and the fade driven by the control's timer.
#include <cstdint>
#include <string_view>

#include "platform/gfx/draw_context.h"
#include "ui/controls/fade.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duPlugin;
class duPropertyGroup;

// An image drawn scaled into (x, y, width, height) of the control.
struct IconPlacement {
    NameField image;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// How -1 in an icon's position is read: centred on that axis, or against the far edge.
enum class IconAnchor { kCentre, kFarEdge };

// Draws the named image of the control's skin (nothing when it is missing); `grey` draws
// a grey copy instead.
void DrawIcon(const duPlugin& plugin, gfx::DrawContext& dc, const IconPlacement& icon, IconAnchor minusOne,
              bool grey, int32_t alpha);

struct ButtonCommon {
    IconPlacement icon;
    NameField tooltip;
    int32_t autosize = 0;
    int32_t fixLeft = 0;
    int32_t fixRight = 0;
    int32_t fade = 0;
    int32_t fadeInSpeed = kDefaultFadeInSpeed;
    int32_t fadeOutSpeed = kDefaultFadeOutSpeed;
    FadeRecord fadeState;

    void RegisterIconProperties(duPropertyGroup& group);
    void RegisterTooltipProperty(duPropertyGroup& group);
    void RegisterAutosizeProperties(duPropertyGroup& group);
    void RegisterFadeProperties(duPropertyGroup& group);

    // Speeds of 0 become the defaults and the timer identifier is taken.
    void PrepareFade();
    // Width := fixleft + the text's measured width + fixright, then the control is laid
    // out again (its parent told when the rectangle changed). Nothing without autosize
    // or a style.
    void Autosize(duPlugin& plugin, std::u16string_view text) const;
    void ShowTooltip(duPlugin& plugin) const;
    // With `fade` a fade from `from` to `to` starts; otherwise a plain redraw.
    void FadeOrRedraw(duPlugin& plugin, uint32_t from, uint32_t to);
    // A tick of the control's timer: advances the fade, repaints without the redraw hook,
    // and stops the timer once the fade is over (or when there is none to run).
    void Tick(duPlugin& plugin, uint32_t timerId);
    // An ordinary repaint ends a running fade.
    void StopFade(duPlugin& plugin);
    // Step 1 of the painting without the grey case: the fade's two looks and the new
    // look's text, or the reported state's look.
    void DrawStyle(const duPlugin& plugin, gfx::DrawContext& dc, const gfx::Rect& rect) const;
};

}  // namespace vexlo::ui
