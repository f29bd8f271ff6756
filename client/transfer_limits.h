#pragma once
// Bounds that every transfer of the server client runs under. The service and the network
// are untrusted: a reply may be endless and a peer may stop sending without closing.
#include <cstddef>

namespace vexlo::client {

struct TransferLimits {
    // A transfer that receives nothing for this long is aborted (no total time limit).
    long stallSeconds = 60;
    // A connection attempt that has not succeeded after this long is abandoned.
    long connectSeconds = 30;
    // Largest reply body that a check, a report or a service call may hold in memory.
    size_t replyCapBytes = size_t{4} << 20;
    // Largest installer that the in-memory download may hold.
    size_t downloadCapBytes = size_t{1} << 30;
};

// The limits in force. Defaults, overridden by the environment variables
// VEXLO_STALL_TIMEOUT_SECONDS and VEXLO_CONNECT_TIMEOUT_SECONDS (positive integers),
// overridden in turn by SetTransferLimits.
TransferLimits CurrentTransferLimits();

// Process-wide override (tests shorten the stall time and shrink the caps).
void SetTransferLimits(const TransferLimits& limits);
// Back to the defaults and the environment.
void ResetTransferLimits();

// Sets the limits for the lifetime of the object and restores the previous state after.
class ScopedTransferLimits {
public:
    explicit ScopedTransferLimits(const TransferLimits& limits);
    ~ScopedTransferLimits();
    ScopedTransferLimits(const ScopedTransferLimits&) = delete;
    ScopedTransferLimits& operator=(const ScopedTransferLimits&) = delete;

private:
    bool hadOverride_;
    TransferLimits previous_;
};

}  // namespace vexlo::client
