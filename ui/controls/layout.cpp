#include "ui/controls/layout.h"

#include <vector>

#include "platform/win/messages.h"
#include "platform/win/window_api.h"
#include "ui/controls/control_services.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/property_group.h"
#include "ui/core/state.h"

namespace vexlo::ui {
namespace {

gfx::Rect RectOf(const duPlugin& plugin) {
    gfx::Rect r;
    plugin.GetRect(&r);
    return r;
}

int32_t Sat(int64_t v) { return gfx::SaturateToInt(v); }

std::vector<duPlugin*> VisibleChildren(const duPlugin& parent) {
    std::vector<duPlugin*> out;
    for (duPlugin* c = parent.GetFirstChild(); c; c = c->GetNextSibling()) {
        if (c->IsVisible()) out.push_back(c);
    }
    return out;
}

// Writes the offset on the arranged axis and fixes that axis's anchor.
void PlaceOnAxis(duPlugin& child, bool horizontal, int32_t offset) {
    if (horizontal) {
        child.SetPosLeft(offset);
        child.SetHorzAnchor(0);
    } else {
        child.SetPosTop(offset);
        child.SetVertAnchor(0);
    }
}

}  // namespace

duLayout::~duLayout() {
    if (hooked_ && controls::IsAlive(this)) controls::RemoveHook(this);
}

void duLayout::Resize(const gfx::Rect* parentRect) {
    if (!Arranges()) {
        duPlugin::Resize(parentRect);
        return;
    }
    // Only the layout's own rectangle comes from the anchors; the children are placed by
    // the arrangement, and hidden ones keep the rectangle they had.
    gfx::Rect own = RectOf(*this);
    if (const duPlugin* parent = GetParent()) {
        const gfx::Rect p = parentRect ? *parentRect : RectOf(*parent);
        const AnchorSpan h =
            LayoutAxis(p.left, p.right, GetPosLeft(), GetPosRight(), GetPosWidth(), GetHorzAnchor(), {own.left, own.right});
        const AnchorSpan v =
            LayoutAxis(p.top, p.bottom, GetPosTop(), GetPosBottom(), GetPosHeight(), GetVertAnchor(), {own.top, own.bottom});
        own = {h.first, v.first, h.second, v.second};
    } else {
        gfx::Rect client;
        if (win::IsWindow(GetHwnd()) && win::GetClientRect(GetHwnd(), &client)) own = client;
    }
    SetRect(&own);
    Rearrange();
}

void duLayout::Rearrange() {
    switch (type_) {
        case kLayoutRowFromLeft: ArrangeRow(true); break;
        case kLayoutRowFromRight: ArrangeFromFarEdge(true); break;
        case kLayoutColumnFromTop: ArrangeRow(false); break;
        case kLayoutColumnFromBottom: ArrangeFromFarEdge(false); break;
        case kLayoutEqualWidths: ArrangeEqualShares(true); break;
        case kLayoutEqualHeights: ArrangeEqualShares(false); break;
        case kLayoutFlow: ArrangeFlow(); break;
        default: break;
    }
}

void duLayout::ArrangeRow(bool horizontal) {
    const gfx::Rect own = RectOf(*this);
    const duPlugin* previous = nullptr;
    for (duPlugin* child : VisibleChildren(*this)) {
        int32_t offset = horizontal ? startX_ : startY_;
        if (previous) {
            const gfx::Rect p = RectOf(*previous);
            offset = horizontal ? Sat(int64_t{p.right} - own.left + xSpace_) : Sat(int64_t{p.bottom} - own.top + ySpace_);
        }
        PlaceOnAxis(*child, horizontal, offset);
        child->Resize(&own);
        previous = child;
    }
}

void duLayout::ArrangeFromFarEdge(bool horizontal) {
    const gfx::Rect own = RectOf(*this);
    std::vector<duPlugin*> children = VisibleChildren(*this);
    const duPlugin* next = nullptr;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        duPlugin* child = *it;
        const gfx::Rect r = RectOf(*child);
        const int64_t size = horizontal ? r.width() : r.height();
        const int64_t start = horizontal ? startX_ : startY_;
        const int64_t gap = horizontal ? xSpace_ : ySpace_;
        int64_t offset = -(start + size);
        if (next) offset = int64_t{horizontal ? next->GetPosLeft() : next->GetPosTop()} - gap - size;
        PlaceOnAxis(*child, horizontal, Sat(offset));
        child->Resize(&own);
        next = child;
    }
}

void duLayout::ArrangeEqualShares(bool horizontal) {
    const gfx::Rect own = RectOf(*this);
    std::vector<duPlugin*> children = VisibleChildren(*this);
    const int64_t n = static_cast<int64_t>(children.size());
    if (n == 0) return;
    const int64_t extent = horizontal ? own.width() : own.height();
    const int64_t gap = horizontal ? xSpace_ : ySpace_;
    const int64_t start = horizontal ? startX_ : startY_;
    const int64_t available = extent - (n - 1) * gap - start;
    const int64_t share = available / n;
    int64_t larger = available % n;  // the first ones take one pixel more
    const duPlugin* previous = nullptr;
    for (duPlugin* child : children) {
        int64_t offset = start;
        if (previous) {
            const gfx::Rect p = RectOf(*previous);
            offset = horizontal ? int64_t{p.right} - own.left + gap : int64_t{p.bottom} - own.top + gap;
        }
        PlaceOnAxis(*child, horizontal, Sat(offset));
        const int32_t size = Sat(larger >= 1 ? share + 1 : share);
        if (larger >= 1) --larger;
        if (horizontal) child->SetPosWidth(size);
        else child->SetPosHeight(size);
        child->Resize(&own);
        previous = child;
    }
}

