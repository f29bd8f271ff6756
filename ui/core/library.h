#pragma once
// Start-up and shut-down of the UI library, once per process, on the thread that owns the
// host windows.
#include <string>

namespace vexlo::ui {

// In this order: remembers the process's module, fills the type registry from the
// executable's type library (an empty library leaves it empty), prepares the live-control
// registry, and sets the control factory up again (generic controls, then every family
// registered with RegisterControlFamily). Returns true; calling it again refills the registry.
bool InitUILibrary();
// Clears the live-control registry and releases every type description. The host calls it
// after all window managers are released.
void UninitUILibrary();

bool IsUILibraryStarted();
// The executable the library was started in (the module whose type library was read).
const std::string& LibraryModulePath();

}  // namespace vexlo::ui
