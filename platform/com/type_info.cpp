#include "platform/com/type_info.h"

#include <cmath>

namespace vexlo::com {

TypeInfo::TypeInfo(std::u16string name, IID interfaceId, std::vector<FuncDesc> funcs)
    : name_(std::move(name)), interfaceId_(interfaceId), funcs_(std::move(funcs)) {
    for (size_t i = 0; i < funcs_.size(); ++i) byId_.emplace(funcs_[i].memberId, i);  // first one wins
}

Ref<TypeInfo> TypeInfo::Create(std::u16string name, IID interfaceId, std::vector<FuncDesc> funcs) {
    return Ref<TypeInfo>::Adopt(new TypeInfo(std::move(name), interfaceId, std::move(funcs)));
}

HRESULT TypeInfo::QueryInterface(const IID& iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown) {
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

uint32_t TypeInfo::Release() {
    uint32_t left = --count_;
    if (left == 0) delete this;
    return left;
}

const FuncDesc* TypeInfo::FindFunc(DispId member) const {
    auto it = byId_.find(member);
    return it == byId_.end() ? nullptr : &funcs_[it->second];
}

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool IsIntegerType(VarType t) {
    switch (t) {
        case VT_I1: case VT_I2: case VT_I4: case VT_UI1: case VT_UI2: case VT_UI4:
        case VT_INT: case VT_UINT: case VT_ERROR: case VT_HRESULT: return true;
        default: return false;
    }
}

bool IsObjectType(VarType t) { return t == VT_DISPATCH || t == VT_UNKNOWN || t == VT_PTR; }
bool IsTextType(VarType t) { return t == VT_BSTR || t == VT_LPWSTR; }

// A number carried by an argument, as a double; false for non-numeric arguments.
bool NumericValue(const Variant& v, double& out) {
    if (IsIntegerType(v.type())) {
        out = v.raw();
        return true;
    }
    switch (v.type()) {
        case VT_R4: out = v.r4(); return true;
        case VT_R8: out = v.r8(); return true;
        case VT_BOOL: out = v.boolean() ? 1 : 0; return true;
        default: return false;
    }
}

// Shapes a member's answer by its declared result type.
Variant ShapeResult(const Variant& answer, VarType declared) {
    switch (declared) {
        case VT_EMPTY:
        case VT_VOID: return Variant();
        case VT_BOOL: {
            double d = 0;
            bool on = NumericValue(answer, d) ? d != 0 : answer.object() != nullptr || answer.text();
            return Variant::Bool(on);
        }
        case VT_PTR:
        case VT_DISPATCH:
        case VT_UNKNOWN: return Variant::Object(answer.object());
        case VT_LPWSTR:
        case VT_BSTR:
            if (const std::u16string* t = answer.text()) return Variant::Text(*t);
            return Variant::NullText();
        case VT_R4: {
            double d = 0;
            NumericValue(answer, d);
            return Variant::Float(static_cast<float>(d));
        }
        case VT_R8: {
            double d = 0;
            NumericValue(answer, d);
            return Variant::Double(d);
        }
        case VT_VARIANT: return answer;
        default: return Variant::Raw(declared, answer.raw());
    }
}

}  // namespace

bool ConvertArgument(const Variant& in, VarType declared, Variant& out) {
    if (declared == VT_VARIANT) {
        out = in;
        return true;
    }
    if (IsObjectType(declared)) {
        if (in.type() == VT_EMPTY || in.type() == VT_NULL) {
            out = Variant::Object(nullptr);
            return true;
        }
        if (!IsObjectType(in.type())) return false;
        out = Variant::Object(in.object());
        return true;
    }
    if (IsTextType(declared)) {
        if (const std::u16string* t = in.text()) {
            out = Variant::Text(*t);
            return true;
        }
        if (in.type() == VT_EMPTY || in.type() == VT_NULL || in.type() == VT_LPWSTR) {
            out = Variant::NullText();
            return true;
        }
        return false;
    }
    double d = 0;
    if (!NumericValue(in, d)) {
        if (in.type() != VT_EMPTY) return false;
        d = 0;
    }
    switch (declared) {
        case VT_BOOL: out = Variant::Bool(d != 0); return true;
        case VT_R4: out = Variant::Float(static_cast<float>(d)); return true;
        case VT_R8: out = Variant::Double(d); return true;
        default:
            if (!IsIntegerType(declared)) return false;
            // Integers pass their stored 32 bits unchanged; others are truncated.
            out = Variant::Raw(declared, IsIntegerType(in.type()) ? in.raw() : Variant::Double(d).raw());
            return true;
    }
}

HRESULT DispGetIDsOfNames(const TypeInfo& info, const std::u16string_view* names, uint32_t count, DispId* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    for (uint32_t i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const FuncDesc& f : info.funcs()) {
        if (EqualsIgnoringAsciiCase(f.name, names[0])) {
            ids[0] = f.memberId;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT DispInvoke(IDispatch& self, const TypeInfo& info, DispId member, uint16_t /*flags*/, DispParams* params,
                   Variant* result) {
    const FuncDesc* f = info.FindFunc(member);
    if (!f) return DISP_E_MEMBERNOTFOUND;
    const size_t given = params ? params->args.size() : 0;
    if (f->params.size() != given) return DISP_E_BADPARAMCOUNT;

    Variant answer = Variant::Int(-1);
    if (f->params.size() <= kMaxInvokeArguments && f->call) {
        std::vector<Variant> args(given);
        for (size_t i = 0; i < given; ++i) {
            // Automation order is reversed: the last array element is the first parameter.
            if (!ConvertArgument(params->args[given - 1 - i], f->params[i], args[i])) return DISP_E_TYPEMISMATCH;
        }
        answer = f->call(self, args);
    }
    if (result) *result = ShapeResult(answer, f->result);
    return S_OK;
}

TypeLibrary& ModuleTypeLibrary() {
    static TypeLibrary library;
    return library;
}

}  // namespace vexlo::com
