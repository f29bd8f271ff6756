#include "ui/core/script_host.h"

namespace vexlo::ui {
namespace {

// No engine: nothing runs and every call reports failure.
class EnginelessScriptHost final : public ScriptHost {
public:
    int RunScript(std::u16string_view) override { return 0; }
    int AddScriptItem(duObject*, std::u16string_view) override { return 0; }
    int CallScriptFunction(std::u16string_view, std::span<com::Variant>) override { return 0; }
    void CloseScript() override {}
};

ScriptHostFactory& Factory() {
    static ScriptHostFactory factory;
    return factory;
}

}  // namespace

void SetScriptHostFactory(ScriptHostFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<ScriptHost> CreateScriptHost() {
    if (Factory()) {
        if (auto host = Factory()()) return host;
    }
    return std::make_unique<EnginelessScriptHost>();
}

}  // namespace vexlo::ui
