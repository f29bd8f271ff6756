#include "app/download_progress.h"

#include <cmath>
#include <limits>

#include "platform/base/numbers.h"
#include "platform/win/window_api.h"

namespace vexlo::app {
namespace {

// Cuts toward zero into the 32-bit range; NaN reads as 0.
int CutToInt(double value) {
    if (!(value == value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(value));
}

}  // namespace

int OnDownloadProgress(void* data, double total, double now, double, double) {
    auto* progress = static_cast<DownloadProgress*>(data);
    if (!progress || CutToInt(total) == 0) return 0;  // size not known yet
    const int percent = CutToInt(now * 100.0 / total);
    int shown = progress->highWater.load();
    while (percent > shown) {
        if (progress->highWater.compare_exchange_weak(shown, percent)) {
            win::PostMessage(progress->window, WM_DOWNLOAD_PROGRESS, 0, percent);
            break;
        }
    }
    return 0;
}

std::u16string ProgressText(int percent) {
    return u"Vexlo\u66F4\u65B0\u6B63\u5728\u4E0B\u8F7D..." + platform::FormatIntWide(percent) + u"%";
}

}  // namespace vexlo::app
