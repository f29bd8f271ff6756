#pragma once
// Golden-image comparison for tests. A golden is a PNG under the source tree's tests/
// folder, named by its path below it ("gfx/golden/fills.png"); an absolute path is used
// as given.
//
// VEXLO_UPDATE_GOLDENS=1 rewrites the golden from the actual image instead of comparing.
// On a mismatch the actual image and a difference image (red where a channel differs by
// more than the tolerance, the actual image dimmed elsewhere) are written under
// $VEXLO_BUILD_DIR/test-output/golden/ and the message names both files.
#include "platform/gfx/bitmap.h"

#include <string>
#include <string_view>

namespace vexlo::gfx {

struct GoldenResult {
    bool matched = false;
    std::string message;  // empty on a match
    std::string actualPath;
    std::string diffPath;
    explicit operator bool() const { return matched; }
};

// tolerance: the largest allowed difference of any premultiplied channel (A, R, G, B).
GoldenResult CompareWithGolden(const Bitmap& actual, std::string_view goldenPath, int tolerance = 0);

// The golden's file path, resolved as described above.
std::string GoldenFilePath(std::string_view goldenPath);

}  // namespace vexlo::gfx
