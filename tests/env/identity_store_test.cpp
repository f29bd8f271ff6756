#include "env/identity_store.h"

#include <gtest/gtest.h>

#include "env/identity.h"
#include "platform/base/numbers.h"
#include "tests/sys/test_support.h"

namespace vexlo::env {
namespace {

using platform::WString;

// The identifiers of two adapter addresses.
constexpr char16_t kMacA[] = u"001A2B3C4D5E";
constexpr char16_t kIdA[] = u"105239541";
constexpr char16_t kMacB[] = u"00E04C680001";
constexpr char16_t kIdB[] = u"173060273";

class IdentityStoreTest : public ::testing::Test {
protected:
    testing::TempFolder folder;
    RegistryKey key{kVexloKeyPath, platform::RegistryView::k32Bit, platform::MachineRegistry(folder.Path())};
    WString adapterMac = kMacA;
    bool wmiSucceeds = false;
    std::vector<WString> wmiRows;
    std::vector<WString> guids;
    int wmiQueries = 0;

    IdentityStore MakeStore() {
        SystemFactSources sources;
        sources.firstAdapterMac = [this] { return adapterMac; };
        sources.queryMacAddresses = [this](platform::WStringView query, std::vector<WString>& out) {
            ++wmiQueries;
            EXPECT_EQ(query, WmiQueryHelper::kAdapterQuery);
            out = wmiRows;
            return wmiSucceeds;
        };
        sources.newGuidText = [this] {
            if (guids.empty()) return WString();
            WString guid = guids.front();
            guids.erase(guids.begin());
            return guid;
        };
        return IdentityStore(key, std::move(sources));
    }

