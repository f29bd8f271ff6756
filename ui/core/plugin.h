#pragma once
// duPlugin: the base of every control of a skin window: a windowless element with a
// name, a rectangle in its host window, a place in the control tree, a style and a state.
// Its virtual operations, in their declaration order, are the contract between the
// window machinery and the controls: the window procedure delivers mouse, keyboard,
// focus, timer and paint events through them.
//
// Mouse coordinates handed to the operations are client coordinates of the host window
// (not relative to the control), except OnMouseWheel's, which are screen coordinates.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/draw_context.h"
#include "platform/gfx/rect.h"
#include "platform/win/handles.h"
#include "ui/core/object.h"
#include "ui/core/property_group.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duPlugin : public duObject {
public:
    duPlugin();
    ~duPlugin() override;
    duPlugin(const duPlugin&) = delete;
    duPlugin& operator=(const duPlugin&) = delete;
    const char16_t* GetTypeName() const override { return u"duPlugin"; }

    // ---- Getters ----
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
    // The state styles are chosen by: the state field with disable and focus folded in.
    virtual uint32_t GetState() const;
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
    virtual gfx::Bitmap* GetCacheBitmap() const { return cacheBitmap_.get(); }

    // ---- Setters: they store the field and nothing else unless said ----
    // At most 127 characters; none clears.
    virtual void SetName(const char16_t* v) { SetField(name_, v); }
    virtual void SetStyle(const char16_t* v) { SetField(style_, v); }
    // None gives the empty text.
    virtual void SetText(const char16_t* v) { text_ = v ? v : u""; }
    virtual void SetCursor(const char16_t* v) { SetField(cursor_, v); }
    virtual void SetVisible(int32_t v) { visible_ = v; }
    // The flag only; moving the focus is SetFocusPlugin's job.
    virtual void SetFocus(int32_t v) { focus_ = v; }
    virtual void SetDisable(int32_t v) { disable_ = v; }
    virtual void SetCached(int32_t v) { cached_ = v; }
    virtual void SetOpaque(int32_t v) { opaque_ = v; }
    virtual void SetHwnd(win::Window w) { hostWindow_ = w; }
    virtual void SetState(uint32_t v) { state_ = v; }
    virtual void SetZorder(int32_t v) { zorder_ = v; }
    // Copies the rectangle; none is ignored.
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
    // Takes the object; the previous one is deleted.
    virtual void SetCacheBitmap(std::unique_ptr<gfx::Bitmap> bitmap) { cacheBitmap_ = std::move(bitmap); }

    // ---- Operations ----
    // Anchor layout in `parent` (none: the parent's rectangle; a control without parent
    // takes its host window's client rectangle), then Resize(none) on every child.
    virtual void Resize(const gfx::Rect* parent);
    // The control of the same host window registered under that name; none when missing.
    virtual duPlugin* GetPluginByName(const char16_t* name);
    virtual void OnMouseIn(int32_t, int32_t) {}
    virtual void OnMouseLeave(int32_t, int32_t) {}
    virtual void OnMouseLDown(int32_t, int32_t) {}
    virtual void OnMouseLUp(int32_t, int32_t) {}
    virtual void OnMouseRDown(int32_t, int32_t) {}
    virtual void OnMouseRUp(int32_t, int32_t) {}
    virtual void OnMouseHover(int32_t, int32_t) {}
    virtual void OnMouseMove(int32_t, int32_t) {}
    virtual void OnMouseDbClick(int32_t, int32_t) {}
    // x and y are screen coordinates.
    virtual void OnMouseWheel(uint32_t /*keys*/, int32_t /*delta*/, int32_t /*x*/, int32_t /*y*/) {}
    virtual void OnCaptureChanged(duPlugin* /*newCapture*/) {}
    virtual int OnKillFocus(duPlugin* /*gaining*/) { return 0; }
    virtual int OnSetFocus(duPlugin* /*losing*/) { return 0; }
    virtual void OnKeyDown(uint32_t /*key*/, uint32_t /*repeat*/, uint32_t /*flags*/) {}
    virtual void OnKeyUp(uint32_t /*key*/, uint32_t /*repeat*/, uint32_t /*flags*/) {}
    virtual void OnTimer(uint32_t /*id*/) {}
    virtual void OnChildShow(duPlugin* /*child*/, int32_t /*visible*/) {}
    virtual void OnChildResize(duPlugin* /*child*/) {}
    // Called right before the control is repainted on request.
    virtual void OnRedraw() {}
    // A scroll bar child calls these on its parent.
    virtual void OnVScroll(int32_t /*code*/, int32_t /*position*/) {}
    virtual void OnHScroll(int32_t /*code*/, int32_t /*position*/) {}
    // Sees every message of the host window while the control is a message hook.
    virtual intptr_t OnWndProc(win::Window, uint32_t, uintptr_t, intptr_t) { return 0; }
    // The cursor resource named by `cursor`, or the standard arrow; returns 1.
    virtual int OnSetCursor();
    virtual void OnChildDelete(duPlugin* /*child*/) {}
    // Declares the control's own attributes on its property group.
    virtual void RegisterControlProperty() = 0;
    // Called once for every control after the whole window is built and named.
    virtual void OnCreate() = 0;
    // Paints the control: the context's origin is the control's top-left corner and
    // drawing is clipped to its visible rectangle.
    virtual void DrawObject(gfx::DrawContext& dc) = 0;

    // ---- Not part of the virtual contract ----
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
    // Process-wide serial number, never reused: what tells this control from a later one
    // created at the same address (PluginRef).
    uint64_t serial() const { return serial_; }
    // The raw state field, without GetState's derivation.
    uint32_t stateField() const { return state_; }

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
    std::unique_ptr<gfx::Bitmap> cacheBitmap_;
    int32_t tabOrder_ = 0;
    uint64_t serial_;
};

// The state a control with state field `state`, disable and focus flags reports.
uint32_t DeriveState(uint32_t state, bool disabled, bool focused);

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
