#include "platform/headless/display_selection.h"

#include "platform/headless/script.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

namespace vexlo::headless {
namespace {

std::mutex g_factoryMutex;
BackendFactory& X11Factory() {
    static BackendFactory factory;
    return factory;
}

}  // namespace

DisplayKind ChooseDisplay(const char* vexloDisplay, const char* display, bool x11Available) {
    if (vexloDisplay && std::strcmp(vexloDisplay, "headless") == 0) return DisplayKind::Headless;
    if (display && *display && x11Available) return DisplayKind::X11;
    return DisplayKind::Headless;
}

void SetX11BackendFactory(BackendFactory factory) {
    std::lock_guard lock(g_factoryMutex);
    X11Factory() = std::move(factory);
}

HeadlessConfig HeadlessConfigFromEnvironment() {
    HeadlessConfig config;
    config.clock = ClockMode::Real;
    config.keepFrames = false;  // a long run must not collect every frame in memory
    if (const char* frames = std::getenv("VEXLO_FRAMES"); frames && *frames) config.framesDir = frames;
    if (const char* screen = std::getenv("VEXLO_HEADLESS_SCREEN"); screen && *screen) {
        int w = 0, h = 0;
        if (std::sscanf(screen, "%dx%d", &w, &h) == 2 && w >= 320 && h >= 240 && w <= 16384 && h <= 16384) {
            config.screen = {w, h};
        }
    }
    return config;
}

std::unique_ptr<win::DisplayBackend> CreateDisplayBackendFromEnvironment() {
    BackendFactory x11;
    {
        std::lock_guard lock(g_factoryMutex);
        x11 = X11Factory();
    }
    if (ChooseDisplay(std::getenv("VEXLO_DISPLAY"), std::getenv("DISPLAY"), static_cast<bool>(x11)) == DisplayKind::X11) {
        if (auto backend = x11()) return backend;
    }
    auto backend = std::make_unique<HeadlessBackend>(HeadlessConfigFromEnvironment());
    if (const char* path = std::getenv("VEXLO_HEADLESS_SCRIPT"); path && *path) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "headless: cannot read the script %s\n", path);
        } else {
            std::ostringstream text;
            text << file.rdbuf();
            std::vector<std::string> errors;
            for (const auto& input : ParseHeadlessScript(text.str(), &errors)) backend->ScheduleInput(input);
            for (const auto& e : errors) std::fprintf(stderr, "headless: %s: %s\n", path, e.c_str());
        }
    }
    return backend;
}

}  // namespace vexlo::headless
