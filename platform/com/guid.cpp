#include "platform/com/guid.h"

#include <cstdio>

namespace vexlo::com {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads exactly `digits` hex digits at text[pos].
bool ReadHex(std::string_view text, size_t pos, int digits, uint64_t& out) {
    if (pos + digits > text.size()) return false;
    out = 0;
    for (int i = 0; i < digits; ++i) {
        int v = HexValue(text[pos + i]);
        if (v < 0) return false;
        out = (out << 4) | static_cast<uint64_t>(v);
    }
    return true;
}

}  // namespace

std::optional<Guid> Guid::Parse(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, 36);
    }
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') {
        return std::nullopt;
    }
    Guid g;
    uint64_t v = 0;
    if (!ReadHex(text, 0, 8, v)) return std::nullopt;
    g.data1 = static_cast<uint32_t>(v);
    if (!ReadHex(text, 9, 4, v)) return std::nullopt;
    g.data2 = static_cast<uint16_t>(v);
    if (!ReadHex(text, 14, 4, v)) return std::nullopt;
    g.data3 = static_cast<uint16_t>(v);
    for (int i = 0; i < 2; ++i) {
        if (!ReadHex(text, 19 + 2 * i, 2, v)) return std::nullopt;
        g.data4[i] = static_cast<uint8_t>(v);
    }
    for (int i = 0; i < 6; ++i) {
        if (!ReadHex(text, 24 + 2 * i, 2, v)) return std::nullopt;
        g.data4[2 + i] = static_cast<uint8_t>(v);
    }
    return g;
}

std::string Guid::ToString() const {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return buf;
}

}  // namespace vexlo::com
