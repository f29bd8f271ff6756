#pragma once
// The per-window record of an attached skin window (the fields the skin loading and tree
// building use: the host window and the table of control names).
#include <map>
#include <string>
#include <string_view>

#include "platform/win/handles.h"

namespace vexlo::ui {

class duPlugin;
class duWindowManager;

struct WindowRecord {
    win::Window hostWindow;
    duWindowManager* windowManager = nullptr;
    // Control names, compared exactly; the first control registered under a name keeps it.
    std::map<std::u16string, duPlugin*, std::less<>> names;
};

// Enters the control's name; a name already registered is not entered again and
// "error: [%s] is repeated\n" goes to the debug output (unnamed controls all share the
// empty name). Returns whether the name was entered.
bool RegisterPluginName(WindowRecord& record, duPlugin& plugin);

}  // namespace vexlo::ui
