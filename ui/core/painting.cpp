#include "ui/core/painting.h"

#include <algorithm>

#include "platform/win/window_api.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_functions.h"

namespace vexlo::ui {
namespace {

constexpr win::BlendFunction kPerPixelAlpha{win::AC_SRC_OVER, 0, 255, win::AC_SRC_ALPHA};

void PresentLayered(WindowRecord& record, const gfx::Bitmap& image) {
    gfx::Rect window;
    win::GetWindowRect(record.hostWindow, &window);
    const gfx::Point position{window.left, window.top};
    const gfx::Size size{image.width(), image.height()};
    const gfx::Point origin{0, 0};
    win::UpdateLayeredWindow(record.hostWindow, &position, &size, &image, &origin, 0, &kPerPixelAlpha, win::ULW_ALPHA);
}

// PaintPlugin into a target whose top-left pixel shows client point -offset.
void PaintPluginAt(const gfx::Rect& clip, gfx::DrawContext& dc, duPlugin* plugin, gfx::Point offset) {
    if (!IsPluginValid(plugin) || clip.IsEmpty()) return;
    gfx::Rect r;
    plugin->GetRect(&r);
    gfx::DrawContext::StateSaver saved(dc);
    dc.SetOrigin(offset);
    dc.SetClipRect(clip);
    dc.SetOrigin({r.left + offset.x, r.top + offset.y});
    plugin->DrawObject(dc);
}

// Paints the collected controls back to front, each clipped to its visible rectangle
// within `area`, into an image of `area` alone.
void PaintCollected(const duRedrawLayer& layer, const gfx::Rect& area, gfx::DrawContext& dc) {
    const auto& layers = layer.layers();
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
        for (duPlugin* p : it->controls) {
            if (!IsPluginValid(p)) continue;  // a control's drawing may delete another
            gfx::Rect visible;
            GetVisibleRect(p, &visible);
            PaintPluginAt(visible.Intersect(area), dc, p, {-area.left, -area.top});
        }
    }
}

bool TakesPart(duPlugin* p, const gfx::Rect& area) {
    if (!IsPluginValid(p) || !IsPluginShown(p)) return false;
    gfx::Rect visible;
    GetVisibleRect(p, &visible);
    return visible.Intersects(area);
}

}  // namespace

void PaintPlugin(const gfx::Rect& clip, gfx::DrawContext& dc, duPlugin* plugin) {
    PaintPluginAt(clip, dc, plugin, {0, 0});
}

void PaintWindow(WindowRecord* record, gfx::Bitmap* target) {
    if (!record || record->destroyed || !record->zorder) return;
    DispatchScope scope;
    record->cachedImage.reset();
    gfx::Rect client;
    if (!win::GetClientRect(record->hostWindow, &client) || client.IsEmpty()) return;
    auto image = std::make_unique<gfx::Bitmap>(client.width(), client.height());
    if (image->empty()) return;
    {
        gfx::DrawContext dc(*image);
        // A snapshot: a control's drawing cannot change what is walked.
        std::vector<PluginRef> order;
        const auto& layers = record->zorder->layers();
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
            for (duPlugin* p : it->controls) order.emplace_back(p);
        }
        for (const PluginRef& ref : order) {
            duPlugin* p = ref.get();
            if (!p || !IsPluginShown(p)) continue;
            gfx::Rect visible;
            GetVisibleRect(p, &visible);
            PaintPlugin(visible, dc, p);
            if (record->destroyed) return;
        }
    }
    record->cachedImage = std::move(image);
    const gfx::Bitmap& picture = *record->cachedImage;
    if (IsLayeredWindow(record->hostWindow)) {
        win::KillTimer(record->hostWindow, record->caretTimerId);
        PresentLayered(*record, picture);
        record->caretShown = false;
        // Only a caret that is shown blinks again; a hidden one stays hidden.
        if (record->caretWanted && record->caretImage) {
            win::SetTimer(record->hostWindow, record->caretTimerId, win::GetCaretBlinkTime());
        }
        return;
    }
    if (target) {
        gfx::DrawContext out(*target);
        out.Copy(client, picture, {0, 0});
        return;
    }
    win::WindowDC surface(record->hostWindow);
    if (surface) {
        gfx::DrawContext out(*surface.surface());
        out.Copy(client, picture, {0, 0});
    }
}

int RepaintPlugin(WindowRecord* record, duPlugin* plugin) {
    if (!record || record->destroyed || !record->zorder || !IsPluginValid(plugin)) return 0;
    gfx::Rect area;
    GetVisibleRect(plugin, &area);
    if (area.IsEmpty()) return 0;
    const bool layered = IsLayeredWindow(record->hostWindow);
    // A repaint before the first full paint has no picture to merge into.
    if (layered && !record->cachedImage) return 0;
    gfx::Rect client;
    if (!win::GetClientRect(record->hostWindow, &client) || client.IsEmpty()) return 0;
    area = area.Intersect(client);
    if (area.IsEmpty()) return 0;
    DispatchScope scope;

    const int32_t z = plugin->GetZorder();
    duRedrawLayer behind;
    duRedrawLayer front;
    const auto& layers = record->zorder->layers();
    bool reached = false;
    for (auto it = layers.rbegin(); it != layers.rend() && !reached; ++it) {
        if (ZorderInFront(it->zorder, z)) break;
        for (duPlugin* p : it->controls) {
            if (p == plugin) {
                reached = true;
                break;
            }
            if (TakesPart(p, area)) AddToLayer(&behind, p);
        }
    }
    for (const ZorderLayer& layer : layers) {
        if (ZorderInFront(z, layer.zorder)) break;
        auto first = layer.controls.begin();
        if (layer.zorder == z) {
            auto self = std::find(layer.controls.begin(), layer.controls.end(), plugin);
            if (self != layer.controls.end()) first = self + 1;
        }
        for (auto it = first; it != layer.controls.end(); ++it) {
            if (TakesPart(*it, area)) AddToLayer(&front, *it);
        }
    }

    // Only the changed rectangle is drawn: the image covers `area` and nothing else.
    gfx::Bitmap image(area.width(), area.height());
    if (image.empty()) return 0;
    const gfx::Rect whole{0, 0, area.width(), area.height()};
    {
        gfx::DrawContext dc(image);
        PaintCollected(behind, area, dc);
        if (IsPluginShown(plugin)) PaintPluginAt(area, dc, plugin, {-area.left, -area.top});
        PaintCollected(front, area, dc);
    }
    if (record->destroyed) return 0;

    if (layered) {
        if (!record->cachedImage) return 0;
        {
            gfx::DrawContext cached(*record->cachedImage);
            cached.Clear(area);
            cached.AlphaBlend(area, image, whole);
        }
        PresentLayered(*record, *record->cachedImage);
        record->caretShown = false;
        return 1;
    }
    if (record->cachedImage) {
        gfx::DrawContext cached(*record->cachedImage);
        cached.Copy(area, image, {0, 0});
    }
    win::WindowDC surface(record->hostWindow);
    if (surface) {
        win::HideCaret(record->hostWindow);
        gfx::DrawContext out(*surface.surface());
        out.Copy(area, image, {0, 0});
        win::ShowCaret(record->hostWindow);
    }
    return 1;
}

}  // namespace vexlo::ui
