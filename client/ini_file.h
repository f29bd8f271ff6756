#pragma once
// The small INI files of the client: values written the way the private-profile functions
// write them (other sections, keys and lines stay as they are; section and key names
// compared without regard to case), the file replaced atomically; values read with inih.
// Texts are UTF-8 in the file, so that any path survives the round trip.
#include <optional>
#include <string>
#include <string_view>

namespace vexlo::client {

// The INI text with key=value set in section (the section is appended when missing, the
// key added after the section's last line when missing).
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

// Reads the file, sets the value and replaces the file. False when it cannot be written.
bool WriteIniValue(const std::string& fsPath, std::string_view section, std::string_view key,
                   std::string_view value);

// The first value of key in section; nullopt when it is missing, when the file cannot be
// read or when inih reports an error in it (a line too long for its buffer would otherwise
// hand out a value cut short).
std::optional<std::string> ReadIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The file's whole text; nullopt when it cannot be read or is over maxBytes.
std::optional<std::string> ReadSmallFile(const std::string& fsPath, size_t maxBytes);

}  // namespace vexlo::client
