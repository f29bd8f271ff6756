#pragma once
// Whole-file reading and atomic replacement, on file-system paths (UTF-8 bytes).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vexlo::platform {

enum class ReadStatus { kOk, kMissing, kNotRegular, kTooLarge, kFailed };

struct FileBytes {
    ReadStatus status = ReadStatus::kFailed;
    std::string bytes;  // the whole file when status is kOk
};

// Reads a regular file whole. A file larger than maxBytes is not read (kTooLarge); one that
// delivers fewer bytes than it measured is kFailed. Symbolic links are followed unless
// noFollow is set.
FileBytes ReadWholeFile(const std::string& fsPath, size_t maxBytes, bool noFollow = false);

// Writes `bytes` to a new file beside `fsPath`, flushes it to disk, renames it over
// `fsPath` and flushes the folder, so readers see the old or the new content, never a
// part. The aside file is removed on any failure. `mode` is the new file's permission.
bool ReplaceFileAtomically(const std::string& fsPath, std::string_view bytes, unsigned mode);

// The folder part of a path ("." when it has none).
std::string ParentFolder(const std::string& fsPath);

}  // namespace vexlo::platform
