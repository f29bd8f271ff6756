#pragma once
// Where a wrapped line may end: after spaces, after a hyphen, and between ideographs,
// except before closing and after opening punctuation.
namespace vexlo::text {

bool IsBreakingSpace(char32_t ch);
bool IsIdeographic(char32_t ch);
// True when a line may end between `before` and `after`.
bool CanBreakBetween(char32_t before, char32_t after);

}  // namespace vexlo::text
