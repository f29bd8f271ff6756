#pragma once
// Virtual-key codes (the target's values).
#include <cstdint>

namespace vexlo::win {

inline constexpr uint32_t VK_LBUTTON = 0x01;
inline constexpr uint32_t VK_RBUTTON = 0x02;
inline constexpr uint32_t VK_MBUTTON = 0x04;
inline constexpr uint32_t VK_BACK = 0x08;
inline constexpr uint32_t VK_TAB = 0x09;
inline constexpr uint32_t VK_RETURN = 0x0D;
inline constexpr uint32_t VK_SHIFT = 0x10;
inline constexpr uint32_t VK_CONTROL = 0x11;
inline constexpr uint32_t VK_MENU = 0x12;  // Alt
inline constexpr uint32_t VK_PAUSE = 0x13;
inline constexpr uint32_t VK_CAPITAL = 0x14;
inline constexpr uint32_t VK_ESCAPE = 0x1B;
inline constexpr uint32_t VK_SPACE = 0x20;
inline constexpr uint32_t VK_PRIOR = 0x21;
inline constexpr uint32_t VK_NEXT = 0x22;
inline constexpr uint32_t VK_END = 0x23;
inline constexpr uint32_t VK_HOME = 0x24;
inline constexpr uint32_t VK_LEFT = 0x25;
inline constexpr uint32_t VK_UP = 0x26;
inline constexpr uint32_t VK_RIGHT = 0x27;
inline constexpr uint32_t VK_DOWN = 0x28;
inline constexpr uint32_t VK_INSERT = 0x2D;
inline constexpr uint32_t VK_DELETE = 0x2E;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
inline constexpr uint32_t VK_NUMPAD0 = 0x60;
inline constexpr uint32_t VK_MULTIPLY = 0x6A;
inline constexpr uint32_t VK_ADD = 0x6B;
inline constexpr uint32_t VK_SUBTRACT = 0x6D;
inline constexpr uint32_t VK_DECIMAL = 0x6E;
inline constexpr uint32_t VK_DIVIDE = 0x6F;
inline constexpr uint32_t VK_F1 = 0x70;
inline constexpr uint32_t VK_F4 = 0x73;
inline constexpr uint32_t VK_F10 = 0x79;
inline constexpr uint32_t VK_F12 = 0x7B;
inline constexpr uint32_t VK_LSHIFT = 0xA0;
inline constexpr uint32_t VK_RSHIFT = 0xA1;
inline constexpr uint32_t VK_LCONTROL = 0xA2;
inline constexpr uint32_t VK_RCONTROL = 0xA3;
inline constexpr uint32_t VK_LMENU = 0xA4;
inline constexpr uint32_t VK_RMENU = 0xA5;
inline constexpr uint32_t VK_OEM_1 = 0xBA;       // ;:
inline constexpr uint32_t VK_OEM_PLUS = 0xBB;    // =+
inline constexpr uint32_t VK_OEM_COMMA = 0xBC;   // ,<
inline constexpr uint32_t VK_OEM_MINUS = 0xBD;   // -_
inline constexpr uint32_t VK_OEM_PERIOD = 0xBE;  // .>
inline constexpr uint32_t VK_OEM_2 = 0xBF;       // /?
inline constexpr uint32_t VK_OEM_3 = 0xC0;       // `~
inline constexpr uint32_t VK_OEM_4 = 0xDB;       // [{
inline constexpr uint32_t VK_OEM_5 = 0xDC;       // \|
inline constexpr uint32_t VK_OEM_6 = 0xDD;       // ]}
inline constexpr uint32_t VK_OEM_7 = 0xDE;       // '"
inline constexpr uint32_t VK_PACKET = 0xE7;

// The character a key gives on a US keyboard layout, or 0 when it gives none.
char16_t CharacterForKey(uint32_t virtualKey, bool shift, bool capsLock);
// The virtual key and shift state that type a character on a US layout; false when no key
// types it (such characters are delivered as VK_PACKET).
bool KeyForCharacter(char16_t ch, uint32_t* virtualKey, bool* shift);
// A scan code for the key (set 1), 0 when unknown; used to fill the key messages' lParam.
uint32_t ScanCodeForKey(uint32_t virtualKey);

}  // namespace vexlo::win
