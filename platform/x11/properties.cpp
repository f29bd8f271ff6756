#include "platform/x11/properties.h"

#include <X11/Xatom.h>

#include <algorithm>

namespace vexlo::x11 {
namespace {

struct PropertyData {
    unsigned char* data = nullptr;
    ~PropertyData() {
        if (data) XFree(data);
    }
};

}  // namespace

std::vector<unsigned long> ReadProperty32(Display* display, ::Window window, Atom property, Atom type,
                                          long maxItems) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    PropertyData p;
    if (XGetWindowProperty(display, window, property, 0, maxItems, False, type, &actualType, &format, &count, &after,
                           &p.data) != Success ||
        !p.data || format != 32 || (type != AnyPropertyType && actualType != type)) {
        return {};
    }
    // Xlib hands 32-bit items over as longs.
    const auto* items = reinterpret_cast<const unsigned long*>(p.data);
    return std::vector<unsigned long>(items, items + count);
}

std::optional<std::string> ReadProperty8(Display* display, ::Window window, Atom property, Atom type, long maxBytes,
                                         Atom* actualTypeOut) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    PropertyData p;
    // Lengths are asked for in 32-bit units.
    if (XGetWindowProperty(display, window, property, 0, (maxBytes + 3) / 4, False, type, &actualType, &format,
                           &count, &after, &p.data) != Success ||
        actualType == None || format != 8) {
        return std::nullopt;
    }
    if (actualTypeOut) *actualTypeOut = actualType;
    // A longer value than the caller takes is refused, not cut.
    if (after > 0 || count > static_cast<unsigned long>(maxBytes)) return std::nullopt;
    const unsigned long kept = std::min<unsigned long>(count, static_cast<unsigned long>(maxBytes));
    return std::string(reinterpret_cast<const char*>(p.data), p.data ? kept : 0);
}

void SetProperty32(Display* display, ::Window window, Atom property, Atom type,
                   const std::vector<unsigned long>& items) {
    XChangeProperty(display, window, property, type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(items.data()), static_cast<int>(items.size()));
}

void SetProperty8(Display* display, ::Window window, Atom property, Atom type, std::string_view bytes) {
    XChangeProperty(display, window, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

std::string ToLatin1(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    return out;
}

}  // namespace vexlo::x11
