#pragma once
// duWindow: the root control of every skin window. It carries the window-level
// attributes (caption area, size limits, sizing border, region, layered painting) and
// answers the window's hit testing, size limits and caption drags.
#include <cstdint>

#include "platform/win/types.h"
#include "ui/core/plugin.h"

namespace vexlo::ui {

class duWindow : public duPlugin {
public:
    const char16_t* GetTypeName() const override { return u"duWindow"; }

    virtual int32_t GetCaptionHeight() const { return captionHeight_; }
    virtual void SetCaptionHeight(int32_t v) { captionHeight_ = v; }
    virtual int32_t GetMinWidth() const { return minWidth_; }
    virtual void SetMinWidth(int32_t v) { minWidth_ = v; }
    virtual int32_t GetMinHeight() const { return minHeight_; }
    virtual void SetMinHeight(int32_t v) { minHeight_ = v; }
    virtual int32_t GetMaxWidth() const { return maxWidth_; }
    virtual void SetMaxWidth(int32_t v) { maxWidth_ = v; }
    virtual int32_t GetMaxHeight() const { return maxHeight_; }
    virtual void SetMaxHeight(int32_t v) { maxHeight_ = v; }
    virtual int32_t GetX() const { return x_; }
    virtual void SetX(int32_t v) { x_ = v; }
    virtual int32_t GetY() const { return y_; }
    virtual void SetY(int32_t v) { y_ = v; }
    virtual int32_t GetBorderSize() const { return borderSize_; }
    virtual void SetBorderSize(int32_t v) { borderSize_ = v; }
    virtual const char16_t* GetRgn() const { return rgn_.c_str(); }
    // At most 127 characters; none clears.
    virtual void SetRgn(const char16_t* v) {
        if (v) rgn_.Set(v);
        else rgn_.Clear();
    }
    virtual void SetCaptionLeft(int32_t v) { captionLeft_ = v; }
    virtual void SetCaptionRight(int32_t v) { captionRight_ = v; }
    virtual void SetCaptionTop(int32_t v) { captionTop_ = v; }

    void RegisterControlProperty() override;
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;
    void OnMouseLDown(int32_t x, int32_t y) override;

    // WM_NCHITTEST for a client point; kept as the last hit-test result.
    int32_t HitTest(int32_t x, int32_t y);
    int32_t lastHitTest() const { return lastHitTest_; }
    // WM_GETMINMAXINFO.
    void FillMinMaxInfo(win::MinMaxInfo& info) const;
    // Asks the region resource for the window's current size and applies it (non-layered
    // windows); nothing without a resource or region.
    void ApplyRegion();
    bool IsLayered() const { return layered_ != 0; }
    // The caption area in client coordinates.
    gfx::Rect CaptionRect() const;

private:
    int32_t captionHeight_ = 0;
    int32_t captionLeft_ = 0;
    int32_t captionRight_ = 0;
    int32_t captionTop_ = 0;
    int32_t minWidth_ = 0;
    int32_t minHeight_ = 0;
    int32_t maxWidth_ = 0;
    int32_t maxHeight_ = 0;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t borderSize_ = 0;
    NameField rgn_;
    int32_t layered_ = 0;
    int32_t lastHitTest_ = 1;
};

// The hit-test code of a client point for a window of width by height with a sizing
// border of `border` pixels.
int32_t BorderHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t border);

}  // namespace vexlo::ui
