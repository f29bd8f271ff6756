#pragma once
// The executable's icon resource 128 (the tray icon and the windows' icons): the skin's
// logo picture, registered once before the update window is made.
namespace vexlo::ui {
class duWindowManager;
}

namespace vexlo::app {

// Takes the picture the skin already decoded; a missing manager or logo gives a plain
// blue square, so the windows still have an icon.
void RegisterAppIcon(const ui::duWindowManager* windowManager);

}  // namespace vexlo::app
