#include "platform/x11/key_translator.h"

#include "platform/win/keys.h"
#include "platform/x11/keymap.h"

#include <X11/X.h>

namespace vexlo::x11 {

using win::InputEvent;
using Type = InputEvent::Type;

namespace {

bool IsControlCharacter(char16_t c) { return c < 0x20 || c == 0x7F; }

}  // namespace

void KeyTranslator::Key(bool down, uint32_t virtualKey, std::vector<InputEvent>& out) {
    InputEvent e;
    e.type = down ? Type::KeyDown : Type::KeyUp;
    e.virtualKey = virtualKey;
    out.push_back(e);
    switch (virtualKey) {
        case win::VK_SHIFT: shift_ = down; break;
        case win::VK_CONTROL: control_ = down; break;
        case win::VK_MENU: alt_ = down; break;
        case win::VK_CAPITAL:
            if (down) capsLock_ = !capsLock_;
            break;
        default: break;
    }
}

void KeyTranslator::SyncModifiers(unsigned state, std::vector<InputEvent>& out) {
    const bool shift = (state & ShiftMask) != 0;
    const bool control = (state & ControlMask) != 0;
    const bool alt = (state & Mod1Mask) != 0;
    const bool caps = (state & LockMask) != 0;
    if (shift != shift_) Key(shift, win::VK_SHIFT, out);
    if (control != control_) Key(control, win::VK_CONTROL, out);
    if (alt != alt_) Key(alt, win::VK_MENU, out);
    if (caps != capsLock_) {
        Key(true, win::VK_CAPITAL, out);
        Key(false, win::VK_CAPITAL, out);
    }
}

void KeyTranslator::Press(const KeyStroke& stroke, std::vector<InputEvent>& out) {
    SyncModifiers(stroke.state, out);
    uint32_t key = VirtualKeyForKeysym(stroke.keysym);
    if (!key) key = VirtualKeyForKeysym(stroke.plainKeysym);
    if (!key) key = VirtualKeyForKeysym(stroke.shiftedKeysym);
    if (!key) key = VirtualKeyForKeycode(stroke.keycode);

    bool printable = !stroke.text.empty();
    for (char16_t c : stroke.text) printable = printable && !IsControlCharacter(c);

    bool asKey = key != 0;
    if (printable && key) {
        const bool sameAsLayout =
            stroke.text.size() == 1 && win::CharacterForKey(key, shift_, capsLock_) == stroke.text[0];
        // With Control or Alt held the key is a shortcut: its key matters, not the text.
        asKey = sameAsLayout || control_ || alt_;
    }
    if (asKey) {
        down_[stroke.keycode] = key;
        Key(true, key, out);
        return;
    }
    if (!printable) return;
    down_[stroke.keycode] = 0;
    for (char16_t c : stroke.text) {
        InputEvent e;
        e.type = Type::Character;
        e.character = c;
        out.push_back(e);
    }
}

void KeyTranslator::Release(unsigned keycode, unsigned state, std::vector<InputEvent>& out) {
    auto it = down_.find(keycode);
    if (it == down_.end()) return;
    const uint32_t key = it->second;
    down_.erase(it);
    if (!key) return;
    // The released key itself is still in the state bits; the others must agree.
    unsigned expected = state;
    if (key == win::VK_SHIFT) expected &= ~static_cast<unsigned>(ShiftMask);
    if (key == win::VK_CONTROL) expected &= ~static_cast<unsigned>(ControlMask);
    if (key == win::VK_MENU) expected &= ~static_cast<unsigned>(Mod1Mask);
    if (IsModifierKey(key)) {
        Key(false, key, out);
        SyncModifiers(expected, out);
        return;
    }
    // A lock that is switched off goes off only after this release.
    if (key == win::VK_CAPITAL) {
        Key(false, key, out);
        return;
    }
    SyncModifiers(state, out);
    Key(false, key, out);
}

void KeyTranslator::ReleaseAll(std::vector<InputEvent>& out) {
    for (const auto& [code, key] : down_) {
        if (key && !IsModifierKey(key)) Key(false, key, out);
    }
    down_.clear();
    if (shift_) Key(false, win::VK_SHIFT, out);
    if (control_) Key(false, win::VK_CONTROL, out);
    if (alt_) Key(false, win::VK_MENU, out);
}

}  // namespace vexlo::x11