void duLayout::ArrangeFlow() {
    const gfx::Rect own = RectOf(*this);
    int32_t rowBottom = Sat(int64_t{own.top} + startY_);
    const duPlugin* previous = nullptr;
    for (duPlugin* child : VisibleChildren(*this)) {
        if (previous) {
            const gfx::Rect p = RectOf(*previous);
            child->SetPosTop(Sat(int64_t{p.top} - own.top));
            child->SetPosLeft(Sat(int64_t{p.right} - own.left + xSpace_));
        } else {
            child->SetPosTop(startY_);
            child->SetPosLeft(startX_);
        }
        child->Resize(&own);
        if (RectOf(*child).right > own.right) {
            child->SetHorzAnchor(0);
            child->SetVertAnchor(0);
            const int64_t rowTop = int64_t{rowBottom} - own.top;
            child->SetPosTop(Sat(child == GetFirstChild() ? rowTop : rowTop + ySpace_));
            child->SetPosLeft(startX_);
            child->Resize(&own);
        }
        rowBottom = std::max(rowBottom, RectOf(*child).bottom);
        previous = child;
    }
}

void duLayout::OnChildShow(duPlugin*, int32_t) {
    if (Arranges()) Rearrange();
}

void duLayout::OnChildResize(duPlugin*) {
    if (!Arranges()) return;
    Rearrange();
    controls::Redraw(this, true);
}

intptr_t duLayout::OnWndProc(win::Window, uint32_t message, uintptr_t, intptr_t lParam) {
    if (message != win::WM_MOUSEMOVE || !controls::IsShownWithAncestors(this)) return 0;
    const int32_t x = static_cast<int16_t>(lParam & 0xFFFF);
    const int32_t y = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
    const bool inside = RectOf(*this).Contains(x, y);
    const uint32_t state = GetState();
    if (inside && state == kStateNormal) {
        SetState(kStateOver);
        controls::Redraw(this, true);
    } else if (!inside && state == kStateOver) {
        SetState(kStateNormal);
        controls::Redraw(this, true);
    }
    return 0;
}

void duLayout::SetAlwaysHot(bool v) {
    alwaysHot_ = v;
    if (v) {
        controls::AddHook(this);
        hooked_ = true;
    } else if (hooked_) {
        controls::RemoveHook(this);
        hooked_ = false;
    }
}

void duLayout::RegisterControlProperty() {
    duPropertyGroup* group = propertyGroup();
    if (!group) return;
    group->AddProperty(kPropertyInt, 0, u"type", &type_);
    group->AddProperty(kPropertyInt, 0, u"startx", &startX_);
    group->AddProperty(kPropertyInt, 0, u"starty", &startY_);
    group->AddProperty(kPropertyInt, 0, u"xspace", &xSpace_);
    group->AddProperty(kPropertyInt, 0, u"yspace", &ySpace_);
    group->AddProperty(kPropertyBool, 0, u"alwayshot", &alwaysHot_);
}

void duLayout::OnCreate() {
    Rearrange();
    if (alwaysHot_) SetAlwaysHot(true);
}

void duLayout::DrawObject(gfx::DrawContext& dc) { DrawPluginStyle(*this, dc); }

// ---- duGridLayout --------------------------------------------------------------------

void duGridLayout::ArrangeGrid() {
    int64_t count = 0;
    for (duPlugin* c = GetFirstChild(); c; c = c->GetNextSibling()) ++count;
    if (count > maxCount_) return;
    const int64_t spans = int64_t{maxCount_} - count;
    const int64_t width = RectOf(*this).width();
    int64_t x = startX_;
    int64_t y = startY_;
    int64_t i = 0;
    for (duPlugin* c = GetFirstChild(); c; c = c->GetNextSibling(), ++i) {
        if (i < spans) {
            c->SetPosLeft(Sat(x));
            c->SetPosTop(Sat(y));
            c->SetPosWidth(Sat(2 * int64_t{itemWidth_} + xSpace_));
            y += int64_t{itemHeight_} + ySpace_;
            x = startX_;
        } else {
            c->SetPosTop(Sat(y));
            c->SetPosLeft(Sat(x));
            x += int64_t{itemWidth_} + xSpace_;
            if (x + itemWidth_ > width) {
                y += int64_t{itemHeight_} + ySpace_;
                x = startX_;
            }
        }
    }
    Resize(nullptr);
}

void duGridLayout::RegisterControlProperty() {
    duPropertyGroup* group = propertyGroup();
    if (!group) return;
    group->AddProperty(kPropertyBool, 0, u"grid", &grid_);
    group->AddProperty(kPropertyInt, 0, u"startx", &startX_);
    group->AddProperty(kPropertyInt, 0, u"starty", &startY_);
    group->AddProperty(kPropertyInt, 0, u"xspace", &xSpace_);
    group->AddProperty(kPropertyInt, 0, u"yspace", &ySpace_);
    group->AddProperty(kPropertyInt, 0, u"maxcount", &maxCount_);
    group->AddProperty(kPropertyInt, 0, u"itemwidth", &itemWidth_);
    group->AddProperty(kPropertyInt, 0, u"itemheight", &itemHeight_);
}

void duGridLayout::OnCreate() {
    if (grid_) ArrangeGrid();
}

void duGridLayout::DrawObject(gfx::DrawContext& dc) { DrawPluginStyle(*this, dc); }

}  // namespace vexlo::ui
