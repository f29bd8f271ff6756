#pragma once
// The process-wide locks that guard the double-checked creation of each lazily created
// single instance. They exist for the whole run (constant-initialised, so usable from any
// static initialiser).
#include "platform/base/locker.h"

namespace vexlo::env {

platform::Locker& ClientApiLocker();
platform::Locker& InstallConfigLocker();
platform::Locker& IdentityStoreLocker();

}  // namespace vexlo::env
