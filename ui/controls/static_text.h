#pragma once
// Passive texts: a static text with its tooltip rule, and a link that opens its address.
#include <cstdint>

#include "ui/core/notification.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/wide_text.h"

namespace vexlo::ui {

class duStatic : public duPlugin {
public:
    const char16_t* GetTypeName() const override { return u"duStatic"; }
    void OnMouseIn(int32_t x, int32_t y) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void RegisterControlProperty() override;
    void OnCreate() override {}
    void DrawObject(gfx::DrawContext& dc) override { DrawPluginStyle(*this, dc); }

    bool GetShowTooltip() const { return showTooltip_ != 0; }
    void SetShowTooltip(bool v) { showTooltip_ = v; }
    // Whether the text fits the placement of the style's first text item (a control
    // without a style or text item counts as fitting: nothing to show).
    bool TextFits() const;

private:
    int32_t showTooltip_ = 0;
};

class duLink : public duPlugin {
public:
    const char16_t* GetTypeName() const override { return u"duLink"; }
    void OnMouseIn(int32_t x, int32_t y) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void OnMouseLDown(int32_t x, int32_t y) override;
    void OnMouseLUp(int32_t x, int32_t y) override;
    void RegisterControlProperty() override;
    void OnCreate() override {}
    void DrawObject(gfx::DrawContext& dc) override { DrawPluginStyle(*this, dc); }

    const char16_t* GetUrl() const { return url_.c_str(); }
    void SetUrl(const char16_t* v) { url_.Set(v ? v : u""); }
    // Hands the address to the desktop's opener (web and mail addresses only).
    bool OpenUrl() const;

private:
    WideField<1024> url_;
};

}  // namespace vexlo::ui
