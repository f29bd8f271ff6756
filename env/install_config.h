#pragma once
// What is installed and where the updater keeps its files: the installed version, the
// installation code, the per-user folders and two whole-file readers.
#include <cstdint>
#include <string>
#include <string_view>

#include "env/registry_key.h"
#include "platform/base/text.h"

namespace vexlo::env {

inline constexpr char16_t kInstalledVersion[] = u"2.1.12.15";
inline constexpr int32_t kDefaultInstallCode = 6000;
// The scrambling key of version.dat.
inline constexpr std::string_view kVersionDatKey = "RV#(&%";
// The largest version.dat that is read; a larger one counts as unreadable.
inline constexpr size_t kMaxVersionDatBytes = 1 << 20;

class InstallConfig {
public:
    // The process-wide instance, created on first use under InstallConfigLocker() from the
    // machine registry and the version.dat beside the executable; never destroyed.
    static InstallConfig& GetInstance();

    // A configuration built from explicit sources: the key that holds "code" and the path of
    // version.dat.
    InstallConfig(const RegistryKey& key, platform::WString versionDatPath);

    platform::WString GetVersion() const { return version_; }
    int32_t GetCode() const { return code_; }
    const platform::WString& VersionDatPath() const { return versionDatPath_; }

    // The running executable's folder joined with "version.dat".
    static platform::WString DefaultVersionDatPath();

private:
    platform::WString version_;
    int32_t code_ = kDefaultInstallCode;
    platform::WString versionDatPath_;
};

// $XDG_DATA_HOME/Vexlo (default ~/.local/share/Vexlo); not created.
platform::WString GetDataFolder();
// The data folder + "/Temp", created with its parents on every call.
platform::WString GetTempFolder();
// The data folder + "/Update", created with its parents on every call.
platform::WString GetUpdateFolder();

// The largest file ReadFileBytes reads: what a 32-bit file position can measure.
inline constexpr size_t kMaxFileBytes = 0x7FFFFFFF;

// The whole file; empty when it cannot be opened, is not a regular file, is larger than
// kMaxFileBytes, or delivers fewer bytes than it measured.
std::string ReadFileBytes(platform::WStringView path);

// data[i] ^ key[i] for i below the key's length, data[i] ^ key[0] after that (the key does
// not repeat). An empty key leaves the data as it is.
std::string XorWithKey(std::string_view data, std::string_view key);
// Reads the file whole and descrambles it into `out`. False, leaving `out` as it was, when
// the file does not exist, cannot be read or is larger than kMaxVersionDatBytes.
bool ReadScrambledFile(platform::WStringView path, std::string_view key, std::string& out);

}  // namespace vexlo::env
