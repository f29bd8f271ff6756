#include "platform/sys/system_info.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <pwd.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

namespace vexlo::platform {

std::string CurrentExecutablePath() {
    std::string buffer(256, '\0');
    while (buffer.size() <= 65536) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<size_t>(n));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

bool IsAdministrator() { return ::geteuid() == 0; }

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return {};
    }
    return found->pw_dir;
}

bool CreateDirectoryWithParents(const std::string& fsPath, unsigned mode) {
    if (fsPath.empty() || fsPath.find('\0') != std::string::npos) return false;
    auto isDirectory = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    };
    if (isDirectory(fsPath)) return true;
    // Every prefix that ends before a '/', then the whole path.
    for (size_t pos = fsPath.find('/', 1);; pos = fsPath.find('/', pos + 1)) {
        const std::string prefix = fsPath.substr(0, pos);
        if (!prefix.empty() && prefix.back() != '/' &&
            ::mkdir(prefix.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
            // A missing permission on a parent that exists is no reason to stop: the
            // deeper folders may still be creatable.
            if (errno != EACCES && errno != EPERM) return false;
        }
        if (pos == std::string::npos) break;
    }
    return isDirectory(fsPath);
}

bool FillRandomBytes(void* buffer, size_t size) {
    auto* out = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::getrandom(out, size, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::vector<LinkAddress> ListLinkAddresses() {
    std::vector<LinkAddress> links;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return links;
    std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owner(list, &::freeifaddrs);
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET) continue;
        const auto* ll = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        LinkAddress link;
        link.index = static_cast<unsigned>(ll->sll_ifindex);
        link.name = entry->ifa_name != nullptr ? entry->ifa_name : "";
        link.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        const size_t length = std::min<size_t>(ll->sll_halen, sizeof ll->sll_addr);
        link.address.assign(ll->sll_addr, ll->sll_addr + length);
        links.push_back(std::move(link));
    }
    std::stable_sort(links.begin(), links.end(),
                     [](const LinkAddress& a, const LinkAddress& b) { return a.index < b.index; });
    return links;
}

}  // namespace vexlo::platform
