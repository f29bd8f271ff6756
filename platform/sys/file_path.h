#pragma once
// How the system's wide paths reach the Linux file system. Paths are UTF-16 inside the
// system with '/' as the separator; the kernel takes bytes, which we give as UTF-8 so a
// user's non-ASCII home folder works. Bytes of a file name that are not UTF-8 survive the
// round trip: they travel as the lone surrogates U+DC80..U+DCFF.
#include <string>
#include <string_view>

#include "platform/base/text.h"

namespace vexlo::platform {

// UTF-8 bytes for open(2) and friends. An embedded U+0000 is kept; OpenableFsPath tells
// whether the result can name a file at all.
std::string WideToFsPath(WStringView path);
WString FsPathToWide(std::string_view path);

// False for the empty path and for one with an embedded NUL byte, which the kernel would
// silently cut short.
bool OpenableFsPath(std::string_view fsPath);

// Joins a folder and a name with exactly one '/' between them.
WString JoinPath(WStringView folder, WStringView name);

}  // namespace vexlo::platform
