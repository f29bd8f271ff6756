#pragma once
#include <cstdint>

namespace vexlo::ui {

// 1 when the name matches the pattern: "*" matches any run of characters, "?" zero or
// one character, every other character itself (letter case counts). 0 when either is
// missing.
int MatchWildcard(const char16_t* pattern, const char16_t* name);

}  // namespace vexlo::ui
