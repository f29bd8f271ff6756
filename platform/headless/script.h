#pragma once
// Scripted input for a headless run (VEXLO_HEADLESS_SCRIPT=FILE), one event per line,
// times in milliseconds from the start of the process, coordinates on the screen:
//
//   # comment
//   at 1500 move 1800 1000
//   at 1600 click 1800 1000          (also: rclick, mclick, dblclick)
//   at 1700 down 10 10 right         (down / up, button left by default)
//   at 1800 wheel 900 500 -120
//   at 1900 key enter                (key / keydown / keyup: a name, a letter, or a number)
//   at 2000 text hello
//   at 2100 tray right               (a click on the notification icon; optional id)
//   at 2200 deactivate               (another program takes the foreground; also activate)
#include "platform/headless/headless_backend.h"

#include <string>
#include <string_view>
#include <vector>

namespace vexlo::headless {

// Lines that cannot be read are left out and described in *errors ("line 3: ...").
std::vector<ScheduledInput> ParseHeadlessScript(std::string_view script, std::vector<std::string>* errors = nullptr);

// A key name of the script ("enter", "f4", "a", "0x41", "65") to its virtual key; 0 if unknown.
uint32_t KeyFromName(std::string_view name);

}  // namespace vexlo::headless
