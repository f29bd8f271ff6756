#pragma once
// The pure computations behind the identity values.
#include <cstdint>
#include <string_view>

#include "platform/base/text.h"

namespace vexlo::env {

inline constexpr char16_t kAutSalt[] = u"Razez.net7391";

// The ELF hash over UTF-16 code units with an arithmetic (signed) shift: 0 .. 268435455.
uint32_t MachineHash(platform::WStringView text);
// MD5 of the bytes as 32 lowercase hexadecimal digits.
platform::WString Md5Hex(std::string_view bytes);
// The install token of a machine identifier: Md5Hex of its ANSI bytes followed by the salt.
platform::WString AutToken(platform::WStringView identifier);

}  // namespace vexlo::env
