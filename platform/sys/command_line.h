#pragma once
// Splitting a Windows-style command line into arguments, by the rules programs on the
// original target see: the program name ends at the first blank, or at the closing quote
// when it starts with one (backslashes are plain characters there); in the arguments,
// blanks separate, double quotes group, 2n backslashes before a quote give n backslashes
// and a grouping quote, 2n+1 give n backslashes and a literal quote, other backslashes are
// literal, and inside a group a doubled quote gives a literal quote and ends the group.
#include <vector>

#include "platform/base/text.h"

namespace vexlo::platform {

// The whole line: program name first. An empty line gives no arguments.
std::vector<WString> SplitCommandLine(WStringView commandLine);
// Arguments only (no program name rule), as for a parameters text.
std::vector<WString> SplitArguments(WStringView arguments);

}  // namespace vexlo::platform
