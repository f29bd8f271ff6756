#pragma once
// Which display backend a process uses, from its environment:
//   VEXLO_DISPLAY=headless          -> the headless backend (always available);
//   otherwise, with DISPLAY set     -> the X11 backend, when one is linked in;
//   otherwise, or without X11       -> headless.
// A headless process runs on real time; VEXLO_FRAMES=DIR writes every presented frame
// there as a PNG, VEXLO_HEADLESS_SCRIPT=FILE feeds it scripted input (script.h), and
// VEXLO_HEADLESS_SCREEN=WIDTHxHEIGHT sets its screen (the task bar stays 40 pixels).
#include "platform/headless/headless_backend.h"
#include "platform/win/display_backend.h"

#include <functional>
#include <memory>
#include <string>

namespace vexlo::headless {

enum class DisplayKind { Headless, X11 };

// The choice alone, for given values of VEXLO_DISPLAY and DISPLAY (null: unset).
DisplayKind ChooseDisplay(const char* vexloDisplay, const char* display, bool x11Available);

using BackendFactory = std::function<std::unique_ptr<win::DisplayBackend>()>;
// The X11 backend registers its factory here; a factory that gives null falls back to
// headless (no server reachable, for instance).
void SetX11BackendFactory(BackendFactory factory);

// The headless configuration a real process gets from its environment.
HeadlessConfig HeadlessConfigFromEnvironment();

std::unique_ptr<win::DisplayBackend> CreateDisplayBackendFromEnvironment();

}  // namespace vexlo::headless
