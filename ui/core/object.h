#pragma once
// duObject, the root of every object a skin or a script can name: an automation object
// whose members are described by the type information found under its type name.
// Lifetime is explicit: containers own objects and free them with Delete; the reference
// count exists only for the automation contract and never frees anything.
#include <memory>

#include "platform/com/dispatch.h"
#include "platform/com/type_info.h"

namespace vexlo::ui {

// The library's own interface identifier, answered by every object.
inline constexpr com::IID IID_duObject{0x6F76069Fu, 0x2BD3, 0x4653, {0xBF, 0x40, 0x45, 0x1A, 0x24, 0x61, 0xD0, 0xB0}};

class duObject : public com::IDispatch {
public:
    duObject() = default;
    duObject& operator=(const duObject&) = delete;
    virtual ~duObject() = default;

    // No reference is added by QueryInterface.
    com::HRESULT QueryInterface(const com::IID& iid, void** out) override;
    uint32_t AddRef() override;
    // Never destroys the object.
    uint32_t Release() override;
    com::HRESULT GetTypeInfoCount(uint32_t* count) override;
    com::HRESULT GetTypeInfo(uint32_t index, uint32_t locale, com::TypeInfo** out) override;
    com::HRESULT GetIDsOfNames(const com::IID& iid, const std::u16string_view* names, uint32_t count,
                               uint32_t locale, com::DispId* ids) override;
    com::HRESULT Invoke(com::DispId member, const com::IID& iid, uint32_t locale, uint16_t flags,
                        com::DispParams* params, com::Variant* result) override;

    // Destroys the object: the library's way to free any duObject.
    virtual void Delete();
    virtual const char16_t* GetTypeName() const { return u"duObject"; }

    // Set once, right after creation, from the type registry. The object keeps a counted
    // reference, so the description outlives a registry cleared under it.
    void SetTypeInfo(com::Ref<com::TypeInfo> info) { typeInfo_ = std::move(info); }
    com::TypeInfo* typeInfo() const { return typeInfo_.get(); }
    int32_t referenceCount() const { return refCount_; }

protected:
    // Clones start with their own count and the same type information.
    duObject(const duObject& other) : com::IDispatch(), typeInfo_(other.typeInfo_) {}

private:
    com::Ref<com::TypeInfo> typeInfo_;
    int32_t refCount_ = 1;
};

struct ObjectDeleter {
    void operator()(duObject* object) const {
        if (object) object->Delete();
    }
};

// Owning pointer to a library object; it frees through Delete.
template <class T>
using ObjectPtr = std::unique_ptr<T, ObjectDeleter>;

// Creates a T and gives it the type information registered under its type name.
template <class T, class... Args>
ObjectPtr<T> MakeObject(Args&&... args);

}  // namespace vexlo::ui

#include "ui/core/type_registry.h"

namespace vexlo::ui {
template <class T, class... Args>
ObjectPtr<T> MakeObject(Args&&... args) {
    ObjectPtr<T> object(new T(std::forward<Args>(args)...));
    AssignTypeInfo(*object);
    return object;
}
}  // namespace vexlo::ui
