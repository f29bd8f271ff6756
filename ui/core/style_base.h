#pragma once
// duStyleBase: one drawing step of a style group (an image, a text, a rectangle or a
// line), placed relative to the control's rectangle and drawn in the states it names.
#include <cstdint>
#include <string_view>

#include "platform/gfx/draw_context.h"
#include "platform/gfx/rect.h"
#include "ui/core/object.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {

class duResManager;

enum StyleKind : int {
    kStyleImage = 1,
    kStyleText = 2,
    kStyleRect = 3,
    kStyleLine = 4,
};

struct StylePlacement {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Negative left and top count from the right and bottom edges; right and bottom are added
// to the control's edges; a non-zero width or height fixes the size; a result of zero
// width and zero height is the control's rectangle.
gfx::Rect PlaceStyleRect(const StylePlacement& p, const gfx::Rect& control);

class duStyleBase : public duObject {
public:
    virtual int GetStyleType() const = 0;
    // Draws into the context for a control occupying `rect`, with the control's text and
    // constant alpha.
    virtual void Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view text, int alpha) = 0;
    // Reads the common attributes; each kind reads its own after them.
    virtual int CreateFromXml(const XmlElement& element);
    // A new style of the same kind with every attribute copied (type information and
    // manager included).
    virtual ObjectPtr<duStyleBase> Clone() const = 0;

    virtual int32_t GetLeft() const { return place_.left; }
    virtual void SetLeft(int32_t v) { place_.left = v; }
    virtual int32_t GetTop() const { return place_.top; }
    virtual void SetTop(int32_t v) { place_.top = v; }
    virtual int32_t GetRight() const { return place_.right; }
    virtual void SetRight(int32_t v) { place_.right = v; }
    virtual int32_t GetBottom() const { return place_.bottom; }
    virtual void SetBottom(int32_t v) { place_.bottom = v; }
    virtual int32_t GetWidth() const { return place_.width; }
    virtual void SetWidth(int32_t v) { place_.width = v; }
    virtual int32_t GetHeight() const { return place_.height; }
    virtual void SetHeight(int32_t v) { place_.height = v; }
    virtual uint32_t GetState() const { return state_; }
    virtual void SetState(uint32_t v) { state_ = v; }

    gfx::Rect PlaceStyleRect(const gfx::Rect& control) const { return ui::PlaceStyleRect(place_, control); }
    duResManager* resManager() const { return resManager_; }
    void SetResManager(duResManager* m) { resManager_ = m; }

protected:
    // Copies the common fields into a clone.
    void CopyBaseTo(duStyleBase& other) const;

private:
    StylePlacement place_;
    uint32_t state_ = 1;
    duResManager* resManager_ = nullptr;
};

// The GDI+ pen dash style of a border or line type ("solid", "dash", "dot", "dashdot",
// "dashnotdot", any case; anything else is solid).
gfx::DashStyle DashStyleFromName(std::u16string_view name);

}  // namespace vexlo::ui
