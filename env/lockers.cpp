#include "env/lockers.h"

namespace vexlo::env {
namespace {

// Constant-initialised, so they exist before any static constructor could ask for them.
constinit platform::Locker clientApiLocker;
constinit platform::Locker installConfigLocker;
constinit platform::Locker identityStoreLocker;

}  // namespace

platform::Locker& ClientApiLocker() { return clientApiLocker; }
platform::Locker& InstallConfigLocker() { return installConfigLocker; }
platform::Locker& IdentityStoreLocker() { return identityStoreLocker; }

}  // namespace vexlo::env
