#pragma once
// Small fixtures shared by the environment tests: temporary folders, environment variables
// set for one test, and running a check in a child process (optionally without root rights,
// so permission failures show even when the tests run as root).
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

namespace vexlo::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vexlo-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
        // Readable by the unprivileged child of RunInChild.
        ::chmod(path_.c_str(), 0755);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = ::getenv(name)) old_ = old;
        if (value != nullptr) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
        else ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `check` in a forked child and returns its result (false when the child died).
// With `unprivileged`, a root child first becomes the "nobody" account.
inline bool RunInChild(bool unprivileged, const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        if (unprivileged && ::geteuid() == 0) {
            if (::syscall(SYS_setgroups, 0, nullptr) != 0 || ::syscall(SYS_setgid, 65534) != 0 ||
                ::syscall(SYS_setuid, 65534) != 0) {
                ::_exit(3);
            }
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vexlo::testing
