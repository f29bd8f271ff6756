#include "ui/core/resource.h"

namespace vexlo::ui {

void duResBase::SetName(const char16_t* name) {
    if (name) name_.Set(name);
    else name_.Clear();
}

}  // namespace vexlo::ui
