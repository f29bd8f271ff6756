#include "client/reply_sink.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

namespace vexlo::client {
namespace {

// An installer held in memory fills hundreds of MiB: large pages spare most of the page
// faults of the first touch. Only advice; nothing depends on it being taken.
void AdviseLargePages(char* buffer, size_t length) {
    constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
    if (length < 4 * kLargePage) return;
    const auto begin = reinterpret_cast<uintptr_t>(buffer);
    const uintptr_t alignedBegin = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t alignedEnd = (begin + length) & ~(kLargePage - 1);
    if (alignedEnd > alignedBegin)
        ::madvise(reinterpret_cast<void*>(alignedBegin), alignedEnd - alignedBegin, MADV_HUGEPAGE);
}

}  // namespace

size_t AppendToMemory(char* bytes, size_t size, size_t count, void* target) noexcept {
    auto& sink = *static_cast<MemorySink*>(target);
    const size_t length = size * count;
    if (length > sink.cap - std::min(sink.cap, sink.text->size())) {
        sink.overflowed = true;
        return 0;  // anything other than length stops the transfer
    }
    try {
        if (!sink.reserved) {
            sink.reserved = true;
            curl_off_t announced = -1;
            if (sink.handle != nullptr &&
                curl_easy_getinfo(sink.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) ==
                    CURLE_OK &&
                announced > 0) {
                if (static_cast<unsigned long long>(announced) > sink.cap) {
                    sink.overflowed = true;
                    return 0;
                }
                sink.text->reserve(static_cast<size_t>(announced));
                AdviseLargePages(sink.text->data(), sink.text->capacity());
            }
        }
        sink.text->append(bytes, length);
    } catch (...) {
        return 0;
    }
    return length;
}

size_t AppendToFile(char* bytes, size_t size, size_t count, void* target) noexcept {
    auto& sink = *static_cast<FileSink*>(target);
    const size_t length = size * count;
    if (length == 0) return 0;
    if (std::fwrite(bytes, 1, length, sink.file) != length) {
        sink.failed = true;
        return 0;
    }
    return length;
}

int ForwardProgress(void* target, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                    curl_off_t ulNow) noexcept {
    const auto& progress = *static_cast<ProgressTarget*>(target);
    if (progress.callback == nullptr) return 0;
    return progress.callback(progress.data, static_cast<double>(dlTotal),
                             static_cast<double>(dlNow), static_cast<double>(ulTotal),
                             static_cast<double>(ulNow));
}

}  // namespace vexlo::client
