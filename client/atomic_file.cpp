#include "client/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace vexlo::client {
namespace {

class TemporaryFile {
public:
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    // Creates a new file beside target, with the permissions a plain create would give.
    bool Create(const std::string& target) {
        static std::atomic<unsigned> counter{0};
        // A short name of its own, so that a target name near the length limit still works.
        const size_t slash = target.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = folder + ".vexlo-part-" + std::to_string(::getpid()) + "-" +
                                    std::to_string(counter.fetch_add(1));
            int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = fd;
                path_ = std::move(candidate);
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }

    bool WriteAll(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            bytes.remove_prefix(static_cast<size_t>(written));
        }
        return true;
    }

    // Flushes, closes and renames over target; afterwards the object owns nothing.
    bool CommitTo(const std::string& target) {
        if (::fsync(fd_) != 0) return false;
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) return false;
        if (::rename(path_.c_str(), target.c_str()) != 0) return false;
        path_.clear();
        return true;
    }

private:
    int fd_ = -1;
    std::string path_;
};

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& fsPath, std::string_view bytes) {
    if (fsPath.empty() || fsPath.back() == '/' || IsDirectory(fsPath)) return false;
    TemporaryFile file;
    return file.Create(fsPath) && file.WriteAll(bytes) && file.CommitTo(fsPath);
}

}  // namespace vexlo::client
