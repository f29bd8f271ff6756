#include "ui/core/hsl.h"

#include <algorithm>
#include <cmath>

namespace vexlo::ui {
namespace {

constexpr int kMax = 255;

uint8_t WrapHue(int64_t h) { return static_cast<uint8_t>(((h % 256) + 256) % 256); }

int HueToChannel(int n1, int n2, int hue) {
    hue = WrapHue(hue);
    if (hue < 42) return n1 + ((n2 - n1) * hue + 21) / 42;
    if (hue < 128) return n2;
    if (hue < 170) return n1 + ((n2 - n1) * (170 - hue) + 21) / 42;
    return n1;
}

}  // namespace

Hsl RgbToHsl(Rgb c) {
    const int r = c.r, g = c.g, b = c.b;
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    Hsl out;
    out.l = static_cast<uint8_t>(((mx + mn) * kMax + kMax) / (2 * kMax));
    if (mx == mn) {
        out.h = 170;
        out.s = 0;
        return out;
    }
    const int sum = mx + mn;
    const int delta = mx - mn;
    out.s = static_cast<uint8_t>(out.l <= kMax / 2 ? (delta * kMax + sum / 2) / sum
                                                   : (delta * kMax + (2 * kMax - sum) / 2) / (2 * kMax - sum));
    // Position inside the sector, in sixths of the circle (42.5 each).
    const double sixth = kMax / 6.0;
    const double rd = (mx - r) * sixth / delta;
    const double gd = (mx - g) * sixth / delta;
    const double bd = (mx - b) * sixth / delta;
    double h;
    if (r == mx) h = bd - gd;
    else if (g == mx) h = kMax / 3.0 + rd - bd;
    else h = 2.0 * kMax / 3.0 + gd - rd;
    out.h = WrapHue(std::lround(h));
    return out;
}

Rgb HslToRgb(Hsl c) {
    const int l = c.l, s = c.s, h = c.h;
    if (s == 0) return {c.l, c.l, c.l};
    const int m2 = l <= kMax / 2 ? (l * (kMax + s) + kMax / 2) / kMax : l + s - (l * s + kMax / 2) / kMax;
    const int m1 = 2 * l - m2;
    auto clamp = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, kMax)); };
    return {clamp(HueToChannel(m1, m2, h + 85)), clamp(HueToChannel(m1, m2, h)), clamp(HueToChannel(m1, m2, h - 85))};
}

Hsl ShiftHsl(Hsl c, int hueShift, int saturationShift, int lightnessShift) {
    Hsl out;
    out.h = WrapHue(int64_t{c.h} + hueShift);
    out.s = static_cast<uint8_t>(std::clamp<int64_t>(int64_t{c.s} + saturationShift, 0, kMax));
    out.l = static_cast<uint8_t>(std::clamp<int64_t>(int64_t{c.l} + lightnessShift, 0, kMax));
    return out;
}

}  // namespace vexlo::ui
