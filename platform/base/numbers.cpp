#include "platform/base/numbers.h"

#include <limits>

namespace vexlo::platform {
namespace {

template <typename Char>
bool IsBlank(Char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <typename Char>
bool IsDigit(Char c) {
    return c >= '0' && c <= '9';
}

// Reads [blanks][sign]digits from text starting at pos. Returns false when no digit
// follows; otherwise stores the saturated value and advances pos past the digits.
template <typename Char>
bool ReadDecimal(std::basic_string_view<Char> text, size_t& pos, int32_t& value) {
    size_t i = pos;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !IsDigit(text[i])) return false;
    // Accumulate the magnitude with a ceiling just past the 32-bit range.
    constexpr int64_t kCeiling = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    while (i < text.size() && IsDigit(text[i])) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kCeiling) magnitude = kCeiling;
        ++i;
    }
    if (negative) {
        value = static_cast<int32_t>(-magnitude);  // -2^31 at the ceiling
    } else {
        value = magnitude >= kCeiling ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(magnitude);
    }
    pos = i;
    return true;
}

template <typename Char>
int32_t StrtolImpl(std::basic_string_view<Char> text, size_t* consumed) {
    size_t pos = 0;
    int32_t value = 0;
    if (!ReadDecimal(text, pos, value)) {
        if (consumed) *consumed = 0;
        return 0;
    }
    if (consumed) *consumed = pos;
    return value;
}

template <typename Char>
int ScanImpl(std::basic_string_view<Char> text, int32_t* out, int count) {
    size_t pos = 0;
    int read = 0;
    for (int k = 0; k < count; ++k) {
        if (k > 0) {
            if (pos >= text.size() || text[pos] != '.') break;
            ++pos;
        }
        int32_t value = 0;
        if (!ReadDecimal(text, pos, value)) break;
        out[k] = value;
        ++read;
    }
    return read;
}

}  // namespace

int32_t Atoi32(std::string_view text) { return StrtolImpl(text, nullptr); }
int32_t Atoi32(std::u16string_view text) { return StrtolImpl(text, nullptr); }
int32_t Strtol32(std::string_view text, size_t* consumed) { return StrtolImpl(text, consumed); }
int32_t Strtol32(std::u16string_view text, size_t* consumed) { return StrtolImpl(text, consumed); }
int ScanDottedInts(std::u16string_view text, int32_t* out, int count) { return ScanImpl(text, out, count); }
int ScanDottedInts(std::string_view text, int32_t* out, int count) { return ScanImpl(text, out, count); }

std::string FormatInt(int32_t value) { return std::to_string(value); }

std::u16string FormatIntWide(int32_t value) {
    std::string narrow = std::to_string(value);
    return std::u16string(narrow.begin(), narrow.end());
}

}  // namespace vexlo::platform
