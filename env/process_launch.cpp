#include "env/process_launch.h"

#include <signal.h>
#include <sys/stat.h>

#include <chrono>

#include "env/registry_key.h"
#include "platform/sys/command_line.h"
#include "platform/sys/file_path.h"
#include "platform/sys/process.h"
#include "platform/sys/system_info.h"

namespace vexlo::env {
namespace {

using platform::WString;

constexpr char16_t kPolicyKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\";
constexpr char16_t kEnableLua[] = u"EnableLUA";
constexpr auto kTerminateWait = std::chrono::milliseconds(60000);

// A downloaded installer arrives without execute permission.
void MakeExecutableForOwner(const std::string& fsPath) {
    struct stat st {};
    if (::stat(fsPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IXUSR) == 0) {
        ::chmod(fsPath.c_str(), (st.st_mode & 07777) | S_IXUSR);
    }
}

std::vector<std::string> ToFsArguments(const std::vector<WString>& arguments) {
    std::vector<std::string> out;
    out.reserve(arguments.size());
    for (const WString& argument : arguments) out.push_back(platform::WideToFsPath(argument));
    return out;
}

bool StartDetached(const std::vector<WString>& argv) {
    platform::SpawnRequest request;
    request.argv = ToFsArguments(argv);
    return platform::SpawnProcess(request).started;
}

}  // namespace

bool ProcessJob::Terminate() const {
    // Never 0 or 1: kill(0) and kill(-1) reach far more than this job.
    return group_ > 1 && ::kill(-group_, SIGKILL) == 0;
}

bool IsUacEnabled() {
    // Every system here counts as one of version 6 or later, so the policy decides.
    RegistryKey policy(kPolicyKey, platform::RegistryView::k64Bit);
    const auto enabled = policy.ReadDword(kEnableLua);
    return enabled.has_value() && *enabled != 0;
}

ElevationEnvironment ElevationEnvironment::System() {
    ElevationEnvironment environment;
    environment.isAdministrator = [] { return platform::IsAdministrator(); };
    environment.isUacEnabled = [] { return IsUacEnabled(); };
    environment.elevationCommand = [] {
        return platform::FsPathToWide(platform::ResolveProgram("pkexec"));
    };
    environment.runProcess = [](const ProcessOptions& options, platform::WStringView line) {
        return RunProcess(options, line);
    };
    environment.startDetached = &StartDetached;
    return environment;
}

bool LaunchElevated(platform::WStringView programPath, platform::WStringView parameters) {
    return LaunchElevated(programPath, parameters, ElevationEnvironment::System());
}

bool LaunchElevated(platform::WStringView programPath, platform::WStringView parameters,
                    const ElevationEnvironment& environment) {
    // A quote would end the quoted program name early and turn the rest of the path into
    // arguments of our choosing.
    if (programPath.empty() || programPath.find(u'"') != platform::WStringView::npos ||
        programPath.find(u'\0') != platform::WStringView::npos) {
        return false;
    }
    MakeExecutableForOwner(platform::WideToFsPath(programPath));

    if (!environment.isAdministrator() && environment.isUacEnabled()) {
        const WString prompt = environment.elevationCommand();
        if (prompt.empty()) return false;
        std::vector<WString> argv{prompt, WString(programPath)};
        for (WString& argument : platform::SplitArguments(parameters)) argv.push_back(std::move(argument));
        return environment.startDetached(argv);
    }

    WString commandLine = u"\"";
    commandLine += programPath;
    commandLine += u"\" ";
    commandLine += parameters;
    if (commandLine.size() > kMaxLaunchCommandLine) return false;
    return environment.runProcess(ProcessOptions{}, commandLine);
}

bool RunProcess(const ProcessOptions& options, platform::WStringView commandLine) {
    if (commandLine.size() > kMaxCommandLine) return false;
    const std::vector<WString> arguments = platform::SplitCommandLine(commandLine);
    if (arguments.empty() || arguments[0].empty()) return false;

    platform::SpawnRequest request;
    request.argv = ToFsArguments(arguments);
    request.wait = options.wait;
    request.inheritDescriptors = options.inheritHandles;
    request.standardInput = options.standardInput;
    request.standardOutput = options.standardOutput;
    request.standardError = options.standardError;
    if (options.job != nullptr) {
        request.processGroup = options.job->group_ > 0 ? options.job->group_ : 0;
    } else if (options.breakaway) {
        request.processGroup = 0;
    }
    if (options.userToken != nullptr) {
        std::vector<std::string> environment = platform::AccountEnvironment(options.userToken->uid);
        if (environment.empty()) return false;
        request.account = platform::UserAccount{options.userToken->uid, options.userToken->gid};
        request.environment = std::move(environment);
    }
    const platform::SpawnResult result = platform::SpawnProcess(request);
    if (!result.started) return false;
    if (options.job != nullptr && options.job->group_ <= 0) options.job->group_ = result.group;
    return true;
}

bool TerminateAndWait(pid_t process) { return platform::TerminateAndWait(process, kTerminateWait); }

}  // namespace vexlo::env
