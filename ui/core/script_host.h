#pragma once
// The script host a loaded skin talks to: it runs the skin's script, makes library
// objects visible to it by name and calls its functions. The engine behind it is
// supplied by whoever builds one (SetScriptHostFactory); without one, skins run without
// a script.
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "platform/com/variant.h"

namespace vexlo::ui {

class duObject;

class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // 1 when the script started.
    virtual int RunScript(std::u16string_view text) = 0;
    virtual int AddScriptItem(duObject* object, std::u16string_view name) = 0;
    // Arguments in automation order (the last element is the first argument).
    virtual int CallScriptFunction(std::u16string_view name, std::span<com::Variant> args) = 0;
    virtual void CloseScript() = 0;
};

using ScriptHostFactory = std::function<std::unique_ptr<ScriptHost>()>;

// Replaces the factory; none restores the host without an engine.
void SetScriptHostFactory(ScriptHostFactory factory);
std::unique_ptr<ScriptHost> CreateScriptHost();

}  // namespace vexlo::ui
