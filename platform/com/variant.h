#pragma once
// The automation variant: empty, 32-bit integers (and the other 32-bit raw types), floats,
// doubles, booleans, UTF-16 text and counted references to automation objects.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/com/unknown.h"

namespace vexlo::com {

class IDispatch;

enum VarType : uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_PTR = 26,
    VT_LPWSTR = 31,
};

using VARIANT_BOOL = int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

class Variant {
public:
    Variant() = default;

    static Variant Int(int32_t value) { return Raw(VT_I4, value); }
    // Any 32-bit integer-like type (VT_I4, VT_UI4, VT_INT, VT_ERROR, VT_HRESULT, ...).
    static Variant Raw(VarType type, int32_t value);
    static Variant Float(float value);
    static Variant Double(double value);
    static Variant Bool(bool value);
    // A counted text (VT_BSTR).
    static Variant Text(std::u16string text);
    // The null wide-string pointer (VT_LPWSTR without text).
    static Variant NullText();
    // VT_DISPATCH; a null object is allowed.
    static Variant Object(Ref<IDispatch> object);
    static Variant Object(IDispatch* object);

    VarType type() const { return type_; }
    bool empty() const { return type_ == VT_EMPTY; }

    // The stored 32-bit value of integer-like types; booleans give VARIANT_TRUE or
    // VARIANT_FALSE as stored; floating types their value truncated; others 0.
    int32_t raw() const;
    float r4() const { return r4_; }
    double r8() const { return r8_; }
    bool boolean() const { return bool_; }
    // The text of VT_BSTR and VT_LPWSTR; nullptr for the null pointer and other types.
    const std::u16string* text() const { return text_ ? &*text_ : nullptr; }
    IDispatch* object() const { return object_.get(); }

    bool operator==(const Variant& other) const;

private:
    VarType type_ = VT_EMPTY;
    int32_t i32_ = 0;
    float r4_ = 0;
    double r8_ = 0;
    bool bool_ = false;
    std::optional<std::u16string> text_;
    Ref<IDispatch> object_;
};

}  // namespace vexlo::com

// Whoever holds a Variant also needs the interface its objects have.
#include "platform/com/dispatch.h"
