// Keys as X reports them, into key input and characters: layouts other than US, AltGr,
// shortcuts, modifiers that changed while another program had the keyboard.
#include <gtest/gtest.h>

#include "platform/win/keys.h"
#include "platform/x11/key_translator.h"
#include "platform/x11/keymap.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <string>

namespace vexlo::x11 {
namespace {

using win::InputEvent;
using Type = InputEvent::Type;

// "D41" key down 0x41, "U41" key up, "C00e9" a character of its own.
std::string Describe(const std::vector<InputEvent>& events) {
    std::string out;
    char buffer[16];
    for (const auto& e : events) {
        if (!out.empty()) out += ' ';
        if (e.type == Type::Character) {
            std::snprintf(buffer, sizeof buffer, "C%04x", static_cast<unsigned>(e.character));
        } else {
            std::snprintf(buffer, sizeof buffer, "%c%02x", e.type == Type::KeyDown ? 'D' : 'U', e.virtualKey);
        }
        out += buffer;
    }
    return out;
}

KeyStroke Stroke(unsigned keycode, unsigned state, unsigned long keysym, unsigned long plain, unsigned long shifted,
                 std::u16string text) {
    return {keycode, state, keysym, plain, shifted, std::move(text)};
}

TEST(KeyTranslatorTest, KeysThatTheLayoutTypesAlikeStayKeys) {
    struct Case {
        const char* name;
        KeyStroke stroke;
        const char* press;
    };
    const Case cases[] = {
        {"a", Stroke(38, 0, XK_a, XK_a, XK_A, u"a"), "D41"},
        {"Shift+a", Stroke(38, ShiftMask, XK_A, XK_a, XK_A, u"A"), "D10 D41"},
        {"Shift+1 gives !", Stroke(10, ShiftMask, XK_exclam, XK_1, XK_exclam, u"!"), "D10 D31"},
        {"Return", Stroke(36, 0, XK_Return, XK_Return, XK_Return, u"\r"), "D0d"},
        {"F5, no text", Stroke(71, 0, XK_F5, XK_F5, XK_F5, u""), "D74"},
        {"Ctrl+C: a shortcut", Stroke(54, ControlMask, XK_c, XK_c, XK_C, u"\x03"), "D11 D43"},
        {"Alt+F4", Stroke(70, Mod1Mask, XK_F4, XK_F4, XK_F4, u""), "D12 D73"},
        {"keypad 7 with Num Lock", Stroke(79, Mod2Mask, XK_KP_7, XK_KP_Home, XK_KP_7, u"7"), "D67"},
        {"keypad Home", Stroke(79, 0, XK_KP_Home, XK_KP_Home, XK_KP_7, u""), "D24"},
        // AZERTY: the A key carries "q"... the key follows the symbol, as the target's
        // layouts do for letters.
        {"AZERTY a on the Q key", Stroke(24, 0, XK_a, XK_a, XK_A, u"a"), "D41"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyTranslator t;
        std::vector<InputEvent> out;
        t.Press(c.stroke, out);
        EXPECT_EQ(Describe(out), c.press);
    }
}

TEST(KeyTranslatorTest, WhatTheUsLayoutWouldTypeDifferentlyComesAsCharacters) {
    struct Case {
        const char* name;
        KeyStroke stroke;
        const char* press;
    };
    const Case cases[] = {
        {"German o-umlaut", Stroke(47, 0, XK_odiaeresis, XK_odiaeresis, XK_Odiaeresis, u"\u00f6"), "C00f6"},
        {"AltGr+q gives @", Stroke(24, Mod5Mask, XK_at, XK_q, XK_Q, u"@"), "C0040"},
        {"Cyrillic ef", Stroke(38, 0, XK_Cyrillic_ef, XK_Cyrillic_ef, XK_Cyrillic_EF, u"\u0444"), "C0444"},
        {"German Shift+comma gives ;", Stroke(59, ShiftMask, XK_semicolon, XK_comma, XK_semicolon, u";"), "D10 C003b"},
        {"composed e-acute", Stroke(0, 0, NoSymbol, NoSymbol, NoSymbol, u"\u00e9"), "C00e9"},
        {"an emoji is two units", Stroke(0, 0, NoSymbol, NoSymbol, NoSymbol, u"\U0001F600"), "Cd83d Cde00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyTranslator t;
        std::vector<InputEvent> out;
        t.Press(c.stroke, out);
        EXPECT_EQ(Describe(out), c.press);
        // Releasing a key that typed a character of its own sends nothing more.
        out.clear();
        t.Release(c.stroke.keycode, c.stroke.state, out);
        EXPECT_EQ(Describe(out), "");
    }
}

TEST(KeyTranslatorTest, ModifiersFollowTheStateOfEachEvent) {
    KeyTranslator t;
    std::vector<InputEvent> out;
    // Shift pressed and released by the user in our window.
    t.Press(Stroke(50, 0, XK_Shift_L, XK_Shift_L, XK_Shift_L, u""), out);
    t.Press(Stroke(38, ShiftMask, XK_A, XK_a, XK_A, u"A"), out);
    t.Release(38, ShiftMask, out);
    t.Release(50, ShiftMask, out);
    EXPECT_EQ(Describe(out), "D10 D41 U41 U10");

    // Control went down while another program had the keyboard, and up before this key.
    out.clear();
    t.Press(Stroke(38, ControlMask, XK_a, XK_a, XK_A, u"\x01"), out);
    t.Release(38, 0, out);
    EXPECT_EQ(Describe(out), "D11 D41 U11 U41");
}

TEST(KeyTranslatorTest, CapsLockTogglesOncePerPress) {
    KeyTranslator t;
    std::vector<InputEvent> out;
    // On: the lock bit appears after the press.
    t.Press(Stroke(66, 0, XK_Caps_Lock, XK_Caps_Lock, XK_Caps_Lock, u""), out);
    t.Release(66, LockMask, out);
    // Typing with the lock on: "A" is what the US layout gives too.
    t.Press(Stroke(38, LockMask, XK_A, XK_a, XK_A, u"A"), out);
    t.Release(38, LockMask, out);
    // Off: the bit is still set during the press and its release.
    t.Press(Stroke(66, LockMask, XK_Caps_Lock, XK_Caps_Lock, XK_Caps_Lock, u""), out);
    t.Release(66, LockMask, out);
    t.Press(Stroke(38, 0, XK_a, XK_a, XK_A, u"a"), out);
    EXPECT_EQ(Describe(out), "D14 U14 D41 U41 D14 U14 D41");

    // The lock switched on elsewhere: one toggle brings the window system in step.
    KeyTranslator other;
    out.clear();
    other.Press(Stroke(38, LockMask, XK_A, XK_a, XK_A, u"A"), out);
    EXPECT_EQ(Describe(out), "D14 U14 D41");
}

TEST(KeyTranslatorTest, LosingTheKeyboardReleasesWhatIsDown) {
    KeyTranslator t;
    std::vector<InputEvent> out;
    t.Press(Stroke(37, 0, XK_Control_L, XK_Control_L, XK_Control_L, u""), out);
    t.Press(Stroke(113, ControlMask, XK_Left, XK_Left, XK_Left, u""), out);
    // Control+o-umlaut is a shortcut: the key by its place, not the character.
    t.Press(Stroke(47, ControlMask, XK_odiaeresis, XK_odiaeresis, XK_Odiaeresis, u"\u00f6"), out);
    EXPECT_EQ(Describe(out), "D11 D25 Dba");
    out.clear();
    t.ReleaseAll(out);
    EXPECT_EQ(Describe(out), "Uba U25 U11");
    out.clear();
    t.ReleaseAll(out);
    EXPECT_EQ(Describe(out), "");
    // Auto-repeat arrives as presses alone: each one is a key down again.
    t.Press(Stroke(113, 0, XK_Left, XK_Left, XK_Left, u""), out);
    t.Press(Stroke(113, 0, XK_Left, XK_Left, XK_Left, u""), out);
    t.Release(113, 0, out);
    EXPECT_EQ(Describe(out), "D25 D25 U25");
}

TEST(KeymapTest, SymbolsAndPlacesGiveTheTargetsKeys) {
    struct Case {
        unsigned long keysym;
        uint32_t key;
    };
    const Case cases[] = {
        {XK_z, 'Z'}, {XK_Z, 'Z'}, {XK_0, '0'}, {XK_F12, win::VK_F12}, {XK_KP_0, win::VK_NUMPAD0},
        {XK_Escape, win::VK_ESCAPE}, {XK_ISO_Left_Tab, win::VK_TAB}, {XK_bracketleft, win::VK_OEM_4},
        {XK_quotedbl, win::VK_OEM_7}, {XK_Alt_R, win::VK_MENU}, {XK_Super_L, kVkLeftWin},
        {XK_ISO_Level3_Shift, 0}, {XK_odiaeresis, 0}, {XK_dead_acute, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(VirtualKeyForKeysym(c.keysym), c.key) << std::hex << c.keysym;
    EXPECT_EQ(VirtualKeyForKeycode(38), uint32_t{'A'});
    EXPECT_EQ(VirtualKeyForKeycode(47), win::VK_OEM_1);
    EXPECT_EQ(VirtualKeyForKeycode(255), 0u);
}

}  // namespace
}  // namespace vexlo::x11
