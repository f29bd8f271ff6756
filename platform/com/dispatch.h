#pragma once
// Late-bound calls: members are found by name (GetIDsOfNames) and called by identifier
// (Invoke). Each class describes its script-visible members in a TypeInfo (type_info.h)
// instead of exposing virtual-table offsets, so the calls work whatever the ABI.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

namespace vexlo::com {

class TypeInfo;

using DispId = int32_t;
inline constexpr DispId DISPID_UNKNOWN = -1;
inline constexpr uint32_t LOCALE_SYSTEM_DEFAULT = 0x800;

enum DispatchFlags : uint16_t {
    DISPATCH_METHOD = 1,
    DISPATCH_PROPERTYGET = 2,
    DISPATCH_PROPERTYPUT = 4,
    DISPATCH_PROPERTYPUTREF = 8,
};

// Positional arguments in automation order: the last element is the first argument.
struct DispParams {
    std::vector<Variant> args;

    // Builds the array from arguments written in call order.
    static DispParams InCallOrder(std::initializer_list<Variant> callOrder) {
        DispParams p;
        p.args.assign(callOrder.begin(), callOrder.end());
        std::vector<Variant> reversed(p.args.rbegin(), p.args.rend());
        p.args = std::move(reversed);
        return p;
    }
};

class IDispatch : public IUnknown {
public:
    virtual HRESULT GetTypeInfoCount(uint32_t* count) = 0;
    // A TypeInfo handed out carries a reference for the caller.
    virtual HRESULT GetTypeInfo(uint32_t index, uint32_t locale, TypeInfo** out) = 0;
    // names[0] is the member; further names would be parameter names.
    virtual HRESULT GetIDsOfNames(const IID& iid, const std::u16string_view* names, uint32_t count,
                                  uint32_t locale, DispId* ids) = 0;
    virtual HRESULT Invoke(DispId member, const IID& iid, uint32_t locale, uint16_t flags, DispParams* params,
                           Variant* result) = 0;

protected:
    ~IDispatch() = default;
};

}  // namespace vexlo::com
