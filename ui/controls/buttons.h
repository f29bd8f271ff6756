#pragma once
// The clickable controls of a skin: push buttons, check boxes, radio buttons and tab
// buttons, with their hover and press looks, cross-fades, images and tooltips.
#include <cstdint>

#include "ui/controls/button_parts.h"
#include "ui/core/notification.h"
#include "ui/core/plugin.h"

namespace vexlo::ui {

// The attributes every clickable control has: its icon and its tooltip.
class ButtonLook {
public:
    const char16_t* GetIcon() const { return common_.icon.image.c_str(); }
    void SetIcon(const char16_t* v) { common_.icon.image.Set(v ? v : u""); }
    int32_t GetIconX() const { return common_.icon.x; }
    void SetIconX(int32_t v) { common_.icon.x = v; }
    int32_t GetIconY() const { return common_.icon.y; }
    void SetIconY(int32_t v) { common_.icon.y = v; }
    int32_t GetIconWidth() const { return common_.icon.width; }
    void SetIconWidth(int32_t v) { common_.icon.width = v; }
    int32_t GetIconHeight() const { return common_.icon.height; }
    void SetIconHeight(int32_t v) { common_.icon.height = v; }
    const char16_t* GetTooltip() const { return common_.tooltip.c_str(); }
    void SetTooltip(const char16_t* v) { common_.tooltip.Set(v ? v : u""); }

protected:
    ButtonCommon common_;
};

// What push buttons, check boxes and tab buttons add: autosize with its fixed margins and
// the cross-fade between looks.
class ButtonSizingAndFade : public ButtonLook {
public:
    bool GetAutoSize() const { return common_.autosize != 0; }
    void SetAutoSize(bool v) { common_.autosize = v; }
    int32_t GetFixLeft() const { return common_.fixLeft; }
    void SetFixLeft(int32_t v) { common_.fixLeft = v; }
    int32_t GetFixRight() const { return common_.fixRight; }
    void SetFixRight(int32_t v) { common_.fixRight = v; }
    bool GetFade() const { return common_.fade != 0; }
    void SetFade(bool v) { common_.fade = v; }
    int32_t GetFadeInSpeed() const { return common_.fadeInSpeed; }
    void SetFadeInSpeed(int32_t v) { common_.fadeInSpeed = FadeSpeedOrDefault(v, kDefaultFadeInSpeed); }
    int32_t GetFadeOutSpeed() const { return common_.fadeOutSpeed; }
    void SetFadeOutSpeed(int32_t v) { common_.fadeOutSpeed = FadeSpeedOrDefault(v, kDefaultFadeOutSpeed); }
    const FadeRecord& fade() const { return common_.fadeState; }
};

class duButton : public duPlugin, public ButtonSizingAndFade {
public:
    const char16_t* GetTypeName() const override { return u"duButton"; }
    void SetText(const char16_t* text) override;
    void OnMouseIn(int32_t x, int32_t y) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void OnMouseLDown(int32_t x, int32_t y) override;
    void OnMouseLUp(int32_t x, int32_t y) override;
    void OnMouseDbClick(int32_t x, int32_t y) override;
    void OnTimer(uint32_t id) override;
    void OnRedraw() override;
    void RegisterControlProperty() override;
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;

    const char16_t* GetStatusIcon() const { return statusIcon_.image.c_str(); }
    void SetStatusIcon(const char16_t* v) { statusIcon_.image.Set(v ? v : u""); }
    int32_t GetStatusIconX() const { return statusIcon_.x; }
    void SetStatusIconX(int32_t v) { statusIcon_.x = v; }
    int32_t GetStatusIconY() const { return statusIcon_.y; }
    void SetStatusIconY(int32_t v) { statusIcon_.y = v; }
    int32_t GetStatusIconWidth() const { return statusIcon_.width; }
    void SetStatusIconWidth(int32_t v) { statusIcon_.width = v; }
    int32_t GetStatusIconHeight() const { return statusIcon_.height; }
    void SetStatusIconHeight(int32_t v) { statusIcon_.height = v; }
    bool GetGrayDisable() const { return grayDisable_ != 0; }
    void SetGrayDisable(bool v) { grayDisable_ = v; }

private:
    IconPlacement statusIcon_;
    int32_t grayDisable_ = 0;
};

class duCheckBox : public duPlugin, public ButtonSizingAndFade {
public:
    const char16_t* GetTypeName() const override { return u"duCheckBox"; }
    void SetText(const char16_t* text) override;
    void OnMouseIn(int32_t x, int32_t y) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void OnMouseLDown(int32_t x, int32_t y) override;
    void OnMouseLUp(int32_t x, int32_t y) override;
    void OnTimer(uint32_t id) override;
    void OnRedraw() override;
    void RegisterControlProperty() override;
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;

    bool GetChecked() const { return checked_ != 0; }
    // The flag and the matching state, without a redraw.
    void SetChecked(bool checked);

private:
    int32_t checked_ = 0;
};

class duRadio : public duPlugin, public ButtonLook {
public:
    const char16_t* GetTypeName() const override { return u"duRadio"; }
    void OnMouseIn(int32_t x, int32_t y) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void OnMouseLDown(int32_t x, int32_t y) override;
    void OnMouseLUp(int32_t x, int32_t y) override;
    void RegisterControlProperty() override;
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;

    // The reported state lies in the checked range.
    bool GetChecked() const;
    // Unchecks every radio of this group under the same parent (this one included), then
    // takes the checked or the normal state.
    void SetChecked(bool checked);
    int32_t GetGroupId() const { return groupId_; }

private:
    int32_t checkedAttribute_ = 0;
    int32_t groupId_ = 0;
};

class duTabButton : public duPlugin, public ButtonSizingAndFade {
public:
    const char16_t* GetTypeName() const override { return u"duTabButton"; }
    void SetText(const char16_t* text) override;
    void OnMouseIn(int32_t x, int32_t y) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void OnMouseLDown(int32_t x, int32_t y) override;
    void OnMouseLUp(int32_t x, int32_t y) override;
    void OnTimer(uint32_t id) override;
    void OnRedraw() override;
    void RegisterControlProperty() override;
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;

    bool GetSelected() const { return selected_ != 0; }
    // Deselects every tab button sibling (hiding its page) without notifications, then
    // selects this one; no repaint.
    void Select();
    const char16_t* GetTabPage() const { return tabPage_.c_str(); }
    void SetTabPage(const char16_t* v) { tabPage_.Set(v ? v : u""); }

private:
    // Stores the flag; only a change shows or hides the page.
    void SetSelectedFlag(bool selected);

    NameField tabPage_;
    int32_t selected_ = 0;
};

}  // namespace vexlo::ui
