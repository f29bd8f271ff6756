#include "platform/win/keys.h"

#include <array>

namespace vexlo::win {
namespace {

struct PunctuationKey {
    uint32_t key;
    char16_t plain;
    char16_t shifted;
};

constexpr std::array<PunctuationKey, 11> kPunctuation{{
    {VK_OEM_1, u';', u':'},
    {VK_OEM_PLUS, u'=', u'+'},
    {VK_OEM_COMMA, u',', u'<'},
    {VK_OEM_MINUS, u'-', u'_'},
    {VK_OEM_PERIOD, u'.', u'>'},
    {VK_OEM_2, u'/', u'?'},
    {VK_OEM_3, u'`', u'~'},
    {VK_OEM_4, u'[', u'{'},
    {VK_OEM_5, u'\\', u'|'},
    {VK_OEM_6, u']', u'}'},
    {VK_OEM_7, u'\'', u'"'},
}};

constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";

}  // namespace

char16_t CharacterForKey(uint32_t key, bool shift, bool capsLock) {
    if (key >= 'A' && key <= 'Z') {
        const bool upper = shift != capsLock;
        return static_cast<char16_t>(upper ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9') return shift ? kShiftedDigits[key - '0'] : static_cast<char16_t>(key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return static_cast<char16_t>(u'0' + (key - VK_NUMPAD0));
    switch (key) {
        case VK_SPACE: return u' ';
        case VK_RETURN: return u'\r';
        case VK_BACK: return u'\b';
        case VK_TAB: return u'\t';
        case VK_ESCAPE: return 0x1B;
        case VK_MULTIPLY: return u'*';
        case VK_ADD: return u'+';
        case VK_SUBTRACT: return u'-';
        case VK_DECIMAL: return u'.';
        case VK_DIVIDE: return u'/';
        default: break;
    }
    for (const auto& p : kPunctuation) {
        if (p.key == key) return shift ? p.shifted : p.plain;
    }
    return 0;
}

bool KeyForCharacter(char16_t ch, uint32_t* key, bool* shift) {
    auto give = [&](uint32_t k, bool s) {
        *key = k;
        *shift = s;
        return true;
    };
    if (ch >= u'a' && ch <= u'z') return give(ch - u'a' + 'A', false);
    if (ch >= u'A' && ch <= u'Z') return give(ch, true);
    if (ch >= u'0' && ch <= u'9') return give(ch, false);
    for (int d = 0; d < 10; ++d) {
        if (kShiftedDigits[d] == ch) return give('0' + d, true);
    }
    switch (ch) {
        case u' ': return give(VK_SPACE, false);
        case u'\r':
        case u'\n': return give(VK_RETURN, false);
        case u'\b': return give(VK_BACK, false);
        case u'\t': return give(VK_TAB, false);
        default: break;
    }
    for (const auto& p : kPunctuation) {
        if (p.plain == ch) return give(p.key, false);
        if (p.shifted == ch) return give(p.key, true);
    }
    return false;
}

uint32_t ScanCodeForKey(uint32_t key) {
    // Set-1 make codes of the main block, in keyboard order.
    static constexpr char kRow1[] = "1234567890";
    static constexpr char kRow2[] = "QWERTYUIOP";
    static constexpr char kRow3[] = "ASDFGHJKL";
    static constexpr char kRow4[] = "ZXCVBNM";
    for (int i = 0; kRow1[i]; ++i) if (static_cast<uint32_t>(kRow1[i]) == key) return 0x02 + i;
    for (int i = 0; kRow2[i]; ++i) if (static_cast<uint32_t>(kRow2[i]) == key) return 0x10 + i;
    for (int i = 0; kRow3[i]; ++i) if (static_cast<uint32_t>(kRow3[i]) == key) return 0x1E + i;
    for (int i = 0; kRow4[i]; ++i) if (static_cast<uint32_t>(kRow4[i]) == key) return 0x2C + i;
    if (key >= VK_F1 && key <= VK_F1 + 9) return 0x3B + (key - VK_F1);
    switch (key) {
        case VK_ESCAPE: return 0x01;
        case VK_BACK: return 0x0E;
        case VK_TAB: return 0x0F;
        case VK_RETURN: return 0x1C;
        case VK_CONTROL: case VK_LCONTROL: return 0x1D;
        case VK_SHIFT: case VK_LSHIFT: return 0x2A;
        case VK_RSHIFT: return 0x36;
        case VK_MENU: case VK_LMENU: return 0x38;
        case VK_SPACE: return 0x39;
        case VK_CAPITAL: return 0x3A;
        case VK_HOME: return 0x47;
        case VK_UP: return 0x48;
        case VK_PRIOR: return 0x49;
        case VK_LEFT: return 0x4B;
        case VK_RIGHT: return 0x4D;
        case VK_END: return 0x4F;
        case VK_DOWN: return 0x50;
        case VK_NEXT: return 0x51;
        case VK_INSERT: return 0x52;
        case VK_DELETE: return 0x53;
        default: return 0;
    }
}

}  // namespace vexlo::win
