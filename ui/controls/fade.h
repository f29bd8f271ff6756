#pragma once
// The cross-fade of a button between its old and its new look: the new look grows more
// opaque and the old one fades out by fixed steps per timer tick.
#include <cstdint>

#include "ui/core/state.h"

namespace vexlo::ui {

inline constexpr uint32_t kFadeTickMs = 30;
inline constexpr int32_t kDefaultFadeInSpeed = 40;
inline constexpr int32_t kDefaultFadeOutSpeed = 30;

struct FadeRecord {
    bool fading = false;
    uint32_t timerId = 0;
    uint32_t newState = kStateNormal;
    uint32_t oldState = kStateNormal;
    int32_t newAlpha = 0;
    int32_t oldAlpha = 0;

    void Start(uint32_t from, uint32_t to, int32_t alpha) {
        newState = to;
        oldState = from;
        fading = true;
        newAlpha = 0;
        oldAlpha = alpha;
    }
    // One tick; true when both alphas reached their limits and the fade is over.
    bool Step(int32_t inSpeed, int32_t outSpeed) {
        newAlpha += inSpeed;
        if (newAlpha > 254) newAlpha = 255;
        oldAlpha -= outSpeed;
        if (oldAlpha < 1) oldAlpha = 0;
        if (newAlpha > 254 && oldAlpha < 1) {
            fading = false;
            return true;
        }
        return false;
    }
};

// A speed of 0 (or below) from the skin stands for the default.
constexpr int32_t FadeSpeedOrDefault(int32_t speed, int32_t fallback) { return speed <= 0 ? fallback : speed; }

}  // namespace vexlo::ui
