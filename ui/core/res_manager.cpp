#include "ui/core/res_manager.h"

#include <iterator>

#include "ui/core/attribute_values.h"
#include "ui/core/cursor_resource.h"
#include "ui/core/debug_print.h"
#include "ui/core/font_resource.h"
#include "ui/core/image_resource.h"
#include "ui/core/image_style.h"
#include "ui/core/region_resource.h"
#include "ui/core/shape_styles.h"
#include "ui/core/style_group.h"
#include "ui/core/text_style.h"

namespace vexlo::ui {

duResManager::Table* duResManager::TableOf(int kind) {
    return kind >= 1 && kind <= kResourceKindCount ? &tables_[kind - 1] : nullptr;
}

const duResManager::Table* duResManager::TableOf(int kind) const {
    return kind >= 1 && kind <= kResourceKindCount ? &tables_[kind - 1] : nullptr;
}

int duResManager::AddResObj(ObjectPtr<duResBase>& resource) {
    if (!resource) return 0;
    Table* table = TableOf(resource->GetResType());
    if (!table) return 0;
    std::u16string name = resource->GetName();
    if (table->count(name)) {
        DebugPrint(u"AddResObj [%s] failed\n", name);
        return 0;
    }
    table->emplace(std::move(name), std::move(resource));
    return 1;
}

int duResManager::DeleteResObj(const char16_t* name, int kind) { return RemoveResObj(name, kind) ? 1 : 0; }

duResBase* duResManager::GetResObj(const char16_t* name, int kind) const {
    const Table* table = TableOf(kind);
    if (!table || !name) return nullptr;
    auto it = table->find(std::u16string_view(name));
    return it == table->end() ? nullptr : it->second.get();
}

ObjectPtr<duResBase> duResManager::CreateResObj(const char16_t* name, int kind) {
    if (!name) return nullptr;
    ObjectPtr<duResBase> r;
    switch (kind) {
        case kResImage: r = MakeObject<duImage>(); break;
        case kResFont: r = MakeObject<duFont>(); break;
        case kResCursor: r = MakeObject<duCursor>(); break;
        case kResRegion: r = MakeObject<duRgn>(); break;
        case kResStyleGroup: r = MakeObject<duStyleGroup>(); break;
        default: return nullptr;
    }
    r->SetResManager(this);
    r->SetName(name);
    return r;
}

ObjectPtr<duStyleBase> duResManager::MakeStyle(int kind, duResManager* manager) {
    ObjectPtr<duStyleBase> s;
    switch (kind) {
        case kStyleImage: s = MakeObject<duImageStyle>(); break;
        case kStyleText: s = MakeObject<duTextStyle>(); break;
        case kStyleRect: s = MakeObject<duRectStyle>(); break;
        case kStyleLine: s = MakeObject<duLineStyle>(); break;
        default: return nullptr;
    }
    s->SetResManager(manager);
    return s;
}

ObjectPtr<duStyleBase> duResManager::CreateStyle(int kind) { return MakeStyle(kind, this); }

int32_t duResManager::GetResObjCount(int kind) const {
    const Table* table = TableOf(kind);
    return table ? static_cast<int32_t>(table->size()) : 0;
}

duResBase* duResManager::GetResObjByIndex(int32_t index, int kind) const {
    const Table* table = TableOf(kind);
    if (!table || index < 0 || static_cast<size_t>(index) >= table->size()) return nullptr;
    return std::next(table->begin(), index)->second.get();
}

int duResManager::ChangeResObjName(const char16_t* oldName, int kind, const char16_t* newName) {
    Table* table = TableOf(kind);
    if (!table || !oldName || !newName) return 0;
    // The table keeps names as the resource does: at most 127 characters.
    const std::u16string target(NameField(newName).view());
    if (table->count(target)) return 0;
    auto it = table->find(std::u16string_view(oldName));
    if (it == table->end()) return 0;
    auto node = table->extract(it);
    node.mapped()->SetName(target.c_str());
    node.key() = target;
    table->insert(std::move(node));
    return 1;
}

ObjectPtr<duResBase> duResManager::RemoveResObj(const char16_t* name, int kind) {
    Table* table = TableOf(kind);
    if (!table || !name) return nullptr;
    auto it = table->find(std::u16string_view(name));
    if (it == table->end()) return nullptr;
    ObjectPtr<duResBase> resource = std::move(it->second);
    table->erase(it);
    return resource;
}

ObjectPtr<duStyleBase> duResManager::CloneStyle(const duStyleBase* style) {
    return style ? style->Clone() : nullptr;
}

ObjectPtr<duStyleGroup> duResManager::CloneStyleGroup(const duStyleGroup* group, const char16_t* newName) {
    if (!group || !newName || !*newName) return nullptr;
    auto clone = MakeObject<duStyleGroup>();
    clone->SetResManager(this);
    clone->SetName(newName);
    for (int32_t i = 0; i < group->GetStyleCount(); ++i) clone->AddStyle(CloneStyle(group->GetStyleAt(i)));
    return clone;
}

bool duResManager::ChargePictureBytes(uint64_t bytes) {
    if (pictureBytes_ > pictureBudget_ || bytes > pictureBudget_ - pictureBytes_) return false;
    pictureBytes_ += bytes;
    return true;
}

void duResManager::LoadSection(const XmlElement& section, int kind) {
    for (XmlElement e = section.FirstChild(); e; e = e.NextSibling()) {
        NameField name;
        ReadTextAttribute(e, u"name", name);
        ObjectPtr<duResBase> resource = CreateResObj(name.c_str(), kind);
        if (!resource) continue;
        resource->CreateFromXml(e);
        AddResObj(resource);  // a duplicate stays in `resource` and is destroyed here
    }
}

}  // namespace vexlo::ui
