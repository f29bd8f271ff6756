#include "ui/core/state.h"

#include "ui/core/wide_text.h"

namespace vexlo::ui {

uint32_t StateFromName(std::u16string_view name) {
    static constexpr struct {
        std::u16string_view name;
        uint32_t bits;
    } kNames[] = {
        {u"normal", kStateNormal},
        {u"over", kStateOver},
        {u"press", kStatePress},
        {u"focus", kStateFocus},
        {u"disable", kStateDisable},
        {u"normalall", kStateNormalAll},
        {u"checked", kStateChecked},
        {u"checkedover", kStateCheckedOver},
        {u"checkedpress", kStateCheckedPress},
        {u"checkedfocus", kStateCheckedFocus},
        {u"checkeddisable", kStateCheckedDisable},
        {u"checkedall", kStateCheckedAll},
        {u"all", kStateAll},
    };
    for (const auto& n : kNames) {
        if (EqualsNoCase(n.name, name)) return n.bits;
    }
    return kStateNormal;
}

}  // namespace vexlo::ui
