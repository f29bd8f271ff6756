#include "tools/update-service/reply_plan.h"

#include <cstring>

namespace vexlo::service {
namespace {

uint64_t PatternWord(uint64_t index) { return (index + 1) * 0x9E3779B97F4A7C15ull; }

bool ReadSize(const Json::Value& json, const char* name, std::optional<uint64_t>& out,
              std::string& error) {
    const Json::Value& value = json[name];
    if (value.isNull()) return true;
    if (!value.isUInt64()) {
        error = std::string("\"") + name + "\" must be a non-negative integer";
        return false;
    }
    out = value.asUInt64();
    return true;
}

}  // namespace

ReplyPlan ReplyPlan::Text(int status, std::string body, std::string contentType) {
    ReplyPlan plan;
    plan.status = status;
    plan.body = std::move(body);
    plan.contentType = std::move(contentType);
    return plan;
}

ReplyPlan ReplyPlan::Json(const Json::Value& members) {
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    return Text(200, Json::writeString(writer, members), "application/json");
}

ReplyPlan ReplyPlan::Generated(uint64_t size) {
    ReplyPlan plan;
    plan.generate = size;
    return plan;
}

void FillGenerated(uint64_t offset, char* out, size_t length) {
    size_t done = 0;
    while (done < length && (offset + done) % 8 != 0) {
        const uint64_t at = offset + done;
        out[done++] = static_cast<char>(PatternWord(at / 8) >> (8 * (at % 8)));
    }
    while (length - done >= 8) {
        const uint64_t word = PatternWord((offset + done) / 8);
        std::memcpy(out + done, &word, 8);  // little-endian machine: byte k is bits 8k..8k+7
        done += 8;
    }
    while (done < length) {
        const uint64_t at = offset + done;
        out[done++] = static_cast<char>(PatternWord(at / 8) >> (8 * (at % 8)));
    }
}

bool ParseReplyPlan(const Json::Value& json, ReplyPlan& plan, std::string& error) {
    if (!json.isObject()) {
        error = "a reply must be a JSON object";
        return false;
    }
    ReplyPlan parsed;
    if (json.isMember("status")) {
        if (!json["status"].isInt() || json["status"].asInt() < 100 ||
            json["status"].asInt() > 999) {
            error = "\"status\" must be a number from 100 to 999";
            return false;
        }
        parsed.status = json["status"].asInt();
    }
    if (json.isMember("reply")) {
        parsed = ReplyPlan::Json(json["reply"]);
        if (json.isMember("status")) parsed.status = json["status"].asInt();
    }
    if (json.isMember("body")) {
        if (!json["body"].isString()) {
            error = "\"body\" must be a string";
            return false;
        }
        parsed.body = json["body"].asString();
        if (!json.isMember("content_type")) parsed.contentType = "text/html";
    }
    if (json.isMember("content_type")) parsed.contentType = json["content_type"].asString();
    if (json.isMember("file")) parsed.file = json["file"].asString();
    if (json.isMember("raw")) parsed.raw = json["raw"].asString();
    if (!ReadSize(json, "generate", parsed.generate, error) ||
        !ReadSize(json, "cut_after", parsed.cutAfter, error) ||
        !ReadSize(json, "stall_after", parsed.stallAfter, error) ||
        !ReadSize(json, "stall_ms", parsed.stallMs, error)) {
        return false;
    }
    if (json.isMember("framing")) {
        const std::string framing = json["framing"].asString();
        if (framing == "length") {
            parsed.framing = Framing::Length;
        } else if (framing == "chunked") {
            parsed.framing = Framing::Chunked;
        } else if (framing == "close") {
            parsed.framing = Framing::Close;
        } else {
            error = "\"framing\" must be \"length\", \"chunked\" or \"close\"";
            return false;
        }
    }
    if (json.isMember("chunk_sizes")) {
        for (const Json::Value& size : json["chunk_sizes"]) {
            if (!size.isUInt64() || size.asUInt64() == 0 || size.asUInt64() > (64u << 20)) {
                error = "\"chunk_sizes\" must hold sizes from 1 to 64 MiB";
                return false;
            }
            parsed.chunkSizes.push_back(static_cast<size_t>(size.asUInt64()));
        }
    }
    if (json.isMember("chunk_delay_ms")) {
        if (!json["chunk_delay_ms"].isUInt64()) {
            error = "\"chunk_delay_ms\" must be a non-negative integer";
            return false;
        }
        parsed.chunkDelayMs = json["chunk_delay_ms"].asUInt64();
    }
    const Json::Value& headers = json["headers"];
    if (headers.isObject()) {
        for (const std::string& name : headers.getMemberNames())
            parsed.headers.emplace_back(name, headers[name].asString());
    }
    plan = std::move(parsed);
    return true;
}

}  // namespace vexlo::service
