#include "ui/core/skin_archive.h"

#include <unzip.h>
#include <zlib.h>

#include <cstring>

#include "platform/base/text.h"

namespace vexlo::ui {

struct SkinArchive::Memory {
    const uint8_t* data = nullptr;
    uint64_t size = 0;
    uint64_t position = 0;
};

namespace {

using Memory = SkinArchive::Memory;

voidpf ZCALLBACK MemOpen(voidpf opaque, const void*, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    auto* m = static_cast<Memory*>(opaque);
    m->position = 0;
    return m;
}

uLong ZCALLBACK MemRead(voidpf, voidpf stream, void* buf, uLong size) {
    auto* m = static_cast<Memory*>(stream);
    uint64_t left = m->position < m->size ? m->size - m->position : 0;
    uint64_t n = size < left ? size : left;
    if (n) std::memcpy(buf, m->data + m->position, n);
    m->position += n;
    return static_cast<uLong>(n);
}

uLong ZCALLBACK MemWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK MemTell(voidpf, voidpf stream) { return static_cast<Memory*>(stream)->position; }

long ZCALLBACK MemSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* m = static_cast<Memory*>(stream);
    uint64_t base = 0;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
        case ZLIB_FILEFUNC_SEEK_CUR: base = m->position; break;
        case ZLIB_FILEFUNC_SEEK_END: base = m->size; break;
        default: return -1;
    }
    if (offset > m->size || base > m->size - offset) return -1;
    m->position = base + offset;
    return 0;
}

int ZCALLBACK MemClose(voidpf, voidpf) { return 0; }
int ZCALLBACK MemError(voidpf, voidpf) { return 0; }

constexpr uLong kMethodStored = 0;
constexpr uLong kMethodDeflated = Z_DEFLATED;
constexpr uLong kFlagEncrypted = 1;

}  // namespace

std::string SkinArchive::LookupKey(std::string_view ansiName) {
    std::string key(ansiName);
    for (char& c : key) {
        if (c == '\\') c = '/';
        else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return key;
}

std::unique_ptr<SkinArchive> SkinArchive::Open(std::span<const uint8_t> bytes, const ArchiveLimits& limits) {
    if (bytes.empty()) return nullptr;
    std::unique_ptr<SkinArchive> archive(new SkinArchive());
    archive->limits_ = limits;
    archive->memory_ = std::make_unique<Memory>();
    archive->memory_->data = bytes.data();
    archive->memory_->size = bytes.size();

    zlib_filefunc64_def functions{};
    functions.zopen64_file = MemOpen;
    functions.zread_file = MemRead;
    functions.zwrite_file = MemWrite;
    functions.ztell64_file = MemTell;
    functions.zseek64_file = MemSeek;
    functions.zclose_file = MemClose;
    functions.zerror_file = MemError;
    functions.opaque = archive->memory_.get();
    unzFile zip = unzOpen2_64("memory", &functions);
    if (!zip) return nullptr;
    archive->zip_ = zip;

    uint64_t total = 0;
    std::vector<char> name(limits.maxNameLength + 1);
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        if (archive->entries_.size() >= limits.maxEntries) return nullptr;
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0, nullptr,
                                    0) != UNZ_OK) {
            return nullptr;
        }
        if (info.size_filename == 0 || info.size_filename > limits.maxNameLength) continue;
        unz64_file_pos pos{};
        if (unzGetFilePos64(zip, &pos) != UNZ_OK) return nullptr;
        Entry entry;
        entry.directoryOffset = pos.pos_in_zip_directory;
        entry.fileNumber = pos.num_of_file;
        entry.size = info.uncompressed_size;
        entry.crc = static_cast<uint32_t>(info.crc);
        entry.readable = (info.flag & kFlagEncrypted) == 0 &&
                         (info.compression_method == kMethodStored || info.compression_method == kMethodDeflated) &&
                         info.uncompressed_size <= limits.maxEntrySize;
        if (entry.readable) {
            total += entry.size;
            if (total > limits.maxTotalSize) return nullptr;
        }
        std::string key = LookupKey(std::string_view(name.data(), info.size_filename));
        archive->entries_.emplace(std::move(key), entry);
    }
    return archive;
}

SkinArchive::~SkinArchive() {
    if (zip_) unzClose(static_cast<unzFile>(zip_));
}

namespace {
// ASCII names (all the skin's own) need no code-page conversion.
std::string EntryName(std::u16string_view name) {
    std::string narrow;
    narrow.reserve(name.size());
    for (char16_t c : name) {
        if (c >= 0x80) return platform::WideToAnsi(name);
        narrow.push_back(static_cast<char>(c));
    }
    return narrow;
}
}  // namespace

std::optional<std::vector<uint8_t>> SkinArchive::Read(std::u16string_view name) {
    auto it = entries_.find(LookupKey(EntryName(name)));
    if (it == entries_.end() || !it->second.readable) return std::nullopt;
    const Entry& entry = it->second;
    unzFile zip = static_cast<unzFile>(zip_);
    unz64_file_pos pos{entry.directoryOffset, entry.fileNumber};
    if (unzGoToFilePos64(zip, &pos) != UNZ_OK) return std::nullopt;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return std::nullopt;
    // The compressed data lies inside the caller's bytes; a larger claim is a lie.
    if (info.compressed_size > memory_->size) return std::nullopt;

    // The raw data is inflated here rather than by the archive reader, so that an entry
    // whose data runs past its declared length is noticed instead of silently cut.
    int method = 0, level = 0;
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK) return std::nullopt;
    std::vector<uint8_t> raw(static_cast<size_t>(info.compressed_size));
    size_t filled = 0;
    while (filled < raw.size()) {
        size_t chunk = std::min<size_t>(raw.size() - filled, 1u << 20);
        int n = unzReadCurrentFile(zip, raw.data() + filled, static_cast<unsigned>(chunk));
        if (n <= 0) break;
        filled += static_cast<size_t>(n);
    }
    unzCloseCurrentFile(zip);
    if (filled != raw.size()) return std::nullopt;

    std::vector<uint8_t> bytes;
    if (method == kMethodStored) {
        if (raw.size() != entry.size) return std::nullopt;
        bytes = std::move(raw);
    } else {
        bytes.resize(static_cast<size_t>(entry.size));
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
        z.next_in = raw.data();
        z.avail_in = static_cast<uInt>(raw.size());
        uint8_t spill = 0;
        z.next_out = bytes.empty() ? &spill : bytes.data();
        z.avail_out = bytes.empty() ? 1 : static_cast<uInt>(bytes.size());
        int rc = inflate(&z, Z_FINISH);
        if (rc == Z_BUF_ERROR && z.avail_out == 0 && !bytes.empty()) {
            // Full: one more byte tells whether the stream really ends here.
            z.next_out = &spill;
            z.avail_out = 1;
            rc = inflate(&z, Z_FINISH);
        }
        const uLong produced = z.total_out;
        inflateEnd(&z);
        if (rc != Z_STREAM_END || produced != entry.size) return std::nullopt;
    }
    uLong crc = crc32(0L, Z_NULL, 0);
    if (!bytes.empty()) crc = crc32(crc, bytes.data(), static_cast<uInt>(bytes.size()));
    if (static_cast<uint32_t>(crc) != entry.crc) return std::nullopt;
    return bytes;
}

}  // namespace vexlo::ui
