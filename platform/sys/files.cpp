#include "platform/sys/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "platform/sys/system_info.h"
#include "platform/sys/unique_fd.h"

namespace vexlo::platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string RandomSuffix() {
    uint64_t bits = 0;
    if (!FillRandomBytes(&bits, sizeof bits)) {
        bits = static_cast<uint64_t>(::getpid()) ^ reinterpret_cast<uintptr_t>(&bits);
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < 16; ++i, bits >>= 4) out += kHex[bits & 0xF];
    return out;
}

void SyncFolder(const std::string& folder) {
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) ::fsync(dir.Get());
}

}  // namespace

FileBytes ReadWholeFile(const std::string& fsPath, size_t maxBytes, bool noFollow) {
    FileBytes result;
    if (fsPath.empty() || fsPath.find('\0') != std::string::npos) return result;
    int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (noFollow) flags |= O_NOFOLLOW;
    UniqueFd fd(::open(fsPath.c_str(), flags));
    if (!fd.Valid()) {
        result.status = errno == ENOENT || errno == ENOTDIR ? ReadStatus::kMissing
                                                             : ReadStatus::kFailed;
        return result;
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return result;
    if (!S_ISREG(st.st_mode)) {
        result.status = ReadStatus::kNotRegular;
        return result;
    }
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > maxBytes) {
        result.status = ReadStatus::kTooLarge;
        return result;
    }
    std::string bytes;
    try {
        bytes.resize(static_cast<size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        return result;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return result;  // an error, or the file shrank under us
        done += static_cast<size_t>(n);
    }
    result.status = ReadStatus::kOk;
    result.bytes = std::move(bytes);
    return result;
}

std::string ParentFolder(const std::string& fsPath) {
    const size_t slash = fsPath.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return fsPath.substr(0, slash);
}

bool ReplaceFileAtomically(const std::string& fsPath, std::string_view bytes, unsigned mode) {
    if (fsPath.empty() || fsPath.find('\0') != std::string::npos) return false;
    const std::string folder = ParentFolder(fsPath);
    const std::string aside = folder + "/.tmp." + RandomSuffix();
    UniqueFd fd(::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                       static_cast<mode_t>(mode)));
    if (!fd.Valid()) return false;
    const bool written = WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0 && fd.Close();
    if (!written || ::rename(aside.c_str(), fsPath.c_str()) != 0) {
        fd.Reset();
        ::unlink(aside.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

}  // namespace vexlo::platform
