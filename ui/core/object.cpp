#include "ui/core/object.h"

namespace vexlo::ui {

using namespace com;

HRESULT duObject::QueryInterface(const IID& iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_duObject) {
        *out = static_cast<IDispatch*>(this);
        return S_OK;
    }
    if (!typeInfo_) return E_NOINTERFACE;
    if (typeInfo_->interfaceId() == iid) {
        *out = static_cast<IDispatch*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

uint32_t duObject::AddRef() { return static_cast<uint32_t>(++refCount_); }

uint32_t duObject::Release() { return static_cast<uint32_t>(--refCount_); }

HRESULT duObject::GetTypeInfoCount(uint32_t* count) {
    if (!count) return E_INVALIDARG;
    *count = 1;
    return S_OK;
}

HRESULT duObject::GetTypeInfo(uint32_t index, uint32_t, TypeInfo** out) {
    if (index != 0) return DISP_E_BADINDEX;
    if (!typeInfo_) return E_NOTIMPL;
    if (!out) return E_POINTER;
    typeInfo_->AddRef();
    *out = typeInfo_.get();
    return S_OK;
}

HRESULT duObject::GetIDsOfNames(const IID&, const std::u16string_view* names, uint32_t count, uint32_t,
                                DispId* ids) {
    if (!typeInfo_) return DISP_E_UNKNOWNNAME;
    return DispGetIDsOfNames(*typeInfo_, names, count, ids);
}

HRESULT duObject::Invoke(DispId member, const IID&, uint32_t, uint16_t flags, DispParams* params,
                         Variant* result) {
    if (!typeInfo_) return DISP_E_MEMBERNOTFOUND;
    return DispInvoke(*this, *typeInfo_, member, flags, params, result);
}

void duObject::Delete() { delete this; }

}  // namespace vexlo::ui
