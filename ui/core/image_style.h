#pragma once
// duImageStyle: a picture (or a selected part of it) drawn in one of six paint modes:
// "normal", "tile", "stretch", "stretchvert", "stretchhorz", "stretchpartall".
#include "ui/core/style_base.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duImage;

class duImageStyle : public duStyleBase {
public:
    const char16_t* GetTypeName() const override { return u"duImageStyle"; }
    int GetStyleType() const override { return kStyleImage; }
    void Draw(gfx::DrawContext& dc, const gfx::Rect& rect, std::u16string_view text, int alpha) override;
    int CreateFromXml(const XmlElement& element) override;
    ObjectPtr<duStyleBase> Clone() const override;

    virtual int32_t GetLeftPart() const { return leftPart_; }
    virtual void SetLeftPart(int32_t v) { leftPart_ = v; }
    virtual int32_t GetTopPart() const { return topPart_; }
    virtual void SetTopPart(int32_t v) { topPart_ = v; }
    virtual int32_t GetRightPart() const { return rightPart_; }
    virtual void SetRightPart(int32_t v) { rightPart_ = v; }
    virtual int32_t GetBottomPart() const { return bottomPart_; }
    virtual void SetBottomPart(int32_t v) { bottomPart_ = v; }
    virtual int32_t GetSelectLeft() const { return selectLeft_; }
    virtual void SetSelectLeft(int32_t v) { selectLeft_ = v; }
    virtual int32_t GetSelectTop() const { return selectTop_; }
    virtual void SetSelectTop(int32_t v) { selectTop_ = v; }
    virtual int32_t GetSelectWidth() const { return selectWidth_; }
    virtual void SetSelectWidth(int32_t v) { selectWidth_ = v; }
    virtual int32_t GetSelectHeight() const { return selectHeight_; }
    virtual void SetSelectHeight(int32_t v) { selectHeight_ = v; }
    virtual const char16_t* GetPicFile() const { return picFile_.c_str(); }
    virtual void SetPicFile(const char16_t* name);
    virtual const char16_t* GetPaintMode() const { return paintMode_.c_str(); }
    virtual void SetPaintMode(const char16_t* mode);

    // The image resource named by `picfile`, or none.
    duImage* FindImage() const;
    // The select rectangle confined to the picture; the whole picture when it is empty.
    // Empty when the selection lies outside the picture.
    gfx::Rect SourceRect(int imageWidth, int imageHeight) const;

private:
    int32_t leftPart_ = 0, topPart_ = 0, rightPart_ = 0, bottomPart_ = 0;
    int32_t selectLeft_ = 0, selectTop_ = 0, selectWidth_ = 0, selectHeight_ = 0;
    NameField picFile_;
    NameField paintMode_;
};

}  // namespace vexlo::ui
