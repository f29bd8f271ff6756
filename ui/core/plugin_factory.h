#pragma once
// The control factory: element names (compared without regard to case) to control
// classes. Control classes register their creators; a name without a class creates
// nothing.
#include <functional>
#include <string_view>

#include "ui/core/plugin.h"

namespace vexlo::ui {

using PluginCreator = std::function<ObjectPtr<duPlugin>()>;

// A new control of the class registered for the element name (with its type information),
// or none.
ObjectPtr<duPlugin> CreatePluginByType(std::u16string_view elementName);
// Replaces the class of an element name (lower-case ASCII as in the factory table).
void RegisterPluginClass(std::u16string_view elementName, PluginCreator creator);
// The class name the factory table gives an element name ("duButton" for "button"), or
// none for a name outside the table.
const char16_t* FactoryClassName(std::u16string_view elementName);

// The control that stands for a class until its own implementation registers: it reads
// the common attributes and reports the class name of its element.
class duGenericControl : public duPlugin {
public:
    explicit duGenericControl(const char16_t* className) : className_(className) {}
    const char16_t* GetTypeName() const override { return className_; }

private:
    const char16_t* className_;
};

}  // namespace vexlo::ui
