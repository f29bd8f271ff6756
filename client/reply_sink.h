#pragma once
// Where a transfer's body goes while it arrives: a bounded in-memory text, or an open file.
// The callbacks are handed to the transfer library and never let an exception escape.
#include <curl/curl.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "client/http_request.h"

namespace vexlo::client {

struct MemorySink {
    std::string* text = nullptr;
    size_t cap = 0;
    CURL* handle = nullptr;  // to size the buffer once from the announced length
    bool reserved = false;
    bool overflowed = false;  // the body grew past cap; the transfer was stopped
};

// CURLOPT_WRITEFUNCTION for a MemorySink: appends exactly the bytes received.
size_t AppendToMemory(char* bytes, size_t size, size_t count, void* sink) noexcept;

struct FileSink {
    std::FILE* file = nullptr;
    bool failed = false;  // a write failed; the transfer was stopped
};

// CURLOPT_WRITEFUNCTION for a FileSink.
size_t AppendToFile(char* bytes, size_t size, size_t count, void* sink) noexcept;

struct ProgressTarget {
    ProgressCallback callback = nullptr;
    void* data = nullptr;
};

// CURLOPT_XFERINFOFUNCTION that hands the counts on in the double-precision form.
int ForwardProgress(void* target, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                    curl_off_t ulNow) noexcept;

}  // namespace vexlo::client
