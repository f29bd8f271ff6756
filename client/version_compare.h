#pragma once
// Four-component version comparison ("2.1.12.15"), each component a signed 32-bit number
// read the way sscanf reads "%d.%d.%d.%d"; components not read count as 0.
#include "platform/base/text.h"

namespace vexlo::client {

// -1 when a is older than b, 0 when equal, 1 when newer.
int CompareVersions(platform::WStringView a, platform::WStringView b);

}  // namespace vexlo::client
