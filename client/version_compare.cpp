#include "client/version_compare.h"

#include <cstdint>

#include "platform/base/numbers.h"

namespace vexlo::client {

int CompareVersions(platform::WStringView a, platform::WStringView b) {
    int32_t left[4] = {0, 0, 0, 0};
    int32_t right[4] = {0, 0, 0, 0};
    platform::ScanDottedInts(a, left, 4);
    platform::ScanDottedInts(b, right, 4);
    for (int i = 0; i < 4; ++i) {
        if (left[i] < right[i]) return -1;
        if (left[i] > right[i]) return 1;
    }
    return 0;
}

}  // namespace vexlo::client
