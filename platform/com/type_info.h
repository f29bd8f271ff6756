#pragma once
// Type information: the member table of one automation class (name, dispatch identifier,
// parameter and result types, and the callable that performs the call), the standard
// name lookup and call over such a table, and a type library that collects tables.
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/dispatch.h"

namespace vexlo::com {

// The arguments arrive in parameter order, each already converted to its declared type.
using MemberCall = std::function<Variant(IDispatch& self, std::span<const Variant> args)>;

struct FuncDesc {
    DispId memberId = DISPID_UNKNOWN;
    std::u16string name;
    std::vector<VarType> params;
    VarType result = VT_EMPTY;
    MemberCall call;
};

// At most this many arguments reach a member; a member declared with more is not called.
inline constexpr size_t kMaxInvokeArguments = 15;

class TypeInfo final : public IUnknown {
public:
    // The caller receives the only reference.
    static Ref<TypeInfo> Create(std::u16string name, IID interfaceId, std::vector<FuncDesc> funcs);

    HRESULT QueryInterface(const IID& iid, void** out) override;
    uint32_t AddRef() override { return ++count_; }
    uint32_t Release() override;

    const std::u16string& name() const { return name_; }
    // The interface identifier of the type's attributes.
    const IID& interfaceId() const { return interfaceId_; }
    const std::vector<FuncDesc>& funcs() const { return funcs_; }
    // The description of one member, or nullptr.
    const FuncDesc* FindFunc(DispId member) const;

private:
    TypeInfo(std::u16string name, IID interfaceId, std::vector<FuncDesc> funcs);
    ~TypeInfo() = default;

    std::atomic<uint32_t> count_{1};
    std::u16string name_;
    IID interfaceId_;
    std::vector<FuncDesc> funcs_;
    std::map<DispId, size_t> byId_;
};

// Member names compare without regard to ASCII letter case. The first name is the member;
// parameter names are not supported and give DISP_E_UNKNOWNNAME with DISPID_UNKNOWN.
HRESULT DispGetIDsOfNames(const TypeInfo& info, const std::u16string_view* names, uint32_t count, DispId* ids);

// Calls `member` of `self` through its description: the argument count must match
// (DISP_E_BADPARAMCOUNT), each argument is converted to its parameter type
// (DISP_E_TYPEMISMATCH when it cannot be), and *result (when given) receives the value
// shaped by the declared result type.
HRESULT DispInvoke(IDispatch& self, const TypeInfo& info, DispId member, uint16_t flags, DispParams* params,
                   Variant* result);

// Converts one argument to a declared parameter type; false when it cannot.
bool ConvertArgument(const Variant& in, VarType declared, Variant& out);

// A set of type descriptions, in the order they were added. The executable's own library
// (ModuleTypeLibrary) is what the UI library's start-up reads; it is empty unless code
// adds descriptions to it.
class TypeLibrary {
public:
    void Add(Ref<TypeInfo> info) { infos_.push_back(std::move(info)); }
    void Clear() { infos_.clear(); }
    size_t size() const { return infos_.size(); }
    const std::vector<Ref<TypeInfo>>& infos() const { return infos_; }

private:
    std::vector<Ref<TypeInfo>> infos_;
};

TypeLibrary& ModuleTypeLibrary();

}  // namespace vexlo::com
