#include "platform/com/variant.h"

#include <cmath>

#include "platform/com/dispatch.h"

namespace vexlo::com {

Variant Variant::Raw(VarType type, int32_t value) {
    Variant v;
    v.type_ = type;
    v.i32_ = value;
    return v;
}

Variant Variant::Float(float value) {
    Variant v;
    v.type_ = VT_R4;
    v.r4_ = value;
    return v;
}

Variant Variant::Double(double value) {
    Variant v;
    v.type_ = VT_R8;
    v.r8_ = value;
    return v;
}

Variant Variant::Bool(bool value) {
    Variant v;
    v.type_ = VT_BOOL;
    v.bool_ = value;
    v.i32_ = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::Text(std::u16string text) {
    Variant v;
    v.type_ = VT_BSTR;
    v.text_ = std::move(text);
    return v;
}

Variant Variant::NullText() {
    Variant v;
    v.type_ = VT_LPWSTR;
    return v;
}

Variant Variant::Object(IDispatch* object) { return Object(Ref<IDispatch>(object)); }

Variant Variant::Object(Ref<IDispatch> object) {
    Variant v;
    v.type_ = VT_DISPATCH;
    v.object_ = std::move(object);
    return v;
}

namespace {
int32_t TruncateToInt32(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(d);
}
}  // namespace

int32_t Variant::raw() const {
    switch (type_) {
        case VT_R4: return TruncateToInt32(r4_);
        case VT_R8: return TruncateToInt32(r8_);
        case VT_EMPTY:
        case VT_NULL:
        case VT_BSTR:
        case VT_LPWSTR:
        case VT_DISPATCH:
        case VT_UNKNOWN: return 0;
        default: return i32_;
    }
}

bool Variant::operator==(const Variant& other) const {
    return type_ == other.type_ && i32_ == other.i32_ && r4_ == other.r4_ && r8_ == other.r8_ &&
           bool_ == other.bool_ && text_ == other.text_ && object_.get() == other.object_.get();
}

}  // namespace vexlo::com
