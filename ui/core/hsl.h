#pragma once
// Hue, saturation and lightness on a 0-255 scale: six hue sectors 42.5 apart on the way
// in, sector width 42 and a third of the circle 85 on the way out. Hues wrap modulo 256.
#include <cstdint>

namespace vexlo::ui {

struct Hsl {
    uint8_t h = 0;
    uint8_t s = 0;
    uint8_t l = 0;
    bool operator==(const Hsl&) const = default;
};

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// A grey (maximum equal to minimum) gives hue 170 and saturation 0.
Hsl RgbToHsl(Rgb c);
Rgb HslToRgb(Hsl c);
// Saturation and lightness shifts clamp to 0..255; the hue shift wraps around the circle.
Hsl ShiftHsl(Hsl c, int hueShift, int saturationShift, int lightnessShift);

}  // namespace vexlo::ui
