#pragma once
// What the local update service answers on one route, including the ways it can misbehave
// on purpose: any status, bodies cut short, close-delimited or chunked framing, uneven and
// throttled writes, a stall, or raw bytes in place of an HTTP response.
#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vexlo::service {

enum class Framing {
    Length,   // Content-Length, the body in full
    Chunked,  // Transfer-Encoding: chunked
    Close,    // no length: the end of the body is the end of the connection
};

struct ReplyPlan {
    int status = 200;
    std::string contentType = "application/octet-stream";
    std::vector<std::pair<std::string, std::string>> headers;

    // The body: the literal text ("{base}" becomes the service's base URL), or that many
    // bytes of the generated pattern, or a file's content.
    std::string body;
    std::optional<uint64_t> generate;
    std::string file;

    Framing framing = Framing::Length;
    // Send only this many body bytes, then close the connection (the announced length, if
    // any, stays that of the whole body).
    std::optional<uint64_t> cutAfter;
    // After this many body bytes send nothing for stallMs milliseconds (absent: until the
    // client goes away or the service stops).
    std::optional<uint64_t> stallAfter;
    std::optional<uint64_t> stallMs;
    // The sizes of successive writes, repeated (empty: 256 KiB writes).
    std::vector<size_t> chunkSizes;
    // Pause between writes.
    uint64_t chunkDelayMs = 0;
    // When set, exactly these bytes are written to the connection instead of a response,
    // and the connection is closed.
    std::optional<std::string> raw;

    static ReplyPlan Text(int status, std::string body, std::string contentType = "text/html");
    static ReplyPlan Json(const Json::Value& members);
    static ReplyPlan Generated(uint64_t size);
};

// Reads a reply description (format in tools/update-service/README.md). False with a
// message for a malformed one.
bool ParseReplyPlan(const Json::Value& json, ReplyPlan& plan, std::string& error);

// The generated pattern: a deterministic byte sequence, so that tests can check content.
void FillGenerated(uint64_t offset, char* out, size_t length);

}  // namespace vexlo::service
