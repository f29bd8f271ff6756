#pragma once
// The process-wide map from type name (compared exactly) to type information, filled from
// the executable's type library at start-up.
#include <string_view>

#include "platform/com/type_info.h"

namespace vexlo::ui {

class duObject;

// None for a name that is not registered.
com::Ref<com::TypeInfo> GetTypeInfoByName(std::u16string_view name);
// registry[info.name()] = info for every description of the library (later ones replace).
void FillTypeRegistry(const com::TypeLibrary& library);
void RegisterTypeInfo(com::Ref<com::TypeInfo> info);
// Releases every description; tests use it to start anew.
void ClearTypeRegistry();
size_t TypeRegistrySize();

// object.SetTypeInfo(GetTypeInfoByName(object.GetTypeName())).
void AssignTypeInfo(duObject& object);

}  // namespace vexlo::ui
