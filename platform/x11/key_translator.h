#pragma once
// Keys as X reports them into the window system's key input: virtual keys for keys the
// window system can turn into characters itself (its US layout gives the same character
// the keyboard's own mapping gives), characters of their own for everything else the
// mapping types (other layouts, AltGr, composed characters). Modifier keys are kept in
// step with the modifier bits of each X event, so a Shift pressed while another program
// had the keyboard does not stick.
#include "platform/win/display_backend.h"

#include <map>
#include <string>
#include <vector>

namespace vexlo::x11 {

struct KeyStroke {
    unsigned keycode = 0;
    unsigned state = 0;               // X modifier bits before the event
    unsigned long keysym = 0;         // with the modifiers applied
    unsigned long plainKeysym = 0;    // the key's first level
    unsigned long shiftedKeysym = 0;  // the key's second level
    std::u16string text;              // what the keyboard's mapping types with this press
};

class KeyTranslator {
public:
    void Press(const KeyStroke& stroke, std::vector<win::InputEvent>& out);
    void Release(unsigned keycode, unsigned state, std::vector<win::InputEvent>& out);
    void SyncModifiers(unsigned state, std::vector<win::InputEvent>& out);
    // The keyboard went to another program: every key still down is released.
    void ReleaseAll(std::vector<win::InputEvent>& out);

private:
    void Key(bool down, uint32_t virtualKey, std::vector<win::InputEvent>& out);

    bool shift_ = false;
    bool control_ = false;
    bool alt_ = false;
    bool capsLock_ = false;  // the toggle as the window system counts it
    std::map<unsigned, uint32_t> down_;  // key code -> virtual key reported down (0: none)
};

}  // namespace vexlo::x11
