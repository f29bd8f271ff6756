#include "platform/sys/process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/sys/unique_fd.h"

extern char** environ;

namespace vexlo::platform {
namespace {

constexpr char kDefaultPath[] = "/usr/local/bin:/usr/bin:/bin";

bool HasNul(const std::string& s) { return s.find('\0') != std::string::npos; }

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
}

// Everything the new process needs, made before the fork: after it only system calls run.
struct Prepared {
    std::string program;
    std::vector<std::string> argvStorage;
    std::vector<std::string> envStorage;
    std::vector<char*> argv;
    std::vector<char*> envp;
    char** environment = nullptr;
    std::vector<gid_t> groups;
    int stdFds[3] = {-1, -1, -1};
    UniqueFd devNull;
};

bool Prepare(const SpawnRequest& request, Prepared& out, int& error) {
    if (request.argv.empty() || request.argv[0].empty()) {
        error = EINVAL;
        return false;
    }
    for (const std::string& arg : request.argv) {
        if (HasNul(arg)) {
            error = EINVAL;
            return false;
        }
    }
    out.program = ResolveProgram(request.argv[0]);
    if (out.program.empty()) {
        error = ENOENT;
        return false;
    }
    out.argvStorage = request.argv;
    for (std::string& arg : out.argvStorage) out.argv.push_back(arg.data());
    out.argv.push_back(nullptr);
    if (request.environment) {
        out.envStorage = *request.environment;
        for (std::string& entry : out.envStorage) {
            if (HasNul(entry)) {
                error = EINVAL;
                return false;
            }
            out.envp.push_back(entry.data());
        }
        out.envp.push_back(nullptr);
        out.environment = out.envp.data();
    } else {
        out.environment = environ;
    }
    if (request.account) {
        out.groups.push_back(request.account->gid);
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::string buffer(size > 0 ? static_cast<size_t>(size) : 16384, '\0');
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(request.account->uid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr) {
            int count = 64;
            std::vector<gid_t> groups(static_cast<size_t>(count));
            if (::getgrouplist(found->pw_name, request.account->gid, groups.data(), &count) < 0 &&
                count > 0 && count <= 65536) {
                groups.resize(static_cast<size_t>(count));
                ::getgrouplist(found->pw_name, request.account->gid, groups.data(), &count);
            }
            if (count > 0) {
                groups.resize(static_cast<size_t>(count));
                out.groups = std::move(groups);
            }
        }
    }
    const int wanted[3] = {request.standardInput, request.standardOutput, request.standardError};
    const bool anyStd = wanted[0] >= 0 || wanted[1] >= 0 || wanted[2] >= 0;
    if (anyStd) {
        for (int i = 0; i < 3; ++i) {
            if (wanted[i] >= 0) {
                out.stdFds[i] = wanted[i];
                continue;
            }
            if (!out.devNull.Valid()) {
                out.devNull.Reset(::open("/dev/null", O_RDWR | O_CLOEXEC));
                if (!out.devNull.Valid()) {
                    error = errno;
                    return false;
                }
            }
            out.stdFds[i] = out.devNull.Get();
        }
    }
    return true;
}

// The child's report: its pid first, then an errno only when it could not start.
void WriteFully(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        p += n;
        size -= static_cast<size_t>(n);
    }
}

[[noreturn]] void Fail(int reportFd, int error) {
    const int32_t value = error;
    WriteFully(reportFd, &value, sizeof value);
    ::_exit(127);
}

void CloseDescriptorsFrom(int first, int keep) {
    // close_range where the kernel has it; a plain loop otherwise.
    auto closeRange = [](unsigned from, unsigned to) {
        if (from > to) return;
        if (::syscall(SYS_close_range, from, to, 0) == 0) return;
        const long max = ::sysconf(_SC_OPEN_MAX);
        const unsigned last = max > 0 ? static_cast<unsigned>(max) - 1 : 1023u;
        for (unsigned fd = from; fd <= to && fd <= last; ++fd) ::close(static_cast<int>(fd));
    };
    closeRange(static_cast<unsigned>(first), static_cast<unsigned>(keep) - 1);
    closeRange(static_cast<unsigned>(keep) + 1, UINT_MAX);
}

