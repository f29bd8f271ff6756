#pragma once
// How registry key and value names become file names of the store: names are folded to
// upper case (so they compare without regard to case, code unit by code unit, as on the
// original target) and every byte outside a small safe set is percent-escaped. Keys are
// directories "k.<name>", values files "v.<name>"; the prefixes keep "." and ".." apart
// from the file system's own entries.
#include <optional>
#include <string>
#include <vector>

#include "platform/base/text.h"

namespace vexlo::platform::registry_detail {

WString FoldName(WStringView name);
// The file-system form of a name; nullopt when it has more than kMaxRegistryNameLength
// units or holds a NUL.
std::optional<std::string> EncodeName(WStringView name);
// "k.<name>" for every component of a key path; nullopt for an empty path, an empty
// component (a single trailing '\' is allowed) or a name that cannot be encoded.
std::optional<std::vector<std::string>> KeyDirectories(WStringView keyPath);
// "v.<name>", or nullopt.
std::optional<std::string> ValueFileName(WStringView valueName);

inline constexpr char kValuePrefix[] = "v.";
inline constexpr char kTempPrefix[] = ".tmp.";

}  // namespace vexlo::platform::registry_detail
