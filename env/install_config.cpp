#include "env/install_config.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "env/ini_text.h"
#include "env/lockers.h"
#include "platform/base/numbers.h"
#include "platform/sys/file_path.h"
#include "platform/sys/files.h"
#include "platform/sys/system_info.h"

namespace vexlo::env {
namespace {

using platform::WString;

constexpr char16_t kCodeValue[] = u"code";

std::atomic<InstallConfig*> instance{nullptr};

}  // namespace

InstallConfig& InstallConfig::GetInstance() {
    InstallConfig* config = instance.load(std::memory_order_acquire);
    if (config == nullptr) {
        std::lock_guard<platform::Locker> guard(InstallConfigLocker());
        config = instance.load(std::memory_order_relaxed);
        if (config == nullptr) {
            // Lives until the process ends.
            config = new InstallConfig(RegistryKey(kVexloKeyPath), DefaultVersionDatPath());
            instance.store(config, std::memory_order_release);
        }
    }
    return *config;
}

WString InstallConfig::DefaultVersionDatPath() {
    const std::string executable = platform::CurrentExecutablePath();
    if (executable.empty()) return u"version.dat";
    return platform::JoinPath(platform::FsPathToWide(platform::ParentFolder(executable)),
                              u"version.dat");
}

InstallConfig::InstallConfig(const RegistryKey& key, WString versionDatPath)
    : version_(kInstalledVersion), versionDatPath_(std::move(versionDatPath)) {
    // A key we may not write (an ordinary user) can still be read; only the copy of the
    // version.dat entry into it is lost then.
    key.Create();
    const WString stored = key.ReadString(kCodeValue);
    if (!stored.empty()) {
        code_ = platform::Strtol32(stored);
        return;
    }
    std::string bytes;
    WString entry;
    if (ReadScrambledFile(versionDatPath_, kVersionDatKey, bytes)) {
        entry = platform::AnsiToWide(IniText::Parse(bytes).Get("config", "code"));
    }
    if (!entry.empty()) code_ = platform::Strtol32(entry);
    key.Create();
    key.WriteString(kCodeValue, entry);
}

WString GetDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (dataHome != nullptr && dataHome[0] == '/') {
        base = dataHome;
    } else {
        const std::string home = platform::HomeFolder();
        if (!home.empty()) base = home + "/.local/share";
    }
    return platform::JoinPath(platform::FsPathToWide(base), u"Vexlo");
}

namespace {

WString CreatedSubfolder(platform::WStringView name) {
    WString folder = GetDataFolder() + WString(name);
    platform::CreateDirectoryWithParents(platform::WideToFsPath(folder));
    return folder;
}

}  // namespace

WString GetTempFolder() { return CreatedSubfolder(u"/Temp"); }

WString GetUpdateFolder() { return CreatedSubfolder(u"/Update"); }

std::string ReadFileBytes(platform::WStringView path) {
    platform::FileBytes file =
        platform::ReadWholeFile(platform::WideToFsPath(path), kMaxFileBytes);
    return file.status == platform::ReadStatus::kOk ? std::move(file.bytes) : std::string();
}

std::string XorWithKey(std::string_view data, std::string_view key) {
    std::string out(data);
    if (key.empty()) return out;
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(out[i] ^ key[i < key.size() ? i : 0]);
    return out;
}

bool ReadScrambledFile(platform::WStringView path, std::string_view key, std::string& out) {
    platform::FileBytes file = platform::ReadWholeFile(platform::WideToFsPath(path), kMaxVersionDatBytes);
    if (file.status != platform::ReadStatus::kOk) return false;
    out = XorWithKey(file.bytes, key);
    return true;
}

}  // namespace vexlo::env
