#pragma once
// The updater executable as a process of its own, in a folder sandbox (registry store,
// per-user data, installer record), with the environment the test gives it.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vexlo::x11::testing {

class UpdaterSandbox {
public:
    UpdaterSandbox();
    ~UpdaterSandbox();
    UpdaterSandbox(const UpdaterSandbox&) = delete;
    UpdaterSandbox& operator=(const UpdaterSandbox&) = delete;
    const std::filesystem::path& root() const { return root_; }
    // The variables that keep the updater inside the sandbox, for the given service.
    std::vector<std::string> Environment(const std::string& serviceBase) const;

private:
    std::filesystem::path root_;
};

class UpdaterProcess {
public:
    // Starts `program` with these variables added to (or replacing) the test's own;
    // the names in `removed` are left out.
    UpdaterProcess(const std::string& program, const std::vector<std::string>& variables,
                   const std::vector<std::string>& removed, const std::filesystem::path& folder);
    ~UpdaterProcess();  // a process still running is killed
    UpdaterProcess(const UpdaterProcess&) = delete;
    UpdaterProcess& operator=(const UpdaterProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // Waits until the process ends (true, with its exit status) or the time is up.
    bool WaitForExit(int timeoutMs, int* exitCode);
    const std::string& output() const { return output_; }

private:
    void Drain(int timeoutMs);
    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

}  // namespace vexlo::x11::testing
