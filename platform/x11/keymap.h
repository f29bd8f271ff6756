#pragma once
// X key symbols and key codes to the target's virtual keys.
#include <cstdint>

namespace vexlo::x11 {

// The virtual key of a key symbol, 0 when none corresponds. Letters and digits give
// their own keys, punctuation the key that carries it on a US layout.
uint32_t VirtualKeyForKeysym(unsigned long keysym);
// The virtual key of a key by its place on a standard keyboard (evdev key codes), for
// layouts whose symbols name no key (Cyrillic, Greek, ...); 0 when unknown.
uint32_t VirtualKeyForKeycode(unsigned keycode);
// Whether the virtual key is one of the modifiers the translator tracks itself.
bool IsModifierKey(uint32_t virtualKey);

// Virtual keys the window system's own list does not name.
inline constexpr uint32_t kVkSnapshot = 0x2C;
inline constexpr uint32_t kVkLeftWin = 0x5B;
inline constexpr uint32_t kVkRightWin = 0x5C;
inline constexpr uint32_t kVkApps = 0x5D;
inline constexpr uint32_t kVkSeparator = 0x6C;
inline constexpr uint32_t kVkNumLock = 0x90;
inline constexpr uint32_t kVkScroll = 0x91;
inline constexpr uint32_t kVkClear = 0x0C;
inline constexpr uint32_t kVkOem102 = 0xE2;  // the extra key left of Z on ISO keyboards

}  // namespace vexlo::x11
