#include "ui/controls/register_controls.h"

#include "ui/controls/buttons.h"
#include "ui/controls/layout.h"
#include "ui/controls/rich_text.h"
#include "ui/controls/static_text.h"
#include "ui/core/plugin_factory.h"

namespace vexlo::ui {
namespace {

template <class T>
void Register(std::u16string_view element) {
    RegisterPluginClass(element, [] { return ObjectPtr<duPlugin>(new T()); });
}

void RegisterFamily() {
    Register<duButton>(u"button");
    Register<duCheckBox>(u"checkbox");
    Register<duRadio>(u"radio");
    Register<duTabButton>(u"tabbutton");
    Register<duStatic>(u"static");
    Register<duLink>(u"link");
    Register<duLayout>(u"layout");
    Register<duGridLayout>(u"gridlayout");
    Register<duStaticEx>(u"staticex");
    Register<duXmlStatic>(u"xmlstatic");
}

}  // namespace

void RegisterButtonAndTextControls() { RegisterControlFamily(&RegisterFamily); }

}  // namespace vexlo::ui
