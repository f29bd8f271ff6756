#pragma once
// A private X server for a test process: Xvfb on a display number it picks itself,
// ended with the object.
#include <sys/types.h>

#include <memory>
#include <string>

namespace vexlo::x11::testing {

class XvfbServer {
public:
    // Null when the Xvfb program is missing (*why says so) or does not start.
    static std::unique_ptr<XvfbServer> Start(const std::string& screen, std::string* why);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return display_; }  // ":N"

private:
    XvfbServer(pid_t pid, std::string display) : pid_(pid), display_(std::move(display)) {}
    pid_t pid_;
    std::string display_;
};

// The path of a program found on PATH, empty when none.
std::string FindProgram(const std::string& name);

}  // namespace vexlo::x11::testing
