#pragma once
// Where a download may write. The local path is wide text; as on the original target it
// must be expressible in the ANSI code page, and its last component must be a name that
// Windows accepts for a file. The name usually comes from the service (the last segment
// of the installer's address), so it must never smuggle a separator, a quote that would
// break the launch command line, or a control character.
#include <string>

#include "platform/base/text.h"

namespace vexlo::client {

// False for "", ".", "..", and names holding \ / : * ? " < > | or a character below 0x20.
bool IsAcceptableFileName(platform::WStringView name);

// The file-system form (UTF-8) of the path, or "" when no file can be created under it:
// characters outside the ANSI code page, an unacceptable last component, an embedded NUL.
std::string DownloadFsPath(platform::WStringView path);

}  // namespace vexlo::client
