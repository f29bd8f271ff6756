#pragma once
// The one-line size of a text, as the wrapping code of the text controls asks for it.
// Controls measure with their fonts; tests give fixed advances.
#include <functional>
#include <string_view>

#include "platform/gfx/rect.h"

namespace vexlo::ui {

using MeasureLine = std::function<gfx::Size(std::u16string_view text)>;

}  // namespace vexlo::ui
