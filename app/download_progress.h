#pragma once
// The download worker's progress report: at most one message per whole percent, never a
// smaller value than one already shown, and never 0. The state is shared between the
// window (which resets it before a worker starts) and the worker (which raises it).
#include <atomic>
#include <memory>

#include "platform/win/handles.h"

namespace vexlo::app {

inline constexpr uint32_t WM_DOWNLOAD_PROGRESS = 0x1400;
inline constexpr uint32_t WM_TRAY_CALLBACK = 0x1401;
inline constexpr uint32_t WM_DOWNLOAD_DONE = 0x1402;
inline constexpr uint32_t WM_DOWNLOAD_FAILED = 0x1403;

struct DownloadProgress {
    win::Window window;            // where the reports are posted
    std::atomic<int> highWater{0};  // the largest percentage posted so far
};

// The transfer library's progress callback; data is a DownloadProgress. Always 0: the
// transfer is never aborted on its account.
int OnDownloadProgress(void* data, double total, double now, double uploadTotal, double uploadNow);

// "Vexlo更新正在下载...42%"
std::u16string ProgressText(int percent);

}  // namespace vexlo::app
