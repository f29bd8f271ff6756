#pragma once
// duPlugin: the base of every control of a skin window: a windowless element with a
// name, a rectangle in its host window, a place in the control tree, a style and a state.
// This holds the fields and operations the skin reading and the anchor layout need.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/draw_context.h"
#include "platform/gfx/rect.h"
#include "platform/win/handles.h"
#include "ui/core/object.h"
#include "ui/core/property_group.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duPlugin : public duObject {
public:
    duPlugin() = default;
    ~duPlugin() override;
    const char16_t* GetTypeName() const override { return u"duPlugin"; }

    virtual const char16_t* GetType() const { return type_.c_str(); }
    virtual const char16_t* GetName() const { return name_.c_str(); }
    virtual const char16_t* GetStyle() const { return style_.c_str(); }
    virtual int32_t GetTextLength() const { return static_cast<int32_t>(text_.size()); }
    virtual const char16_t* GetText() const { return text_.c_str(); }
    virtual const char16_t* GetCursor() const { return cursor_.c_str(); }
    virtual int32_t IsVisible() const { return visible_; }
    virtual int32_t IsFocus() const { return focus_; }
    virtual int32_t IsDisable() const { return disable_; }
    virtual int32_t IsCached() const { return cached_; }
    virtual int32_t IsOpaque() const { return opaque_; }
    virtual win::Window GetHwnd() const { return hostWindow_; }
    virtual uint32_t GetState() const { return state_; }
    virtual int32_t GetZorder() const { return zorder_; }
    virtual void GetRect(gfx::Rect* out) const {
        if (out) *out = rect_;
    }
    virtual int32_t GetPosTop() const { return top_; }
    virtual int32_t GetPosLeft() const { return left_; }
    virtual int32_t GetPosRight() const { return right_; }
    virtual int32_t GetPosBottom() const { return bottom_; }
    virtual int32_t GetHorzAnchor() const { return horzAnchor_; }
    virtual int32_t GetVertAnchor() const { return vertAnchor_; }
    virtual int32_t GetPosWidth() const { return width_; }
    virtual int32_t GetPosHeight() const { return height_; }
    virtual int32_t GetAlpha() const { return alpha_; }
    virtual duPlugin* GetParent() const { return parent_; }
    virtual duPlugin* GetFirstChild() const { return firstChild_; }
    virtual duPlugin* GetLastChild() const { return lastChild_; }
    virtual duPlugin* GetPreSibling() const { return previous_; }
    virtual duPlugin* GetNextSibling() const { return next_; }
    virtual int32_t GetParam() const { return param_; }

    virtual void SetName(const char16_t* v) { SetField(name_, v); }
    virtual void SetStyle(const char16_t* v) { SetField(style_, v); }
    virtual void SetText(const char16_t* v) { text_ = v ? v : u""; }
    virtual void SetCursor(const char16_t* v) { SetField(cursor_, v); }
    virtual void SetVisible(int32_t v) { visible_ = v; }
    virtual void SetFocus(int32_t v) { focus_ = v; }
    virtual void SetDisable(int32_t v) { disable_ = v; }
    virtual void SetCached(int32_t v) { cached_ = v; }
    virtual void SetOpaque(int32_t v) { opaque_ = v; }
    virtual void SetHwnd(win::Window w) { hostWindow_ = w; }
    virtual void SetState(uint32_t v) { state_ = v; }
    virtual void SetZorder(int32_t v) { zorder_ = v; }
    virtual void SetRect(const gfx::Rect* r) {
        if (r) rect_ = *r;
    }
    virtual void SetPosTop(int32_t v) { top_ = v; }
    virtual void SetPosLeft(int32_t v) { left_ = v; }
    virtual void SetPosRight(int32_t v) { right_ = v; }
    virtual void SetPosBottom(int32_t v) { bottom_ = v; }
    virtual void SetHorzAnchor(int32_t v) { horzAnchor_ = v; }
    virtual void SetVertAnchor(int32_t v) { vertAnchor_ = v; }
    virtual void SetPosWidth(int32_t v) { width_ = v; }
    virtual void SetPosHeight(int32_t v) { height_ = v; }
    virtual void SetAlpha(int32_t v) { alpha_ = v; }
    virtual void SetParent(duPlugin* p) { parent_ = p; }
    virtual void SetFirstChild(duPlugin* p) { firstChild_ = p; }
    virtual void SetLastChild(duPlugin* p) { lastChild_ = p; }
    virtual void SetPreSibling(duPlugin* p) { previous_ = p; }
    virtual void SetNextSibling(duPlugin* p) { next_ = p; }
    virtual void SetParam(int32_t v) { param_ = v; }

    // Anchor layout in the parent's rectangle (or `parent` when given), then the children.
    virtual void Resize(const gfx::Rect* parent);
    // Declares the control's own attributes on its property group.
    virtual void RegisterControlProperty() {}
    virtual void OnCreate() {}
    virtual void DrawObject(gfx::DrawContext&) {}

    // The element name the control was made from, kept as written (at most 127 characters).
    void SetType(std::u16string_view type) { type_.Set(type); }
    // Whether the element name is `lowerName` without regard to case.
    bool TypeIs(std::u16string_view lowerName) const;
    duPropertyGroup* propertyGroup() const { return properties_.get(); }
    void SetPropertyGroup(std::unique_ptr<duPropertyGroup> group) { properties_ = std::move(group); }
    // Links a control without a parent as the last child.
    void AppendChild(duPlugin* child);
    int32_t GetTabOrder() const { return tabOrder_; }
    void SetTabOrder(int32_t v) { tabOrder_ = v; }

private:
    template <size_t N>
    static void SetField(WideField<N>& f, const char16_t* v) {
        if (v) f.Set(v);
        else f.Clear();
    }

    NameField type_;
    NameField name_;
    NameField style_;
    NameField cursor_;
    std::u16string text_;
    int32_t visible_ = 1;
    int32_t focus_ = 0;
    int32_t disable_ = 0;
    int32_t cached_ = 0;
    int32_t opaque_ = 0;
    win::Window hostWindow_;
    int32_t zorder_ = 0;
    uint32_t state_ = 1;
    int32_t alpha_ = 255;
    int32_t left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    int32_t horzAnchor_ = 0, vertAnchor_ = 0;
    int32_t width_ = 0, height_ = 0;
    int32_t param_ = 0;
    duPlugin* parent_ = nullptr;
    duPlugin* firstChild_ = nullptr;
    duPlugin* lastChild_ = nullptr;
    duPlugin* next_ = nullptr;
    duPlugin* previous_ = nullptr;
    std::unique_ptr<duPropertyGroup> properties_;
    gfx::Rect rect_;
    int32_t tabOrder_ = 0;
};

// One axis of the anchor layout: the edges of a control from the parent's edges and the
// control's offsets, size and anchor mode (0 fixed size, 1 percentage size, 2 stretch,
// 3 fixed); other modes keep `current`.
struct AnchorSpan {
    int32_t first;
    int32_t second;
};
AnchorSpan LayoutAxis(int32_t parentFirst, int32_t parentSecond, int32_t offset, int32_t farOffset, int32_t size,
                      int32_t anchor, AnchorSpan current);

// Destroys a control and its whole subtree (children first), taking each out of the
// live-control registry.
void DestroyPluginTree(duPlugin* root);

}  // namespace vexlo::ui
