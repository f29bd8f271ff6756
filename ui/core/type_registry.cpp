#include "ui/core/type_registry.h"

#include <map>
#include <string>

#include "ui/core/object.h"

namespace vexlo::ui {
namespace {

// The library runs on one thread; the registry takes no lock.
std::map<std::u16string, com::Ref<com::TypeInfo>, std::less<>>& Registry() {
    static std::map<std::u16string, com::Ref<com::TypeInfo>, std::less<>> registry;
    return registry;
}

}  // namespace

com::Ref<com::TypeInfo> GetTypeInfoByName(std::u16string_view name) {
    auto& r = Registry();
    auto it = r.find(name);
    return it == r.end() ? com::Ref<com::TypeInfo>() : it->second;
}

void RegisterTypeInfo(com::Ref<com::TypeInfo> info) {
    if (!info) return;
    std::u16string name = info->name();
    Registry()[std::move(name)] = std::move(info);
}

void FillTypeRegistry(const com::TypeLibrary& library) {
    for (const auto& info : library.infos()) RegisterTypeInfo(info);
}

void ClearTypeRegistry() { Registry().clear(); }

size_t TypeRegistrySize() { return Registry().size(); }

void AssignTypeInfo(duObject& object) { object.SetTypeInfo(GetTypeInfoByName(object.GetTypeName())); }

}  // namespace vexlo::ui
