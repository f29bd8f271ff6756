#pragma once
// An X display connection as an owned handle, and a scoped trap for the protocol errors
// of the requests made while it lives (Xlib's default handler would end the process).
#include <X11/Xlib.h>

#include <memory>
#include <string>

namespace vexlo::x11 {

struct DisplayCloser {
    void operator()(Display* display) const;
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// Null when no server answers. An empty name means $DISPLAY.
DisplayHandle OpenDisplay(const std::string& name);

// Errors of `display` reported on this thread while the trap lives are recorded here
// instead of going to the process-wide handler (which only notes them in the debug
// output). Traps nest.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to handle every request so far; true when none failed.
    bool Sync();
    bool failed() const { return errorCode_ != 0; }
    unsigned char errorCode() const { return errorCode_; }

private:
    friend int HandleXError(Display*, XErrorEvent*);
    Display* display_;
    ErrorTrap* previous_;
    unsigned char errorCode_ = 0;
};

int HandleXError(Display* display, XErrorEvent* event);

}  // namespace vexlo::x11
