#include "client/reply_sink.h"

#include <algorithm>

namespace vexlo::client {

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
