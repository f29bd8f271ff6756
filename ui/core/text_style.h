#pragma once
// duTextStyle: the control's text in a font, colour and alignment.
#include "ui/core/style_base.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duFont;

class duTextStyle : public duStyleBase {
public:
    const char16_t* GetTypeName() const override { return u"duTextStyle"; }
    int GetStyleType() const override { return kStyleText; }
    void Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view text, int alpha) override;
    int CreateFromXml(const XmlElement& element) override;
    ObjectPtr<duStyleBase> Clone() const override;

    // The font resource's system font, or none (the default interface font is used then).
    virtual text::FontPtr GetHFont() const;
    // (0, 0) first; the size of the text in the style's font.
    virtual void CalcTextSize(std::u16string_view text, gfx::Size* out) const;
    virtual const char16_t* GetFont() const { return font_.c_str(); }
    virtual void SetFont(const char16_t* name);
    virtual uint32_t GetTextColor() const { return color_; }
    virtual void SetTextColor(uint32_t c) { color_ = c; }
    virtual int32_t GetSingleLine() const { return singleLine_; }
    virtual void SetSingleLine(int32_t v) { singleLine_ = v; }
    virtual const char16_t* GetHAlign() const { return hAlign_.c_str(); }
    virtual void SetHAlign(const char16_t* v);
    virtual const char16_t* GetVAlign() const { return vAlign_.c_str(); }
    virtual void SetVAlign(const char16_t* v);

    duFont* FindFont() const;
    // The TextFlags of the alignment and line mode.
    unsigned Flags() const;

private:
    uint32_t color_ = 0;
    int32_t singleLine_ = 1;
    NameField font_;
    NameField hAlign_;
    NameField vAlign_;
};

}  // namespace vexlo::ui
