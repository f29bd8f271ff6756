#include "platform/x11/atoms.h"

#include <array>
#include <string>

namespace vexlo::x11 {
namespace {

struct Named {
    const char* name;
    Atom Atoms::*member;
};

constexpr Named kNamed[] = {
#define VEXLO_X11_NAME(name) {#name, &Atoms::name},
    VEXLO_X11_ATOMS(VEXLO_X11_NAME)
#undef VEXLO_X11_NAME
    {"text/plain;charset=utf-8", &Atoms::textPlainUtf8},
    {"text/plain", &Atoms::textPlain},
};

}  // namespace

void Atoms::Intern(Display* display, int screen) {
    const std::string compositor = "_NET_WM_CM_S" + std::to_string(screen);
    const std::string tray = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    constexpr size_t kFixed = std::size(kNamed);
    std::array<char*, kFixed + 2> names{};
    for (size_t i = 0; i < kFixed; ++i) names[i] = const_cast<char*>(kNamed[i].name);
    names[kFixed] = const_cast<char*>(compositor.c_str());
    names[kFixed + 1] = const_cast<char*>(tray.c_str());
    std::array<Atom, kFixed + 2> values{};
    XInternAtoms(display, names.data(), static_cast<int>(names.size()), False, values.data());
    for (size_t i = 0; i < kFixed; ++i) this->*kNamed[i].member = values[i];
    compositorSelection = values[kFixed];
    traySelection = values[kFixed + 1];
}

}  // namespace vexlo::x11
