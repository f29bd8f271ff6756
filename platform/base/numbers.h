#pragma once
// Integer readings as the C runtime of the original 32-bit target performs them: every
// result is a signed 32-bit value, and an out-of-range number saturates rather than
// wrapping through a wider type ("4294967298" never reads as 2).
#include <cstdint>
#include <string>
#include <string_view>

namespace vexlo::platform {

// atoi: leading white space, an optional sign, decimal digits up to the first other
// character; no digits gives 0; overflow gives INT32_MAX or INT32_MIN.
int32_t Atoi32(std::string_view text);
int32_t Atoi32(std::u16string_view text);

// strtol with base 10 and a 32-bit long: the same reading as Atoi32. *consumed tells how
// many characters formed the number (0 when none did).
int32_t Strtol32(std::string_view text, size_t* consumed = nullptr);
int32_t Strtol32(std::u16string_view text, size_t* consumed = nullptr);

// sscanf(text, "%d.%d.%d...") with `count` conversions separated by one literal dot each.
// Components that were not read keep their value in `out`. Returns how many were read.
int ScanDottedInts(std::u16string_view text, int32_t* out, int count);
int ScanDottedInts(std::string_view text, int32_t* out, int count);

// Decimal text of a signed 32-bit value ("%d").
std::string FormatInt(int32_t value);
std::u16string FormatIntWide(int32_t value);

}  // namespace vexlo::platform
