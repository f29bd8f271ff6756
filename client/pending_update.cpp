#include "client/pending_update.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "client/client_api.h"
#include "client/ini_file.h"
#include "client/version_compare.h"
#include "env/install_config.h"
#include "env/process_launch.h"
#include "platform/base/debug_output.h"
#include "platform/sys/file_path.h"

namespace vexlo::client {
namespace {

constexpr char kSection[] = "update";
constexpr size_t kMaxPendingFileBytes = 64 * 1024;

std::mutex gHooksMutex;
PendingUpdateHooks gHooks;

PendingUpdateHooks CurrentHooks() {
    std::lock_guard lock(gHooksMutex);
    PendingUpdateHooks hooks = gHooks;
    if (!hooks.launch) {
        hooks.launch = [](platform::WStringView path) { return env::LaunchElevated(path, u""); };
    }
    if (!hooks.endProcess) {
        hooks.endProcess = [](int exitCode) {
            std::fflush(nullptr);
            std::_Exit(exitCode);
        };
    }
    return hooks;
}

bool IsRegularFile(platform::WStringView path) {
    const std::string fsPath = platform::WideToFsPath(path);
    struct stat info {};
    return platform::OpenableFsPath(fsPath) && ::stat(fsPath.c_str(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

// A value as the private-profile read gives it: missing reads as empty.
platform::WString PendingValue(const std::optional<std::string>& text, const char* key) {
    if (!text) return {};
    const std::optional<std::string> value = ReadIniValue(*text, kSection, key);
    if (!value) return {};
    platform::WString wide = platform::Utf8ToWide(*value);
    if (wide.size() > kPendingValueMaxChars) return {};
    return wide;
}

}  // namespace

void SetPendingUpdateHooks(PendingUpdateHooks hooks) {
    std::lock_guard lock(gHooksMutex);
    gHooks = std::move(hooks);
}

void ResetPendingUpdateHooks() { SetPendingUpdateHooks({}); }

std::string PendingUpdateFsPath() {
    return platform::WideToFsPath(platform::JoinPath(env::GetTempFolder(), kPendingUpdateFileName));
}

int ClientAPI::SaveUpdateInfo(WStringView path, WStringView version) {
    const std::string file = PendingUpdateFsPath();
    // Failures to write are not reported, as with the private-profile functions.
    WriteIniValue(file, kSection, "path", platform::WideToUtf8(path));
    WriteIniValue(file, kSection, "version", platform::WideToUtf8(version));
    return 0;
}

int ClientAPI::RunPendingUpdate(WStringView path) {
    const std::string file = PendingUpdateFsPath();
    WString chosen;
    if (!path.empty() && IsRegularFile(path)) {
        chosen = WString(path);
    } else {
        const std::optional<std::string> text = ReadSmallFile(file, kMaxPendingFileBytes);
        if (text) {
            const WString version = PendingValue(text, "version");
            const WString pendingPath = PendingValue(text, "path");
            if (CompareVersions(version, env::InstallConfig::GetInstance().GetVersion()) > 0)
                chosen = pendingPath;
        }
    }
    ::unlink(file.c_str());

    if (!chosen.empty() && IsRegularFile(chosen)) {
        const PendingUpdateHooks hooks = CurrentHooks();
        if (hooks.launch(chosen)) {
            hooks.endProcess(0);
            return 0;  // only when a test's hook lets the process go on
        }
        platform::OutputDebugText(u"启动更新进程失败");
    }
    return 1;
}

}  // namespace vexlo::client
