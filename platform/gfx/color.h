#pragma once
// The two colour encodings the UI library meets:
//  - ColorRef: 0x00BBGGRR, red in bits 0-7 (how skins and GDI-style calls store colours);
//  - Argb: straight (not premultiplied) 0xAARRGGBB (how GDI+-style calls take colours).
// Bitmap pixels are premultiplied 0xAARRGGBB (platform/gfx/bitmap.h).
#include "platform/gfx/bitmap.h"

#include <cstdint>

namespace vexlo::gfx {

using ColorRef = uint32_t;
using Argb = uint32_t;

constexpr ColorRef MakeColorRef(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t{r} | (uint32_t{g} << 8) | (uint32_t{b} << 16);
}
constexpr uint8_t ColorRefRed(ColorRef c) { return static_cast<uint8_t>(c); }
constexpr uint8_t ColorRefGreen(ColorRef c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t ColorRefBlue(ColorRef c) { return static_cast<uint8_t>(c >> 16); }

constexpr Argb MakeArgb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}
// The GDI+ colour a style forms from its alpha and a stored ColorRef.
constexpr Argb ArgbFromColorRef(uint8_t alpha, ColorRef c) {
    return MakeArgb(alpha, ColorRefRed(c), ColorRefGreen(c), ColorRefBlue(c));
}
constexpr uint32_t PremultiplyArgb(Argb c) {
    return PremultipliedPixel(AlphaOf(c), RedOf(c), GreenOf(c), BlueOf(c));
}
// The opaque pixel of a ColorRef.
constexpr uint32_t OpaquePixel(ColorRef c) { return 0xFF000000u | (ArgbFromColorRef(0, c) & 0x00FFFFFFu); }

}  // namespace vexlo::gfx
