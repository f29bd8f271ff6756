#pragma once
// Replacing a file's whole content so that no reader ever sees half of it: the bytes go to
// a new file beside the target, are flushed to the disk, and the new file is renamed over
// the target. On any failure the target keeps its old content (or stays absent) and the
// new file is removed.
#include <string>
#include <string_view>

namespace vexlo::client {

bool ReplaceFileAtomically(const std::string& fsPath, std::string_view bytes);

}  // namespace vexlo::client
