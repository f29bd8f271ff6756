#include "ui/core/library.h"

#include <filesystem>
#include <system_error>

#include "platform/com/type_info.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/type_registry.h"

namespace vexlo::ui {
namespace {

struct LibraryState {
    bool started = false;
    std::string modulePath;
};

LibraryState& State() {
    static LibraryState state;
    return state;
}

}  // namespace

bool InitUILibrary() {
    LibraryState& s = State();
    std::error_code ec;
    s.modulePath = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    FillTypeRegistry(com::ModuleTypeLibrary());
    ClearLivePlugins();
    ResetPluginFactory();
    s.started = true;
    return true;
}

void UninitUILibrary() {
    ClearLivePlugins();
    ClearTypeRegistry();
    State().started = false;
}

bool IsUILibraryStarted() { return State().started; }

const std::string& LibraryModulePath() { return State().modulePath; }

}  // namespace vexlo::ui
