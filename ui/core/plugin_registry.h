#pragma once
// The live-control registry: every existing control, checked before an operation uses a
// control it was handed or kept, so events for deleted controls are dropped.
//
// Controls are told apart by their serial number, not only their address: a reference
// kept as a PluginRef stays dead even when a new control is later created at the freed
// address, so a stale timer, focus or hover entry never reaches the newcomer.
#include <cstddef>
#include <cstdint>

namespace vexlo::ui {

class duPlugin;

// Whether the control is in the registry (by address: for references just obtained).
bool IsPluginValid(const duPlugin* plugin);
void AddLivePlugin(const duPlugin* plugin);
void RemoveLivePlugin(const duPlugin* plugin);
void ClearLivePlugins();
size_t LivePluginCount();
// The next serial number for a new control (never 0, never repeated).
uint64_t NextPluginSerial();

// A kept reference to a control that knows whether it still refers to the same live one.
class PluginRef {
public:
    PluginRef() = default;
    PluginRef(duPlugin* plugin);  // NOLINT: a reference is made from a control freely
    // The control when it is still the live control this reference was made from.
    duPlugin* get() const;
    bool alive() const { return get() != nullptr; }
    explicit operator bool() const { return alive(); }
    // The address kept, alive or not (for comparisons only, never to be used).
    const duPlugin* address() const { return plugin_; }
    bool Is(const duPlugin* plugin) const { return plugin && plugin == get(); }
    void reset() { *this = PluginRef(); }
    bool operator==(const PluginRef& other) const { return plugin_ == other.plugin_ && serial_ == other.serial_; }

private:
    duPlugin* plugin_ = nullptr;
    uint64_t serial_ = 0;
};

// True while some dispatch of the library is running on the stack (a window procedure
// call, a notification or an internal message): deletions then wait until it unwinds, so
// no code above it is left holding a freed control or window record.
bool InLibraryDispatch();
class DispatchScope {
public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};
// Runs `destroy` now outside every dispatch, otherwise when the outermost one unwinds.
void DeferDestruction(void (*destroy)(void*), void* object);

}  // namespace vexlo::ui
