#include "tests/x11/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

extern char** environ;

namespace vexlo::x11::testing {

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = dirs.find(':', start);
        const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return {};
}

std::unique_ptr<XvfbServer> XvfbServer::Start(const std::string& screen, std::string* why) {
    const std::string program = FindProgram("Xvfb");
    if (program.empty()) {
        *why = "the Xvfb program is not installed";
        return nullptr;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        *why = "no pipe";
        return nullptr;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    // The server writes the display number it chose to this descriptor.
    const std::string displayFd = std::to_string(fds[1]);
    std::vector<std::string> args = {program, "-displayfd", displayFd, "-screen", "0", screen,
                                     "-nolisten", "tcp", "-noreset"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        *why = "Xvfb did not start";
        return nullptr;
    }
    std::string number;
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 20000) <= 0) break;
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number.push_back(c);
    }
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        *why = "Xvfb gave no display number";
        return nullptr;
    }
    return std::unique_ptr<XvfbServer>(new XvfbServer(pid, ":" + number));
}

XvfbServer::~XvfbServer() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

}  // namespace vexlo::x11::testing
