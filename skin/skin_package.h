#pragma once
// The updater's skin package (a ZIP archive), linked into the executable. The bytes stay
// in place for the whole process, as the skin loader requires.
#include <cstddef>

namespace vexlo::skin {

extern const unsigned char kPackageBytes[];
extern const size_t kPackageSize;

}  // namespace vexlo::skin
