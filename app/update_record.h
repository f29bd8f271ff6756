#pragma once
// The one piece of state shared by the update decision, the update window and its worker:
// written on the main thread during start-up, only read afterwards.
#include <cstdint>
#include <string>

#include "platform/base/text.h"

namespace vexlo::app {

// libcurl's progress-callback form, as the download with progress takes it.
using DownloadProgressCallback = int (*)(void* data, double dlTotal, double dlNow, double ulTotal, double ulNow);

class UpdateRecord {
public:
    static constexpr int32_t kForcedUpdate = 2;

    // Asks the update service at `checkUrl` (ending in "?") and fills the record when the
    // check succeeds. True when the offered version is newer than the installed one.
    bool CheckForUpdate(const std::string& checkUrl);
    bool IsForced() const { return updateType == kForcedUpdate; }
    bool DownloadPackage() const;
    bool DownloadPackageWithProgress(DownloadProgressCallback callback, void* data) const;
    // "/s" on the forced road, no parameters otherwise. The result is not examined by callers.
    bool LaunchInstaller() const;

    platform::WString version;
    platform::WString localPath;
    platform::WString downloadUrl;
    platform::WString explanation;
    int32_t updateType = 1;
};

// The part of a download URL after its last separator ('\\', '/' or ':') that is not at
// the end, as the shell's path-stripping does. URLs that do not fit the 260-character
// name buffer give the empty text, so the download that follows fails to create a file.
platform::WString FileNameFromUrl(platform::WStringView url);

}  // namespace vexlo::app
