#include "ui/core/plugin_factory.h"

#include <map>
#include <string>

#include <algorithm>
#include <vector>

#include "ui/core/du_window.h"
#include "ui/core/style_group.h"
#include "ui/core/wide_text.h"
#include "ui/core/window_manager.h"
#include "ui/core/window_record.h"

namespace vexlo::ui {
namespace {

struct FactoryEntry {
    std::u16string_view element;
    const char16_t* className;
};

constexpr FactoryEntry kFactoryTable[] = {
    {u"duwindow", u"duWindow"},
    {u"button", u"duButton"},
    {u"layout", u"duLayout"},
    {u"tabbutton", u"duTabButton"},
    {u"checkbox", u"duCheckBox"},
    {u"radio", u"duRadio"},
    {u"static", u"duStatic"},
    {u"edit", u"duEdit"},
    {u"scrollbar", u"duScroll"},
    {u"scrollview", u"duScrollView"},
    {u"reportview", u"duReportView"},
    {u"listbox", u"duListBox"},
    {u"combobox", u"duComboBox"},
    {u"listboxex", u"duListBoxEx"},
    {u"impanelnode", u"duIMPanelNode"},
    {u"scrollcontainer", u"duScrollContainer"},
    {u"spin", u"duSpin"},
    {u"hwndobj", u"duHwndObj"},
    {u"gifctrl", u"duGifCtrl"},
    {u"ledtimer", u"duLEDTimer"},
    {u"menubar", u"duMenuBar"},
    {u"outlookbar", u"duOutlookBar"},
    {u"progress", u"duProgress"},
    {u"slider", u"duSlider"},
    {u"splitter", u"duSplitter"},
    {u"treectrl", u"duTreeCtrl"},
    {u"link", u"duLink"},
    {u"xmlstatic", u"duXmlStatic"},
    {u"staticex", u"duStaticEx"},
    {u"menuitem", u"duMenuItem"},
    {u"page", u"duPage"},
    {u"headerctrl", u"duHeaderCtrl"},
    {u"listctrl", u"duListCtrl"},
    {u"treelistctrl", u"duTreeListCtrl"},
    {u"treelistitem", u"duTreeListItem"},
    {u"flash", u"duFlash"},
    {u"animation", u"duAnimation"},
    {u"gridlayout", u"duGridLayout"},
    {u"pie", u"duPie"},
    {u"menu", u"duMenu"},
    {u"mledit", u"duMLEdit"},
    {u"remotectrl", u"duRemoteCtrl"},
};

using CreatorTable = std::map<std::u16string, PluginCreator, std::less<>>;

CreatorTable BaseCreators() {
    CreatorTable m;
    for (const FactoryEntry& e : kFactoryTable) {
        const char16_t* name = e.className;
        m.emplace(std::u16string(e.element), [name] { return ObjectPtr<duPlugin>(new duGenericControl(name)); });
    }
    m[u"duwindow"] = [] { return ObjectPtr<duPlugin>(new duWindow()); };
    return m;
}

CreatorTable& Creators() {
    static CreatorTable creators = BaseCreators();
    return creators;
}

std::vector<ControlFamilyRegistrar>& Families() {
    static std::vector<ControlFamilyRegistrar> families;
    return families;
}

}  // namespace

const char16_t* FactoryClassName(std::u16string_view elementName) {
    for (const FactoryEntry& e : kFactoryTable) {
        if (EqualsNoCase(e.element, elementName)) return e.className;
    }
    return nullptr;
}

void RegisterPluginClass(std::u16string_view elementName, PluginCreator creator) {
    Creators()[LowerAscii(elementName)] = std::move(creator);
}

void RegisterControlFamily(ControlFamilyRegistrar registrar) {
    if (!registrar) return;
    auto& families = Families();
    if (std::find(families.begin(), families.end(), registrar) == families.end()) families.push_back(registrar);
    registrar();
}

void ResetPluginFactory() {
    Creators() = BaseCreators();
    for (ControlFamilyRegistrar registrar : Families()) registrar();
}

void DrawPluginStyle(duPlugin& plugin, gfx::DrawContext& dc) {
    if (!*plugin.GetStyle()) return;
    WindowRecord* record = GetWindowRecord(plugin.GetHwnd());
    if (!record || !record->windowManager) return;
    duResManager* res = record->windowManager->GetResManager();
    if (!res) return;
    auto* group = static_cast<duStyleGroup*>(res->GetResObj(plugin.GetStyle(), kResStyleGroup));
    if (!group) return;
    gfx::Rect r;
    plugin.GetRect(&r);
    group->Draw(dc, gfx::Rect{0, 0, r.width(), r.height()}, plugin.GetState(), plugin.GetText(), plugin.GetAlpha());
}

void duGenericControl::DrawObject(gfx::DrawContext& dc) { DrawPluginStyle(*this, dc); }

ObjectPtr<duPlugin> CreatePluginByType(std::u16string_view elementName) {
    auto& creators = Creators();
    auto it = creators.find(LowerAscii(elementName));
    if (it == creators.end() || !it->second) return nullptr;
    ObjectPtr<duPlugin> plugin = it->second();
    if (plugin) AssignTypeInfo(*plugin);
    return plugin;
}

}  // namespace vexlo::ui
