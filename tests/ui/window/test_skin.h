#pragma once
// The small skin of the routing and painting tests: a layered 120 x 60 window with a
// panel holding a label and two buttons, all painted with plain fills.
#include <string>

namespace vexlo::ui::testing {

// Window "w": root style "win_style" (grey with a black frame); "panel" (2, 2, 118, 58,
// light blue); in it "label" (7, 7, 47, 27, green), "ok" (52, 7, 82, 27, blue, orange when
// the mouse is on it, grey when disabled) and "cancel" (83, 27, 113, 47, same style).
// Window attributes are appended to the root element, extra controls to the panel.
std::u16string TestSkin(std::u16string_view windowAttributes = u"", std::u16string_view extraControls = u"");

}  // namespace vexlo::ui::testing
