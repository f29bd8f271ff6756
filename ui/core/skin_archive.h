#pragma once
// A ZIP archive read from the caller's bytes (which must outlive it). Entry names are
// found without regard to ASCII letter case, with "\" read as "/", in the ANSI code page.
// Sizes are bounded and every inflated entry is checked against its declared length and
// checksum, so a damaged or hostile package gives no entry rather than a wrong one.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexlo::ui {

struct ArchiveLimits {
    size_t maxEntrySize = size_t{16} << 20;    // one inflated entry
    uint64_t maxTotalSize = uint64_t{64} << 20;  // all declared entry sizes together
    size_t maxEntries = 4096;
    size_t maxNameLength = 1024;
};

class SkinArchive {
public:
    // None when the bytes are no ZIP archive or exceed the limits.
    static std::unique_ptr<SkinArchive> Open(std::span<const uint8_t> bytes, const ArchiveLimits& limits = {});
    ~SkinArchive();
    SkinArchive(const SkinArchive&) = delete;
    SkinArchive& operator=(const SkinArchive&) = delete;

    // The inflated bytes of an entry; none when it is missing, encrypted, of an unknown
    // method, over the size limit, or does not inflate to its declared length and checksum.
    std::optional<std::vector<uint8_t>> Read(std::u16string_view name);
    size_t entryCount() const { return entries_.size(); }

    // The name as entries are indexed: backslashes turned into "/", ASCII letters folded.
    static std::string LookupKey(std::string_view ansiName);

    // The reading position over the caller's bytes (used by the archive's I/O callbacks).
    struct Memory;

private:
    struct Entry {
        uint64_t directoryOffset = 0;
        uint64_t fileNumber = 0;
        uint64_t size = 0;
        uint32_t crc = 0;
        bool readable = false;
    };
    SkinArchive() = default;

    std::unique_ptr<Memory> memory_;
    void* zip_ = nullptr;  // unzFile
    ArchiveLimits limits_;
    std::map<std::string, Entry> entries_;  // first entry of each key
};

}  // namespace vexlo::ui
