#pragma once
// How the updater starts programs: with administrator rights when needed (the installer),
// or directly as a new process.
#include <sys/types.h>

#include <functional>
#include <vector>

#include "platform/base/text.h"

namespace vexlo::env {

struct ProcessOptions;
bool RunProcess(const ProcessOptions& options, platform::WStringView commandLine);

// A group of processes that can be ended together: a process group. The first process
// placed in a fresh job leads the group; later ones join it while it has members.
class ProcessJob {
public:
    pid_t GroupId() const { return group_; }
    // Kills every process of the job. False when it has none.
    bool Terminate() const;

private:
    friend bool RunProcess(const ProcessOptions& options, platform::WStringView commandLine);
    pid_t group_ = 0;
};

// The account a process is created for: that user's ids and a fresh login environment
// (HOME, USER, LOGNAME, SHELL, PATH), nothing of ours. Switching needs administrator
// rights; without them the start fails.
struct UserToken {
    uid_t uid = 0;
    gid_t gid = 0;
};

struct ProcessOptions {
    bool wait = false;             // wait without limit for the process to end
    bool hidden = false;           // show state; no effect here, there is no window to hide
    bool inheritHandles = false;   // keep our descriptors that lack close-on-exec
    const UserToken* userToken = nullptr;
    bool defaultDesktop = false;   // no effect here: there is one desktop
    ProcessJob* job = nullptr;     // place the process in this job
    int standardInput = -1;        // descriptors for 0, 1, 2; -1 is none. When any is set,
    int standardOutput = -1;       // the unset ones become /dev/null
    int standardError = -1;
    bool breakaway = false;        // leave our process group (ignored with a job)
};

// The longest command line LaunchElevated builds (the rest of the 260-character buffer is
// its terminator); a longer one is refused.
inline constexpr size_t kMaxLaunchCommandLine = 259;
// The longest command line RunProcess takes, as process creation on the original target.
inline constexpr size_t kMaxCommandLine = 32766;

// True when the policy value "EnableLUA" in the 64-bit view reads as a non-zero 32-bit value.
bool IsUacEnabled();

// What LaunchElevated decides with; tests put their own parts in.
struct ElevationEnvironment {
    std::function<bool()> isAdministrator;
    std::function<bool()> isUacEnabled;
    // The elevation prompt's program (pkexec), empty when there is none.
    std::function<platform::WString()> elevationCommand;
    // The direct start.
    std::function<bool(const ProcessOptions&, platform::WStringView)> runProcess;
    // Starts argv without waiting (the elevation prompt with the program and its arguments).
    std::function<bool(const std::vector<platform::WString>&)> startDetached;

    static ElevationEnvironment System();
};

// Makes the program executable for its owner, then: not an administrator and user account
// control on → the elevation prompt runs it with the parameters (false when there is no
// prompt program or it cannot start); otherwise RunProcess with `"path" parameters`.
// True when the start request succeeded; never waits for the program. A path with a double
// quote, or a direct command line over kMaxLaunchCommandLine characters, is refused.
bool LaunchElevated(platform::WStringView programPath, platform::WStringView parameters);
bool LaunchElevated(platform::WStringView programPath, platform::WStringView parameters,
                    const ElevationEnvironment& environment);

// Splits the Windows-style command line by the rules of platform/sys/command_line.h and
// starts the program directly (never through a shell). True when the process was created.
bool RunProcess(const ProcessOptions& options, platform::WStringView commandLine);

// Ends the process; when that succeeds, waits up to 60 seconds for it. Returns whether the
// termination succeeded.
bool TerminateAndWait(pid_t process);

}  // namespace vexlo::env
