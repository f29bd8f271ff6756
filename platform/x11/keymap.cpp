#include "platform/x11/keymap.h"

#include "platform/win/keys.h"

#include <X11/keysym.h>

#include <array>

namespace vexlo::x11 {

using namespace vexlo::win;

namespace {

struct KeysymEntry {
    unsigned long keysym;
    uint32_t key;
};

constexpr KeysymEntry kKeysyms[] = {
    {XK_BackSpace, VK_BACK},        {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},      {XK_Return, VK_RETURN},
    {XK_Pause, VK_PAUSE},           {XK_Scroll_Lock, kVkScroll},
    {XK_Escape, VK_ESCAPE},         {XK_Delete, VK_DELETE},
    {XK_Home, VK_HOME},             {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},                 {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},             {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},             {XK_End, VK_END},
    {XK_Begin, kVkClear},           {XK_Print, kVkSnapshot},
    {XK_Insert, VK_INSERT},         {XK_Menu, kVkApps},
    {XK_Num_Lock, kVkNumLock},      {XK_Caps_Lock, VK_CAPITAL},
    {XK_Shift_L, VK_SHIFT},         {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL},     {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},            {XK_Alt_R, VK_MENU},
    {XK_Meta_L, VK_MENU},           {XK_Meta_R, VK_MENU},
    {XK_Super_L, kVkLeftWin},       {XK_Super_R, kVkRightWin},
    {XK_space, VK_SPACE},           {XK_KP_Space, VK_SPACE},
    {XK_KP_Tab, VK_TAB},            {XK_KP_Enter, VK_RETURN},
    {XK_KP_Home, VK_HOME},          {XK_KP_Left, VK_LEFT},
    {XK_KP_Up, VK_UP},              {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},          {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},          {XK_KP_End, VK_END},
    {XK_KP_Begin, kVkClear},        {XK_KP_Insert, VK_INSERT},
    {XK_KP_Delete, VK_DELETE},      {XK_KP_Multiply, VK_MULTIPLY},
    {XK_KP_Add, VK_ADD},            {XK_KP_Separator, kVkSeparator},
    {XK_KP_Subtract, VK_SUBTRACT},  {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE},      {XK_KP_Equal, VK_OEM_PLUS},
    {XK_semicolon, VK_OEM_1},       {XK_colon, VK_OEM_1},
    {XK_equal, VK_OEM_PLUS},        {XK_plus, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},       {XK_less, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},       {XK_underscore, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD},     {XK_greater, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},           {XK_question, VK_OEM_2},
    {XK_grave, VK_OEM_3},           {XK_asciitilde, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4},     {XK_braceleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},       {XK_bar, VK_OEM_5},
    {XK_bracketright, VK_OEM_6},    {XK_braceright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7},      {XK_quotedbl, VK_OEM_7},
};

// Linux input key codes plus 8, in the order of the main block: the key each position
// carries on a US keyboard.
struct PositionEntry {
    unsigned keycode;
    uint32_t key;
};

constexpr PositionEntry kPositions[] = {
    {9, VK_ESCAPE},      {10, '1'},          {11, '2'},          {12, '3'},          {13, '4'},
    {14, '5'},           {15, '6'},          {16, '7'},          {17, '8'},          {18, '9'},
    {19, '0'},           {20, VK_OEM_MINUS}, {21, VK_OEM_PLUS},  {22, VK_BACK},      {23, VK_TAB},
    {24, 'Q'},           {25, 'W'},          {26, 'E'},          {27, 'R'},          {28, 'T'},
    {29, 'Y'},           {30, 'U'},          {31, 'I'},          {32, 'O'},          {33, 'P'},
    {34, VK_OEM_4},      {35, VK_OEM_6},     {36, VK_RETURN},    {37, VK_CONTROL},   {38, 'A'},
    {39, 'S'},           {40, 'D'},          {41, 'F'},          {42, 'G'},          {43, 'H'},
    {44, 'J'},           {45, 'K'},          {46, 'L'},          {47, VK_OEM_1},     {48, VK_OEM_7},
    {49, VK_OEM_3},      {50, VK_SHIFT},     {51, VK_OEM_5},     {52, 'Z'},          {53, 'X'},
    {54, 'C'},           {55, 'V'},          {56, 'B'},          {57, 'N'},          {58, 'M'},
    {59, VK_OEM_COMMA},  {60, VK_OEM_PERIOD}, {61, VK_OEM_2},    {62, VK_SHIFT},     {64, VK_MENU},
    {65, VK_SPACE},      {66, VK_CAPITAL},   {94, kVkOem102},    {105, VK_CONTROL},  {108, VK_MENU},
};

}  // namespace

uint32_t VirtualKeyForKeysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) return static_cast<uint32_t>(keysym - XK_a + 'A');
    if (keysym >= XK_A && keysym <= XK_Z) return static_cast<uint32_t>(keysym);
    if (keysym >= XK_0 && keysym <= XK_9) return static_cast<uint32_t>(keysym);
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<uint32_t>(VK_NUMPAD0 + (keysym - XK_KP_0));
    if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<uint32_t>(VK_F1 + (keysym - XK_F1));
    for (const auto& e : kKeysyms) {
        if (e.keysym == keysym) return e.key;
    }
    return 0;
}

uint32_t VirtualKeyForKeycode(unsigned keycode) {
    for (const auto& e : kPositions) {
        if (e.keycode == keycode) return e.key;
    }
    return 0;
}

bool IsModifierKey(uint32_t key) { return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU; }

}  // namespace vexlo::x11
