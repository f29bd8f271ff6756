#include "client/json_reply.h"

#include <memory>

#include "client/result_codes.h"

namespace vexlo::client {
namespace {

constexpr int kCjkCodePage = 936;

bool InCjkRange(unsigned codePoint) {
    return (codePoint >= 0x2E80 && codePoint <= 0xA4CF) ||
           (codePoint >= 0xF900 && codePoint <= 0xFAFF) ||
           (codePoint >= 0xFE30 && codePoint <= 0xFE4F) ||
           (codePoint >= 0xFF00 && codePoint <= 0xFFEF);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The code point of "\uXXXX" starting at raw[at], or -1.
long EscapedCodePoint(std::string_view raw, size_t at) {
    if (at + 6 > raw.size() || raw[at] != '\\' || raw[at + 1] != 'u') return -1;
    long value = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const int digit = HexValue(raw[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

void AppendCodePage936Bytes(unsigned codePoint, std::string& out) {
    const char16_t unit = static_cast<char16_t>(codePoint);
    bool usedDefault = false;
    const std::string bytes =
        platform::WideToAnsi(platform::WStringView(&unit, 1), kCjkCodePage, &usedDefault);
    if (usedDefault) return;  // a character the code page lacks gives no bytes
    for (const char byte : bytes) {
        // A trail byte may be 0x5C; inside the literal it must not start an escape.
        if (byte == '\\' || byte == '"') out += '\\';
        out += byte;
    }
}

const Json::Value* FindMember(const Json::Value& object, std::string_view name) {
    if (!object.isObject()) return nullptr;  // a null top level has no members
    return object.find(name.data(), name.data() + name.size());
}

}  // namespace

std::string DecodeCjkEscapes(std::string_view raw) {
    enum class State { Outside, InString, LineComment, BlockComment };
    std::string out;
    out.reserve(raw.size());
    State state = State::Outside;
    size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        const char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
        switch (state) {
        case State::Outside:
            if (c == '"') {
                state = State::InString;
            } else if (c == '/' && next == '/') {
                state = State::LineComment;
                out += "//";
                i += 2;
                continue;
            } else if (c == '/' && next == '*') {
                state = State::BlockComment;
                out += "/*";
                i += 2;
                continue;
            }
            break;
        case State::InString:
            if (c == '"') {
                state = State::Outside;
            } else if (c == '\\') {
                const long codePoint = EscapedCodePoint(raw, i);
                if (codePoint >= 0 && InCjkRange(static_cast<unsigned>(codePoint))) {
                    AppendCodePage936Bytes(static_cast<unsigned>(codePoint), out);
                    i += 6;
                } else {
                    // Every other escape is the reader's: keep the pair so that an escaped
                    // quote or backslash never ends the literal here.
                    out.append(raw.substr(i, 2));
                    i += 2;
                }
                continue;
            }
            break;
        case State::LineComment:
            if (c == '\n' || c == '\r') state = State::Outside;
            break;
        case State::BlockComment:
            if (c == '*' && next == '/') {
                state = State::Outside;
                out += "*/";
                i += 2;
                continue;
            }
            break;
        }
        out += c;
        ++i;
    }
    return out;
}

bool ParseJsonDocument(std::string_view body, Json::Value& root) {
    try {
        const std::string text = DecodeCjkEscapes(body);
        Json::CharReaderBuilder builder;
        const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        Json::Value parsed;
        std::string errors;
        if (!reader->parse(text.data(), text.data() + text.size(), &parsed, &errors)) return false;
        root = std::move(parsed);
        return true;
    } catch (...) {
        return false;
    }
}

int ParseReplyObject(std::string_view body, Json::Value& root) {
    Json::Value parsed;
    if (!ParseJsonDocument(body, parsed)) return CLIENT_ERR_JSON;
    if (!parsed.isObject() && !parsed.isNull()) return CLIENT_ERR_JSON;
    root = std::move(parsed);
    return 0;
}

int ReadTextMemberBytes(const Json::Value& object, std::string_view name, std::string& out) {
    try {
        const Json::Value* member = FindMember(object, name);
        if (member == nullptr || member->isNull()) {
            out.clear();
        } else if (member->isString()) {
            out = member->asString();
        } else if (member->isBool()) {
            out = member->asBool() ? "true" : "false";
        } else {
            return CLIENT_ERR_JSON;
        }
        return 0;
    } catch (...) {
        return CLIENT_ERR_JSON;
    }
}

int ReadTextMember(const Json::Value& object, std::string_view name, platform::WString& out) {
    std::string bytes;
    if (const int result = ReadTextMemberBytes(object, name, bytes); result != 0) return result;
    try {
        bool ok = true;
        platform::WString wide = platform::AnsiToWide(bytes, platform::AnsiCodePage(), &ok);
        out = ok ? std::move(wide) : platform::WString();
        return 0;
    } catch (...) {
        return CLIENT_ERR_JSON;
    }
}

int ReadIntValue(const Json::Value& value, int32_t& out) {
    try {
        // asInt throws for strings, arrays, objects and numbers outside the 32-bit range.
        out = value.asInt();
        return 0;
    } catch (...) {
        return CLIENT_ERR_JSON;
    }
}

int ReadIntMember(const Json::Value& object, std::string_view name, int32_t& out) {
    const Json::Value* member = FindMember(object, name);
    if (member == nullptr) {
        out = 0;
        return 0;
    }
    return ReadIntValue(*member, out);
}

}  // namespace vexlo::client
