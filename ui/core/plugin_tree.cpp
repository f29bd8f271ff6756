#include "ui/core/plugin_tree.h"

#include "ui/core/attribute_values.h"
#include "ui/core/debug_print.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_registry.h"

namespace vexlo::ui {

void ReadCommonAttributes(duPlugin& p, const XmlElement& e) {
    NameField field;
    ReadTextAttribute(e, u"name", field);
    p.SetName(field.c_str());
    ReadTextAttribute(e, u"style", field);
    p.SetStyle(field.c_str());
    ReadTextAttribute(e, u"cursor", field);
    p.SetCursor(field.c_str());
    p.SetText(e.AttributeOrEmpty(u"text").c_str());
    int32_t flag = p.IsVisible();
    ReadBoolAttribute(e, u"visible", flag);
    p.SetVisible(flag);
    flag = p.IsCached();
    ReadBoolAttribute(e, u"cached", flag);
    p.SetCached(flag);
    flag = p.IsOpaque();
    ReadBoolAttribute(e, u"opaque", flag);
    p.SetOpaque(flag);
    p.SetZorder(ReadIntAttribute(e, u"zorder"));
    p.SetPosLeft(ReadPositionAttribute(e, u"left"));
    if (auto alpha = e.Attribute(u"alpha"); alpha && !alpha->empty()) p.SetAlpha(ParseInteger(*alpha));
    p.SetPosTop(ReadPositionAttribute(e, u"top"));
    p.SetPosRight(ReadIntAttribute(e, u"right"));
    p.SetPosBottom(ReadIntAttribute(e, u"bottom"));
    p.SetHorzAnchor(ReadIntAttribute(e, u"horzanchor"));
    p.SetVertAnchor(ReadIntAttribute(e, u"vertanchor"));
    // A percentage when the anchor is 1 reads the same as a plain integer.
    p.SetPosWidth(p.GetHorzAnchor() == 1 ? ParsePercent(e.AttributeOrEmpty(u"width")) : ReadIntAttribute(e, u"width"));
    p.SetPosHeight(p.GetVertAnchor() == 1 ? ParsePercent(e.AttributeOrEmpty(u"height"))
                                          : ReadIntAttribute(e, u"height"));
    p.SetTabOrder(ReadIntAttribute(e, u"taborder"));
}

int BuildPluginTree(duPlugin* plugin, const ElementRef& element, WindowRecord* record) {
    if (!plugin || !element) return 0;
    const XmlElement& e = element.element;
    if (record) plugin->SetHwnd(record->hostWindow);
    plugin->SetType(e.Name());
    ReadCommonAttributes(*plugin, e);

    plugin->SetPropertyGroup(std::make_unique<duPropertyGroup>(element));
    plugin->RegisterControlProperty();
    plugin->propertyGroup()->ParseProperties();

    if (duPlugin* parent = plugin->GetParent()) {
        plugin->Resize(nullptr);
        if (plugin->GetZorder() == 0) plugin->SetZorder(gfx::SaturatingAdd(parent->GetZorder(), 1));
    } else {
        const gfx::Rect r{0, 0, plugin->GetPosWidth(), plugin->GetPosHeight()};
        plugin->SetRect(&r);
    }
    AddLivePlugin(plugin);

    for (XmlElement child = e.FirstChild(); child; child = child.NextSibling()) {
        ObjectPtr<duPlugin> created = CreatePluginByType(child.Name());
        if (!created) continue;
        duPlugin* raw = created.release();  // the tree owns its controls from here on
        plugin->AppendChild(raw);
        BuildPluginTree(raw, ElementRef{element.document, child}, record);
    }
    return 1;
}

}  // namespace vexlo::ui
