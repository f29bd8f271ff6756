#pragma once
// Reading and writing window properties with bounded lengths: whatever another client
// put there is untrusted.
#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::x11 {

// The 32-bit items of a property of the given type (AnyPropertyType: any), at most
// maxItems of them; empty when missing or of another format.
std::vector<unsigned long> ReadProperty32(Display* display, ::Window window, Atom property, Atom type,
                                          long maxItems);
// The bytes of an 8-bit property; none when missing, of another format or longer than
// maxBytes.
std::optional<std::string> ReadProperty8(Display* display, ::Window window, Atom property, Atom type,
                                         long maxBytes, Atom* actualType = nullptr);

void SetProperty32(Display* display, ::Window window, Atom property, Atom type,
                   const std::vector<unsigned long>& items);
void SetProperty8(Display* display, ::Window window, Atom property, Atom type, std::string_view bytes);

// Latin-1 bytes of a text for STRING properties; characters outside it become '?'.
std::string ToLatin1(std::u16string_view text);

}  // namespace vexlo::x11
