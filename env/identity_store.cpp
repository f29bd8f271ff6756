#include "env/identity_store.h"

#include <atomic>
#include <mutex>

#include "env/identity.h"
#include "env/lockers.h"
#include "platform/base/numbers.h"

namespace vexlo::env {
namespace {

using platform::WString;

constexpr char16_t kMid[] = u"mid";
constexpr char16_t kPmid[] = u"pmid";
constexpr char16_t kMcn[] = u"mcn";
constexpr char16_t kAut[] = u"aut";

std::atomic<IdentityStore*> instance{nullptr};

}  // namespace

IdentityStore& IdentityStore::GetInstance() {
    IdentityStore* store = instance.load(std::memory_order_acquire);
    if (store == nullptr) {
        std::lock_guard<platform::Locker> guard(IdentityStoreLocker());
        store = instance.load(std::memory_order_relaxed);
        if (store == nullptr) {
            // Lives until the process ends.
            store = new IdentityStore(RegistryKey(kVexloKeyPath), SystemFactSources::System());
            instance.store(store, std::memory_order_release);
        }
    }
    return *store;
}

IdentityStore::IdentityStore(RegistryKey key, SystemFactSources sources)
    : key_(std::move(key)), sources_(std::move(sources)) {
    key_.Create();
}

WString IdentityStore::MakeAut(platform::WStringView identifier) {
    WString aut = AutToken(identifier);
    key_.WriteString(kAut, aut);
    return aut;
}

WString IdentityStore::ComputeMachineId() {
    WString text = sources_.firstAdapterMac ? sources_.firstAdapterMac() : WString();
    uint32_t hash = text.empty() ? 0 : MachineHash(text);
    if (text.empty() || hash == 0) {
        std::vector<WString> addresses;
        const bool queried = sources_.queryMacAddresses &&
                             sources_.queryMacAddresses(WmiQueryHelper::kAdapterQuery, addresses);
        if (queried && !addresses.empty()) {
            text = addresses.front();
        } else {
            text = sources_.newGuidText ? sources_.newGuidText() : WString();
        }
        hash = MachineHash(text);
    }
    WString identifier = hash != 0 ? platform::AsciiToWide(std::to_string(hash)) : WString();
    MakeAut(identifier);
    return identifier;
}

WString IdentityStore::GetMid() {
    WString computed = ComputeMachineId();
    WString stored = key_.ReadString(kMid);
    if (computed == stored) return stored;

    const WString counter = key_.ReadString(kMcn);
    if (!counter.empty()) {
        const int32_t changes = platform::Strtol32(counter);
        if (changes >= kMaxMachineChanges) return stored;
        key_.WriteInt(kMcn, changes + 1);
    } else {
        key_.WriteString(kMcn, u"1");
    }
    key_.WriteString(kPmid, stored);
    key_.WriteString(kMid, computed);
    return computed;
}

WString IdentityStore::GetAut() { return key_.ReadString(kAut); }

WString IdentityStore::GetPmid() { return key_.ReadString(kPmid); }

int32_t IdentityStore::GetMcn() {
    const WString counter = key_.ReadString(kMcn);
    if (!counter.empty()) return platform::Strtol32(counter);
    key_.WriteString(kMcn, u"0");
    return 0;
}

}  // namespace vexlo::env
