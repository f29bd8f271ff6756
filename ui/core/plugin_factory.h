#pragma once
// The control factory: element names (compared without regard to case) to control
// classes. Every name of the table starts with a generic control; a control family
// replaces the names it implements with RegisterPluginClass, usually from a
// registration function handed to RegisterControlFamily.
#include <functional>
#include <string_view>

#include "ui/core/plugin.h"

namespace vexlo::ui {

using PluginCreator = std::function<ObjectPtr<duPlugin>()>;

// A new control of the class registered for the element name (with its type information),
// or none.
ObjectPtr<duPlugin> CreatePluginByType(std::u16string_view elementName);
// Replaces the class of an element name.
void RegisterPluginClass(std::u16string_view elementName, PluginCreator creator);
// The class name the factory table gives an element name ("duButton" for "button"), or
// none for a name outside the table.
const char16_t* FactoryClassName(std::u16string_view elementName);

// A family's registration function (it calls RegisterPluginClass for its names). It runs
// at once and again at every InitUILibrary; registering the same function twice keeps one.
using ControlFamilyRegistrar = void (*)();
void RegisterControlFamily(ControlFamilyRegistrar registrar);
// Puts every name back to its generic control, then runs the registered families.
void ResetPluginFactory();

// The control that stands for a class until its own implementation registers: it reads
// the common attributes, reports the class name of its element and paints its style
// group with its state, text and alpha.
class duGenericControl : public duPlugin {
public:
    explicit duGenericControl(const char16_t* className) : className_(className) {}
    const char16_t* GetTypeName() const override { return className_; }
    void RegisterControlProperty() override {}
    void OnCreate() override {}
    void DrawObject(gfx::DrawContext& dc) override;

private:
    const char16_t* className_;
};

// Draws the style group named by the control's `style` over the control's own size, with
// its state, text and alpha; nothing without such a group.
void DrawPluginStyle(duPlugin& plugin, gfx::DrawContext& dc);

}  // namespace vexlo::ui
