#pragma once
// Starting programs directly (never through a shell) and ending them.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::platform {

// The account a process is started for.
struct UserAccount {
    uid_t uid = 0;
    gid_t gid = 0;
};

struct SpawnRequest {
    // argv[0] names the program: a path when it holds a '/', else it is looked up in PATH.
    std::vector<std::string> argv;
    // Wait without limit for the process to end. Without it the process is detached: it
    // runs on by itself and is never left as a zombie of ours.
    bool wait = false;
    // Keep our descriptors that lack close-on-exec. Without it only 0, 1 and 2 reach the
    // new process.
    bool inheritDescriptors = false;
    // Descriptors for the new process's 0, 1 and 2. When any of them is set, the unset ones
    // become /dev/null.
    int standardInput = -1;
    int standardOutput = -1;
    int standardError = -1;
    // Process group: nullopt keeps ours, 0 makes a new group led by the new process, any
    // other value joins that existing group.
    std::optional<pid_t> processGroup;
    // Start for that account (needs the rights to switch to it), with its supplementary
    // groups and with `environment` as the whole environment.
    std::optional<UserAccount> account;
    // Replaces the environment when set; otherwise ours is inherited.
    std::optional<std::vector<std::string>> environment;
};

struct SpawnResult {
    bool started = false;
    pid_t pid = -1;    // of the new process
    pid_t group = -1;  // its process group
    int error = 0;     // errno of the failure
};

SpawnResult SpawnProcess(const SpawnRequest& request);

// The program argv[0] would run: itself when it holds a '/', else the first executable
// match in PATH (the empty text when there is none).
std::string ResolveProgram(const std::string& program);

// Kills the process; when that succeeds, waits up to `timeout` for it to end (reaping it
// when it is our child). Returns whether the kill succeeded. pid <= 0 is refused, so a
// bad handle can never reach a whole process group.
bool TerminateAndWait(pid_t pid, std::chrono::milliseconds timeout);

// The environment a fresh login of the account starts with: HOME, USER, LOGNAME, SHELL and
// a default PATH. Empty when the account is unknown.
std::vector<std::string> AccountEnvironment(uid_t uid);

}  // namespace vexlo::platform
