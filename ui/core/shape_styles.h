#pragma once
// duRectStyle (a filled and/or bordered rectangle) and duLineStyle (one line), drawn with
// the style's colours under the alpha of the call.
#include "ui/core/style_base.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duRectStyle : public duStyleBase {
public:
    const char16_t* GetTypeName() const override { return u"duRectStyle"; }
    int GetStyleType() const override { return kStyleRect; }
    void Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view text, int alpha) override;
    int CreateFromXml(const XmlElement& element) override;
    ObjectPtr<duStyleBase> Clone() const override;

    virtual uint32_t GetFillColor() const { return fillColor_; }
    virtual void SetFillColor(uint32_t c) { fillColor_ = c; }
    virtual uint32_t GetBorderColor() const { return borderColor_; }
    virtual void SetBorderColor(uint32_t c) { borderColor_ = c; }
    virtual int32_t GetFill() const { return fill_; }
    virtual void SetFill(int32_t v) { fill_ = v; }
    virtual int32_t GetBorder() const { return border_; }
    virtual void SetBorder(int32_t v) { border_ = v; }
    virtual const char16_t* GetBorderType() const { return borderType_.c_str(); }
    virtual void SetBorderType(const char16_t* v);
    virtual int32_t GetBorderWidth() const { return borderWidth_; }
    virtual void SetBorderWidth(int32_t v) { borderWidth_ = v; }

private:
    uint32_t fillColor_ = 0xFFFFFF;
    uint32_t borderColor_ = 0;
    int32_t fill_ = 0;
    int32_t border_ = 0;
    NameField borderType_;
    int32_t borderWidth_ = 1;
};

class duLineStyle : public duStyleBase {
public:
    const char16_t* GetTypeName() const override { return u"duLineStyle"; }
    int GetStyleType() const override { return kStyleLine; }
    void Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view text, int alpha) override;
    int CreateFromXml(const XmlElement& element) override;
    ObjectPtr<duStyleBase> Clone() const override;

    virtual uint32_t GetColor() const { return color_; }
    virtual void SetColor(uint32_t c) { color_ = c; }
    virtual int32_t GetLineWidth() const { return lineWidth_; }
    virtual void SetLineWidth(int32_t v) { lineWidth_ = v; }
    virtual const char16_t* GetLineType() const { return lineType_.c_str(); }
    // None gives "solid".
    virtual void SetLineType(const char16_t* v);
    virtual gfx::Point GetStartPoint() const { return start_; }
    // None gives (0, 0).
    virtual void SetStartPoint(const gfx::Point* p) { start_ = p ? *p : gfx::Point{}; }
    virtual gfx::Point GetEndPoint() const { return end_; }
    virtual void SetEndPoint(const gfx::Point* p) { end_ = p ? *p : gfx::Point{}; }

    // The line's ends for a control rectangle: negative coordinates count from the right
    // and bottom edges of the placed rectangle.
    std::pair<gfx::Point, gfx::Point> Ends(const gfx::Rect& control) const;

private:
    uint32_t color_ = 0;
    int32_t lineWidth_ = 1;
    NameField lineType_;
    gfx::Point start_;
    gfx::Point end_;
};

// A pen width as the drawing library takes it: a width that is not positive draws the
// thinnest line, one pixel.
float PenWidth(int32_t width);

}  // namespace vexlo::ui
