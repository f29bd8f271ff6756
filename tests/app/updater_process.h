#pragma once
// Runs the updater executable as a separate process in a sandbox of its own: a temporary
// registry store, per-user data folder and installer record, pointed at a given service.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vexlo::testing {

struct ProcessResult {
    bool exited = false;  // false: killed by a signal or by the time limit
    int exitCode = -1;
    std::string output;   // standard output and error together
};

class UpdaterSandbox {
public:
    UpdaterSandbox();
    ~UpdaterSandbox();
    UpdaterSandbox(const UpdaterSandbox&) = delete;
    UpdaterSandbox& operator=(const UpdaterSandbox&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path registryDir() const { return root_ / "registry"; }
    std::filesystem::path dataHome() const { return root_ / "data"; }
    std::filesystem::path updateFolder() const { return dataHome() / "Vexlo" / "Update"; }
    std::filesystem::path installerRecord() const { return root_ / "installer-record.txt"; }
    std::filesystem::path filesDir() const { return root_ / "files"; }

    // Copies the sample installer into the served folder under this name.
    void PublishSampleInstaller(const std::string& name) const;
    // Lines the sample installer recorded, one per start.
    std::vector<std::string> InstallerStarts() const;

    // Runs the updater with VEXLO_UPDATE_SERVICE = serviceBase and the sandbox's folders,
    // on the headless display; `extraEnv` entries ("NAME=value") are added.
    ProcessResult RunUpdater(const std::string& serviceBase,
                             std::chrono::milliseconds limit = std::chrono::seconds(60),
                             const std::vector<std::string>& extraEnv = {}) const;
    // A headless input script in the sandbox, for VEXLO_HEADLESS_SCRIPT.
    std::filesystem::path WriteScript(const std::string& lines) const;

private:
    std::filesystem::path root_;
};

}  // namespace vexlo::testing
