#include "client/transfer_limits.h"

#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/base/numbers.h"

namespace vexlo::client {
namespace {

std::mutex& LimitsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<TransferLimits>& Override() {
    static std::optional<TransferLimits> value;
    return value;
}

long SecondsFromEnvironment(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr) return fallback;
    const int32_t value = platform::Atoi32(text);
    return value > 0 ? value : fallback;
}

}  // namespace

TransferLimits CurrentTransferLimits() {
    {
        std::lock_guard lock(LimitsMutex());
        if (Override()) return *Override();
    }
    TransferLimits limits;
    limits.stallSeconds = SecondsFromEnvironment("VEXLO_STALL_TIMEOUT_SECONDS", limits.stallSeconds);
    limits.connectSeconds =
        SecondsFromEnvironment("VEXLO_CONNECT_TIMEOUT_SECONDS", limits.connectSeconds);
    return limits;
}

void SetTransferLimits(const TransferLimits& limits) {
    std::lock_guard lock(LimitsMutex());
    Override() = limits;
}

void ResetTransferLimits() {
    std::lock_guard lock(LimitsMutex());
    Override().reset();
}

ScopedTransferLimits::ScopedTransferLimits(const TransferLimits& limits) {
    std::lock_guard lock(LimitsMutex());
    hadOverride_ = Override().has_value();
    if (hadOverride_) previous_ = *Override();
    Override() = limits;
}

ScopedTransferLimits::~ScopedTransferLimits() {
    std::lock_guard lock(LimitsMutex());
    if (hadOverride_) {
        Override() = previous_;
    } else {
        Override().reset();
    }
}

}  // namespace vexlo::client