    bool Has(const char16_t* name) const {
        return key.Store().QueryValue(key.View(), key.Path(), name).has_value();
    }
};

TEST_F(IdentityStoreTest, FirstRunRecordsTheIdentifier) {
    IdentityStore store = MakeStore();
    EXPECT_EQ(store.GetMid(), kIdA);
    EXPECT_EQ(key.ReadString(u"mid"), kIdA);
    EXPECT_EQ(key.ReadString(u"mcn"), u"1");
    EXPECT_TRUE(Has(u"pmid"));
    EXPECT_EQ(store.GetPmid(), u"");
    EXPECT_EQ(store.GetAut(), AutToken(kIdA));
    EXPECT_EQ(store.GetMcn(), 1);
    EXPECT_EQ(wmiQueries, 0);
}

TEST_F(IdentityStoreTest, SameHardwareOnlyRefreshesTheToken) {
    IdentityStore store = MakeStore();
    store.GetMid();
    key.WriteString(u"aut", u"stale");
    key.WriteString(u"pmid", u"kept");
    EXPECT_EQ(store.GetMid(), kIdA);
    EXPECT_EQ(store.GetAut(), AutToken(kIdA));
    EXPECT_EQ(key.ReadString(u"mcn"), u"1");
    EXPECT_EQ(key.ReadString(u"pmid"), u"kept");
}

TEST_F(IdentityStoreTest, CounterStopsRecordingChangesAtFive) {
    IdentityStore store = MakeStore();
    key.WriteString(u"mid", kIdA);
    key.WriteString(u"mcn", u"4");
    adapterMac = kMacB;
    EXPECT_EQ(store.GetMid(), kIdB);
    EXPECT_EQ(key.ReadString(u"mcn"), u"5");
    EXPECT_EQ(key.ReadString(u"pmid"), kIdA);
    EXPECT_EQ(key.ReadString(u"mid"), kIdB);

    // From now on the stored identifier is sent, while the token follows the hardware.
    adapterMac = kMacA;
    EXPECT_EQ(store.GetMid(), kIdB);
    EXPECT_EQ(key.ReadString(u"mcn"), u"5");
    EXPECT_EQ(key.ReadString(u"pmid"), kIdA);
    EXPECT_EQ(key.ReadString(u"mid"), kIdB);
    EXPECT_EQ(store.GetAut(), AutToken(kIdA));
}

TEST_F(IdentityStoreTest, CounterTextIsReadLikeStrtol) {
    struct Case {
        const char16_t* stored;
        const char16_t* written;  // nullptr: the change is not recorded
    };
    const Case cases[] = {{u"x", u"1"}, {u" 2abc", u"3"}, {u"-7", u"-6"}, {u"+5", nullptr},
                          {u"99999999999", nullptr}};
    for (const Case& c : cases) {
        IdentityStore store = MakeStore();
        key.WriteString(u"mid", kIdB);
        key.WriteString(u"mcn", c.stored);
        const WString sent = store.GetMid();
        if (c.written != nullptr) {
            EXPECT_EQ(sent, kIdA) << platform::WideToUtf8(c.stored);
            EXPECT_EQ(key.ReadString(u"mcn"), c.written) << platform::WideToUtf8(c.stored);
        } else {
            EXPECT_EQ(sent, kIdB) << platform::WideToUtf8(c.stored);
            EXPECT_EQ(key.ReadString(u"mcn"), c.stored);
        }
    }
}

TEST_F(IdentityStoreTest, GetMcnWritesZeroWhenNothingIsStored) {
    IdentityStore store = MakeStore();
    EXPECT_EQ(store.GetMcn(), 0);
    EXPECT_EQ(key.ReadString(u"mcn"), u"0");
    EXPECT_TRUE(Has(u"mcn"));
}

TEST_F(IdentityStoreTest, FallsBackToTheAdapterQueryThenToARandomGuid) {
    // No adapter: the first queried row is used.
    adapterMac = u"";
    wmiSucceeds = true;
    wmiRows = {u"00:1A:2B:3C:4D:5E", u"AA:BB:CC:DD:EE:FF"};
    EXPECT_EQ(MakeStore().ComputeMachineId(), WString(platform::AsciiToWide(std::to_string(MachineHash(u"00:1A:2B:3C:4D:5E")))));

    // An adapter text that hashes to 0 counts as none.
    adapterMac = WString(1, u'\0');
    EXPECT_EQ(MakeStore().ComputeMachineId(), WString(platform::AsciiToWide(std::to_string(MachineHash(u"00:1A:2B:3C:4D:5E")))));

    // A query without rows, or a failed one, gives a GUID.
    const WString guid = u"{8F1E2D3C-4B5A-4697-8877-665544332211}";
    for (bool succeeds : {true, false}) {
        wmiSucceeds = succeeds;
        wmiRows = succeeds ? std::vector<WString>{} : std::vector<WString>{u"ignored"};
        guids = {guid};
        EXPECT_EQ(MakeStore().ComputeMachineId(), WString(platform::AsciiToWide(std::to_string(MachineHash(guid)))));
    }

    // Without a GUID the identifier is empty and the token is the salt's.
    guids.clear();
    IdentityStore store = MakeStore();
    EXPECT_EQ(store.ComputeMachineId(), u"");
    EXPECT_EQ(store.GetAut(), AutToken(u""));
}

TEST_F(IdentityStoreTest, NewGuidOnEveryRunRaisesTheCounterToFiveThenHolds) {
    adapterMac = u"";
    wmiSucceeds = false;
    IdentityStore store = MakeStore();
    WString last;
    for (int run = 1; run <= 7; ++run) {
        guids = {u"{00000000-0000-4000-8000-00000000000" + platform::FormatIntWide(run) + u"}"};
        const WString sent = store.GetMid();
        if (run <= 5) {
            EXPECT_NE(sent, last);
            last = sent;
        } else {
            EXPECT_EQ(sent, last);
        }
        EXPECT_EQ(store.GetMcn(), std::min(run, 5));
    }
}

TEST_F(IdentityStoreTest, WithoutWriteRightsTheComputedIdentifierIsStillSent) {
    key.Create();
    key.WriteString(u"mid", kIdB);
    key.WriteString(u"aut", u"earlier");
    const std::string keyFolder = folder.Path() + "/view32/k.SOFTWARE/k.VEXLO";
    ::chmod(keyFolder.c_str(), 0555);
    const bool ok = testing::RunInChild(true, [&] {
        IdentityStore store = MakeStore();
        return store.GetMid() == kIdA && store.GetAut() == u"earlier" &&
               key.ReadString(u"mid") == kIdB && !Has(u"mcn");
    });
    ::chmod(keyFolder.c_str(), 0755);
    EXPECT_TRUE(ok);
}

TEST(IdentityStoreInstance, IsOneProcessWideObject) {
    testing::TempFolder folder;
    testing::ScopedEnv env("VEXLO_MACHINE_REGISTRY", folder.Path().c_str());
    IdentityStore* first = &IdentityStore::GetInstance();
    EXPECT_EQ(first, &IdentityStore::GetInstance());
    // The instance made the key when it was created, which may have been on another store.
    ASSERT_TRUE(RegistryKey(kVexloKeyPath).Create());
    EXPECT_EQ(first->GetMcn(), 0);  // works on the store of the environment
    EXPECT_EQ(RegistryKey(kVexloKeyPath).ReadString(u"mcn"), u"0");
}

}  // namespace
}  // namespace vexlo::env
