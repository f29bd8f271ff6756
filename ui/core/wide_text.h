#pragma once
// Small helpers for the library's wide texts: fixed-capacity name fields and the
// letter-case rules of skin names (keywords and element names ignore ASCII case).
#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vexlo::ui {

constexpr char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
std::u16string LowerAscii(std::u16string_view text);

// A fixed wide-character array that always holds a terminated text of at most N - 1
// characters; longer texts are cut.
template <size_t N>
class WideField {
public:
    static_assert(N > 0);
    static constexpr size_t kCapacity = N;  // characters, the terminator included

    WideField() { chars_.fill(0); }
    explicit WideField(std::u16string_view text) : WideField() { Set(text); }

    void Set(std::u16string_view text) {
        size_t n = 0;
        for (; n < text.size() && n < N - 1; ++n) chars_[n] = text[n];
        // A text cut inside a surrogate pair would keep half a character.
        if (n < text.size() && n > 0 && IsHighSurrogate(chars_[n - 1])) --n;
        std::fill(chars_.begin() + static_cast<std::ptrdiff_t>(n), chars_.end(), char16_t{0});
    }
    void Clear() { chars_.fill(0); }
    std::u16string_view view() const { return std::u16string_view(chars_.data()); }
    std::u16string str() const { return std::u16string(view()); }
    const char16_t* c_str() const { return chars_.data(); }
    char16_t* data() { return chars_.data(); }
    bool empty() const { return chars_[0] == 0; }
    bool operator==(std::u16string_view other) const { return view() == other; }

private:
    std::array<char16_t, N> chars_;
};

// Names of controls, resources and styles keep at most 127 characters.
using NameField = WideField<128>;

}  // namespace vexlo::ui