// Runs in the new process; returns only through exec or Fail.
[[noreturn]] void StartChild(const SpawnRequest& request, Prepared& p, int reportFd) {
    const int32_t pid = ::getpid();
    WriteFully(reportFd, &pid, sizeof pid);

    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) ::sigaction(sig, &dfl, nullptr);

    if (request.processGroup && ::setpgid(0, *request.processGroup) != 0) Fail(reportFd, errno);

    if (p.stdFds[0] >= 0) {
        // Sources among 0..2 move out of the way first, so no dup2 overwrites another's.
        for (int& fd : p.stdFds) {
            if (fd < 3) {
                fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
                if (fd < 0) Fail(reportFd, errno);
            }
        }
        for (int i = 0; i < 3; ++i) {
            if (::dup2(p.stdFds[i], i) < 0) Fail(reportFd, errno);
        }
    }
    if (!request.inheritDescriptors) CloseDescriptorsFrom(3, reportFd);

    if (request.account) {
        // Raw system calls: only this thread exists here, and the library wrappers would try
        // to reach the threads of the parent.
        if (::syscall(SYS_setgroups, p.groups.size(), p.groups.data()) != 0 ||
            ::syscall(SYS_setgid, request.account->gid) != 0 ||
            ::syscall(SYS_setuid, request.account->uid) != 0) {
            Fail(reportFd, errno);
        }
    }
    ::execve(p.program.c_str(), p.argv.data(), p.environment);
    Fail(reportFd, errno);
}

bool ReadFully(int fd, void* data, size_t size) {
    char* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

void Reap(pid_t pid) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

std::string ResolveProgram(const std::string& program) {
    if (program.empty() || HasNul(program)) return {};
    if (program.find('/') != std::string::npos) return program;
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : kDefaultPath;
    while (true) {
        const size_t end = dirs.find(':');
        std::string dir(dirs.substr(0, end));
        if (dir.empty()) dir.push_back('.');  // an empty entry means the current folder
        std::string candidate = dir + "/" + program;
        if (IsExecutableFile(candidate)) return candidate;
        if (end == std::string_view::npos) return {};
        dirs.remove_prefix(end + 1);
    }
}

SpawnResult SpawnProcess(const SpawnRequest& request) {
    SpawnResult result;
    Prepared prepared;
    if (!Prepare(request, prepared, result.error)) return result;

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        result.error = errno;
        return result;
    }
    UniqueFd reportRead(pipeFds[0]);
    UniqueFd reportWrite(pipeFds[1]);

    const pid_t child = ::fork();
    if (child < 0) {
        result.error = errno;
        return result;
    }
    if (child == 0) {
        reportRead.Release();  // left to exec to close
        if (!request.wait) {
            // Detach: the grandchild is the new process; its parent ends at once, so init
            // adopts it and no zombie of ours is left behind.
            const pid_t grandchild = ::fork();
            if (grandchild < 0) {
                const int error = errno;
                const int32_t self = ::getpid();
                WriteFully(reportWrite.Get(), &self, sizeof self);
                Fail(reportWrite.Get(), error);
            }
            if (grandchild > 0) ::_exit(0);
        }
        StartChild(request, prepared, reportWrite.Get());
    }
    reportWrite.Reset();

    int32_t pid = -1;
    int32_t childError = 0;
    const bool gotPid = ReadFully(reportRead.Get(), &pid, sizeof pid);
    const bool failed = gotPid && ReadFully(reportRead.Get(), &childError, sizeof childError);
    reportRead.Reset();

    if (!request.wait || !gotPid || failed) Reap(child);
    if (!gotPid) {
        result.error = ECHILD;
        return result;
    }
    if (failed) {
        result.error = childError;
        return result;
    }
    result.started = true;
    result.pid = pid;
    result.group = request.processGroup ? (*request.processGroup == 0 ? pid : *request.processGroup)
                                        : ::getpgrp();
    if (request.wait) Reap(child);
    return result;
}

bool TerminateAndWait(pid_t pid, std::chrono::milliseconds timeout) {
    if (pid <= 0) return false;
    // The descriptor pins the process, so the wait below is for this one even if the pid
    // were reused.
    UniqueFd pidFd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    if (::kill(pid, SIGKILL) != 0) return false;
    if (pidFd.Valid()) {
        pollfd entry{pidFd.Get(), POLLIN, 0};
        const long long ms = timeout.count();
        const int wait = ms < 0 ? -1 : static_cast<int>(ms > INT_MAX ? INT_MAX : ms);
        while (::poll(&entry, 1, wait) < 0 && errno == EINTR) {
        }
        // Reap it when it is our child; for anyone else's this fails harmlessly.
        ::waitpid(pid, nullptr, WNOHANG);
    } else {
        // No descriptor to wait on: a child of ours is reaped, anyone else's is left.
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    return true;
}

std::vector<std::string> AccountEnvironment(uid_t uid) {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return {};
    }
    const std::string shell = found->pw_shell != nullptr && *found->pw_shell ? found->pw_shell : "/bin/sh";
    return {
        std::string("HOME=") + (found->pw_dir != nullptr ? found->pw_dir : "/"),
        std::string("USER=") + found->pw_name,
        std::string("LOGNAME=") + found->pw_name,
        "SHELL=" + shell,
        std::string("PATH=") + kDefaultPath,
    };
}

}  // namespace vexlo::platform
