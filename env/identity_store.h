#pragma once
// The machine identity values sent with the update check (mid, aut, pmid, mcn), kept under
// the machine registry's "SOFTWARE\Vexlo". Nothing is held in memory: every operation goes
// to the store.
#include <cstdint>

#include "env/registry_key.h"
#include "env/system_facts.h"
#include "platform/base/text.h"

namespace vexlo::env {

class IdentityStore {
public:
    // The process-wide instance, created on first use under IdentityStoreLocker() and never
    // destroyed.
    static IdentityStore& GetInstance();

    // A store over an explicit key and fact sources (tests). Creates the key, ignoring the
    // result.
    IdentityStore(RegistryKey key, SystemFactSources sources);

    // Recomputes the machine identifier, reconciles it with the stored one and returns the
    // identifier to send. Rewrites "aut", so call it before GetAut.
    platform::WString GetMid();
    platform::WString GetAut();
    platform::WString GetPmid();
    int32_t GetMcn();

    // The identifier of this machine now (empty when its hash is 0); writes "aut" for it.
    platform::WString ComputeMachineId();
    // Writes and returns the install token of an identifier.
    platform::WString MakeAut(platform::WStringView identifier);

    // The counter value from which a changed identifier is no longer recorded.
    static constexpr int32_t kMaxMachineChanges = 5;

private:
    RegistryKey key_;
    SystemFactSources sources_;
};

}  // namespace vexlo::env
