#pragma once
// The executable's icon resource 128 (the tray icon and the windows' icons): the skin's
// logo picture, registered once at start-up.
namespace vexlo::app {

void RegisterAppIcon();

}  // namespace vexlo::app
