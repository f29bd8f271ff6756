#include "tests/app/updater_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

extern char** environ;

namespace vexlo::testing {
namespace fs = std::filesystem;

UpdaterSandbox::UpdaterSandbox() {
    std::string pattern = (fs::temp_directory_path() / "vexlo-app-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directories(registryDir());
    fs::create_directories(dataHome());
    fs::create_directories(filesDir());
}

UpdaterSandbox::~UpdaterSandbox() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void UpdaterSandbox::PublishSampleInstaller(const std::string& name) const {
    fs::copy_file(VEXLO_SAMPLE_INSTALLER_PATH, filesDir() / name, fs::copy_options::overwrite_existing);
}

std::vector<std::string> UpdaterSandbox::InstallerStarts() const {
    std::vector<std::string> lines;
    std::ifstream in(installerRecord());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

fs::path UpdaterSandbox::WriteScript(const std::string& lines) const {
    const fs::path path = root_ / "input.script";
    std::ofstream(path) << lines;
    return path;
}

ProcessResult UpdaterSandbox::RunUpdater(const std::string& serviceBase, std::chrono::milliseconds limit,
                                         const std::vector<std::string>& extraEnv) const {
    // The child's environment: ours, with the sandbox's settings in front.
    std::vector<std::string> env = {
        "VEXLO_UPDATE_SERVICE=" + serviceBase,
        "VEXLO_MACHINE_REGISTRY=" + registryDir().string(),
        "XDG_DATA_HOME=" + dataHome().string(),
        "VEXLO_INSTALLER_RECORD=" + installerRecord().string(),
        "VEXLO_DISPLAY=headless",
    };
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        if (name == "VEXLO_UPDATE_SERVICE" || name == "VEXLO_MACHINE_REGISTRY" || name == "XDG_DATA_HOME" ||
            name == "VEXLO_INSTALLER_RECORD" || name == "VEXLO_DISPLAY" || name == "VEXLO_FRAMES" ||
            name == "VEXLO_HEADLESS_SCRIPT") {
            continue;
        }
        env.push_back(entry);
    }
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addchdir_np(&actions, root_.c_str());
    std::string program = VEXLO_UPDATER_PATH;
    char* argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start the updater");
    }

    ProcessResult result;
    auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd p{pipeFds[0], POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready <= 0) continue;
        ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;  // every writer closed: the updater and what it started are done
        result.output.append(buffer, static_cast<size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace vexlo::testing
