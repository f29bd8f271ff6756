#pragma once
// duFont: a named font of the skin and the system font made from it.
#include "platform/text/font.h"
#include "ui/core/resource.h"

namespace vexlo::ui {

class duFont : public duResBase {
public:
    const char16_t* GetTypeName() const override { return u"duFont"; }
    int GetResType() const override { return kResFont; }
    // height and weight always (absent gives 0), italic, underline and strikeout only for
    // "true" or "false" in any case, the face from `fontface`; then CreateHFont.
    int CreateFromXml(const XmlElement& element) override;

    virtual int32_t GetHeight() const { return height_; }
    virtual void SetHeight(int32_t v) { height_ = v; }
    virtual int32_t GetWeight() const { return weight_; }
    virtual void SetWeight(int32_t v) { weight_ = v; }
    virtual int32_t GetItalic() const { return italic_; }
    virtual void SetItalic(int32_t v) { italic_ = v; }
    virtual int32_t GetUnderline() const { return underline_; }
    virtual void SetUnderline(int32_t v) { underline_ = v; }
    virtual int32_t GetStrikeOut() const { return strikeout_; }
    virtual void SetStrikeOut(int32_t v) { strikeout_ = v; }
    virtual const char16_t* GetFontFace() const { return face_.c_str(); }
    virtual void SetFontFace(const char16_t* face);
    // The created font; none before CreateHFont.
    virtual text::FontPtr GetHFont() const { return font_; }
    virtual void SetHFont(text::FontPtr font) { font_ = std::move(font); }
    // A new font from the fields: character height = height, the weight, the styles, the face.
    virtual int CreateHFont();

private:
    int32_t height_ = 12;
    int32_t weight_ = 400;
    int32_t italic_ = 0;
    int32_t underline_ = 0;
    int32_t strikeout_ = 0;
    NameField face_;
    text::FontPtr font_;
};

}  // namespace vexlo::ui
