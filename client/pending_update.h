#pragma once
// The pending-update hand-off: the file "_update" in the Temp folder records a downloaded
// installer (section "update", keys "path" and "version"); RunPendingUpdate starts it and
// ends the process. The two steps with effects beyond this process are replaceable, so that
// tests can watch them.
#include <functional>

#include "platform/base/text.h"

namespace vexlo::client {

inline constexpr char16_t kPendingUpdateFileName[] = u"_update";
// The private-profile buffer the values are read into; a longer value counts as missing
// rather than being cut to a different path.
inline constexpr size_t kPendingValueMaxChars = 259;

struct PendingUpdateHooks {
    // Starts the installer (default: with administrator rights when needed, no parameters).
    std::function<bool(platform::WStringView installerPath)> launch;
    // Ends the process at once (default: flushes standard output, then _Exit).
    std::function<void(int exitCode)> endProcess;
};

// Empty members keep the default.
void SetPendingUpdateHooks(PendingUpdateHooks hooks);
void ResetPendingUpdateHooks();

// The file-system path of the pending-update file (creates the Temp folder).
std::string PendingUpdateFsPath();

}  // namespace vexlo::client
