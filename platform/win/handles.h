#pragma once
// Checked handles. A handle is an id with a generation, never a pointer: once its object
// is gone the handle is simply invalid, and a handle from an earlier window system (an
// earlier test) never matches an object of a later one.
#include <compare>
#include <cstdint>
#include <functional>

namespace vexlo::win {

template <typename Tag>
class Handle {
public:
    constexpr Handle() = default;
    static constexpr Handle FromValue(uintptr_t value) {
        Handle h;
        h.value_ = value;
        return h;
    }
    constexpr uintptr_t value() const { return value_; }
    constexpr explicit operator bool() const { return value_ != 0; }
    constexpr bool IsNull() const { return value_ == 0; }
    constexpr auto operator<=>(const Handle&) const = default;

    // The parts of a handle made by a window system: slot + 1 in the low 32 bits, the
    // generation in the high ones. Generation 0 is never used, so small values such as
    // HWND_BOTTOM (1) can never be a real handle.
    static constexpr Handle Make(uint32_t slot, uint32_t generation) {
        return FromValue((static_cast<uintptr_t>(generation) << 32) | (uintptr_t{slot} + 1));
    }
    constexpr uint32_t slot() const { return static_cast<uint32_t>(value_ & 0xFFFFFFFFu) - 1; }
    constexpr uint32_t generation() const { return static_cast<uint32_t>(value_ >> 32); }

private:
    uintptr_t value_ = 0;
};

struct WindowTag;
struct CursorTag;
struct IconTag;

using Window = Handle<WindowTag>;
using Cursor = Handle<CursorTag>;
using Icon = Handle<IconTag>;

static_assert(sizeof(uintptr_t) == 8, "handles pack a 32-bit generation beside the slot");

// Pseudo-handles of SetWindowPos's insert-after argument.
inline constexpr Window HWND_TOP = Window::FromValue(0);
inline constexpr Window HWND_BOTTOM = Window::FromValue(1);
inline constexpr Window HWND_TOPMOST = Window::FromValue(~uintptr_t{0});
inline constexpr Window HWND_NOTOPMOST = Window::FromValue(~uintptr_t{1});

}  // namespace vexlo::win

template <typename Tag>
struct std::hash<vexlo::win::Handle<Tag>> {
    size_t operator()(const vexlo::win::Handle<Tag>& h) const noexcept { return std::hash<uintptr_t>()(h.value()); }
};
