#include "tests/x11/updater_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace vexlo::x11::testing {
namespace fs = std::filesystem;

UpdaterSandbox::UpdaterSandbox() {
    std::string pattern = (fs::temp_directory_path() / "vexlo-x11-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directories(root_ / "registry");
    fs::create_directories(root_ / "data");
}

UpdaterSandbox::~UpdaterSandbox() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::vector<std::string> UpdaterSandbox::Environment(const std::string& serviceBase) const {
    return {"VEXLO_UPDATE_SERVICE=" + serviceBase, "VEXLO_MACHINE_REGISTRY=" + (root_ / "registry").string(),
            "XDG_DATA_HOME=" + (root_ / "data").string(),
            "VEXLO_INSTALLER_RECORD=" + (root_ / "installer-record.txt").string()};
}

UpdaterProcess::UpdaterProcess(const std::string& program, const std::vector<std::string>& variables,
                               const std::vector<std::string>& removed, const fs::path& folder) {
    std::vector<std::string> env = variables;
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = nameOf(entry);
        bool drop = false;
        for (const auto& r : removed) drop = drop || r == name;
        for (const auto& v : variables) drop = drop || nameOf(v) == name;
        if (!drop) env.push_back(entry);
    }
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fds[0];
}

UpdaterProcess::~UpdaterProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
}

void UpdaterProcess::Drain(int timeoutMs) {
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return;
    char buffer[4096];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n > 0) {
        output_.append(buffer, static_cast<size_t>(n));
    } else {
        close(out_);  // every writer is gone
        out_ = -1;
    }
}

bool UpdaterProcess::WaitForExit(int timeoutMs, int* exitCode) {
    if (pid_ <= 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            while (out_ >= 0) Drain(1000);
            *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        // The output closing is the sign of the end; a process that keeps it open is
        // looked at again now and then.
        if (out_ >= 0) {
            Drain(static_cast<int>(std::min<int64_t>(left.count(), 50)));
        } else {
            poll(nullptr, 0, static_cast<int>(std::min<int64_t>(left.count(), 20)));
        }
    }
}

}  // namespace vexlo::x11::testing
