#pragma once
// The update check's in/out record: four system facts sent as they are, and the four reply
// members copied out.
#include <cstdint>

#include "platform/base/text.h"

namespace vexlo::client {

struct UpdateQuery {
    // In (the updater sends them empty).
    platform::WString osver;
    platform::WString osbit;
    platform::WString iever;
    platform::WString dispix;
    // Out.
    platform::WString version;      // version_number
    platform::WString explanation;  // version_explain
    int32_t updateType = 0;         // update_type read as a decimal number; 2 is forced
    platform::WString fileUrl;      // file_32
};

}  // namespace vexlo::client
