#pragma once
// Facts the operating system knows about this process and machine.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::platform {

// The running executable's full path (/proc/self/exe); empty when it cannot be read.
std::string CurrentExecutablePath();

// Administrator means effective user id 0.
bool IsAdministrator();

// The current user's home folder: HOME when set and absolute, else the password database;
// empty when neither tells.
std::string HomeFolder();

// Creates the folder and its missing parents (with `mode`, less the umask, for what is
// created). True when the folder exists afterwards.
bool CreateDirectoryWithParents(const std::string& fsPath, unsigned mode = 0700);

// Bytes from the system's random source; false when it cannot deliver them.
bool FillRandomBytes(void* buffer, size_t size);

// One network interface with a link-layer address, as the kernel lists them.
struct LinkAddress {
    unsigned index = 0;  // interface index
    std::string name;
    bool loopback = false;
    std::vector<uint8_t> address;  // may be empty (tunnels)
};
// Every interface the kernel reports a link-layer entry for, ordered by interface index.
std::vector<LinkAddress> ListLinkAddresses();

}  // namespace vexlo::platform
