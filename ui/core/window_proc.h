#pragma once
// The library's window procedure for attached skin windows: turns the host window's
// messages into control events and notifications, then passes them on to the host
// window's previous procedure.
#include <cstdint>

#include "platform/win/handles.h"

namespace vexlo::ui {

intptr_t LibraryWindowProc(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace vexlo::ui
