// Linked into every program built on the framework: with DISPLAY set (and VEXLO_DISPLAY
// not "headless") the process shows its windows on that X server.
#include "platform/headless/display_selection.h"
#include "platform/x11/x11_backend.h"

namespace {

const bool g_registered = [] {
    vexlo::headless::SetX11BackendFactory([] { return vexlo::x11::CreateX11BackendFromEnvironment(); });
    return true;
}();

}  // namespace
