#include "platform/x11/connection.h"

#include "platform/base/debug_output.h"

#include <cstdio>
#include <mutex>

namespace vexlo::x11 {
namespace {

thread_local ErrorTrap* t_trap = nullptr;

void InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        XInitThreads();
        XSetErrorHandler(&HandleXError);
    });
}

}  // namespace

int HandleXError(Display* display, XErrorEvent* event) {
    for (ErrorTrap* trap = t_trap; trap; trap = trap->previous_) {
        if (trap->display_ == display) {
            if (!trap->errorCode_) trap->errorCode_ = event->error_code;
            return 0;
        }
    }
    char text[128] = {};
    XGetErrorText(display, event->error_code, text, sizeof text - 1);
    char line[256];
    std::snprintf(line, sizeof line, "x11: request %d.%d failed: %s\n", event->request_code, event->minor_code, text);
    platform::OutputDebugTextAnsi(line);
    return 0;
}

void DisplayCloser::operator()(Display* display) const {
    if (display) XCloseDisplay(display);
}

DisplayHandle OpenDisplay(const std::string& name) {
    InstallHandlers();
    return DisplayHandle(XOpenDisplay(name.empty() ? nullptr : name.c_str()));
}

ErrorTrap::ErrorTrap(Display* display) : display_(display), previous_(t_trap) { t_trap = this; }

ErrorTrap::~ErrorTrap() {
    // Errors of requests made under the trap must arrive while it still listens.
    XSync(display_, False);
    t_trap = previous_;
}

bool ErrorTrap::Sync() {
    XSync(display_, False);
    return errorCode_ == 0;
}

}  // namespace vexlo::x11
