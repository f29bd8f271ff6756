#pragma once
// duStyleGroup: a named list of styles that paints a control, choosing the styles whose
// state mask shares a bit with the control's state.
#include <vector>

#include "ui/core/resource.h"
#include "ui/core/style_base.h"

namespace vexlo::ui {

class duStyleGroup : public duResBase {
public:
    const char16_t* GetTypeName() const override { return u"duStyleGroup"; }
    int GetResType() const override { return kResStyleGroup; }
    // One style per child element "image", "text", "rect" or "line" (any case); others skipped.
    int CreateFromXml(const XmlElement& element) override;

    virtual void Draw(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text, int alpha);
    virtual void DrawWithoutText(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state,
                                 std::u16string_view text, int alpha);
    virtual void DrawTextOnly(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text,
                              int alpha);
    // The same selection as Draw, every style in grey.
    virtual void DrawGray(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text,
                          int alpha);
    virtual int32_t GetStyleCount() const { return static_cast<int32_t>(styles_.size()); }
    // Appends; the group owns the style.
    virtual void AddStyle(ObjectPtr<duStyleBase> style);
    virtual int DeleteStyle(int32_t index);
    virtual duStyleBase* GetStyleAt(int32_t index) const;
    // The size of the text in the first text style matching the state; (0, 0) without one.
    virtual void MeasureText(uint32_t state, std::u16string_view text, gfx::Size* out) const;
    virtual int MoveStyleUp(int32_t index);
    virtual int MoveStyleDown(int32_t index);

private:
    enum class Selection { kAll, kWithoutText, kTextOnly };
    void DrawSelected(gfx::DrawContext& dc, const gfx::Rect& rect, uint32_t state, std::u16string_view text, int alpha,
                      Selection which);
    void DrawStyleGray(duStyleBase& style, gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view text,
                       int alpha);

    std::vector<ObjectPtr<duStyleBase>> styles_;
};

// The grey of a 0x00BBGGRR colour, in all three components.
uint32_t GreyColor(uint32_t color);

}  // namespace vexlo::ui
