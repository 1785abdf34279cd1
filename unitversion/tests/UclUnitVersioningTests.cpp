#include "unitversion/UclUnitVersioning.h"
#include "unitversion/UclUnits.h"

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/kernel/PageSpace.h"
#include "platform/winapi/kernel/Processes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The block as another module of the process would have written it.
constexpr SIZE_T ReferenceCountAt = 264;
constexpr SIZE_T PayloadAt = 280;

HINSTANCE Instance(UINT_PTR value) {
    return reinterpret_cast<HINSTANCE>(value);
}

DWORD DwordAt(const BYTE* block, SIZE_T offset) {
    DWORD value = 0;
    std::memcpy(&value, block + offset, sizeof(value));
    return value;
}

void SetDwordAt(BYTE* block, SIZE_T offset, DWORD value) {
    std::memcpy(block + offset, &value, sizeof(value));
}

LPVOID PayloadOf(const BYTE* block) {
    LPVOID payload = nullptr;
    std::memcpy(&payload, block + PayloadAt, sizeof(payload));
    return payload;
}

void WriteBlock(BYTE* block, DWORD processId, const std::string& name) {
    SetDwordAt(block, 0, processId ^ 0x23456789);
    SetDwordAt(block, 4, 0xABCDEF01);
    block[8] = static_cast<BYTE>(name.size());
    std::memcpy(block + 9, name.data(), name.size());
    SetDwordAt(block, ReferenceCountAt, 1);
    SetDwordAt(block, 272, processId ^ 0x10FEDCBA);
    SetDwordAt(block, 276, 0x98765432);
}

BYTE* ProbeAddress(const PageSpace& space, int probe) {
    const UINT_PTR top = reinterpret_cast<UINT_PTR>(space.HighestAddress()) & ~UINT_PTR{0xFFFF};
    return reinterpret_cast<BYTE*>(top - static_cast<UINT_PTR>(probe) * 0x10000);
}

class ScopedPageSpace {
public:
    explicit ScopedPageSpace(PageSpace& space) : m_previous(SetPageSpace(&space)) {}
    ~ScopedPageSpace() { SetPageSpace(m_previous); }
    ScopedPageSpace(const ScopedPageSpace&) = delete;
    ScopedPageSpace& operator=(const ScopedPageSpace&) = delete;

private:
    PageSpace* m_previous;
};

// What a registry's providers heard, and whether the registry has gone.
struct ProviderLog {
    std::vector<HINSTANCE> removed;
    bool destroyed = false;
};

class RecordingProvider final : public TCustomUnitVersioningProvider {
public:
    explicit RecordingProvider(std::shared_ptr<ProviderLog> log) : m_log(std::move(log)) {}
    ~RecordingProvider() override { m_log->destroyed = true; }
    void ModuleRemoved(HINSTANCE instance) override { m_log->removed.push_back(instance); }

private:
    std::shared_ptr<ProviderLog> m_log;
};

std::shared_ptr<ProviderLog> Watch(TUnitVersioning& registry) {
    auto log = std::make_shared<ProviderLog>();
    registry.RegisterProvider(std::make_unique<RecordingProvider>(log));
    return log;
}

TUnitVersionInfo Record(const std::string& unit) {
    return {"$URL: https://svn.example/trunk/" + unit + ".pas $", "$Revision: 7 $", "$Date: 2008-08-27 $", "lib/source", "",
            nullptr};
}

class SharedBlockTest : public ::testing::Test {
protected:
    BYTE* Probe(int probe) const { return ProbeAddress(space, probe); }

    FakePageSpace space;
    ScopedPageSpace installed{space};
    TUnitVersionInfo first = Record("First");
    TUnitVersionInfo second = Record("Second");
};

TEST_F(SharedBlockTest, FirstModuleMakesTheBlockAndFreesRegistryAndPageAtShutDown) {
    UnitVersioningModuleState module;
    module.AddUnitVersion(Instance(0x400000), first);

    BYTE* block = Probe(0);
    ASSERT_TRUE(space.IsCommitted(block));
    EXPECT_EQ(space.CommittedPageCount(), 1);
    EXPECT_EQ(DwordAt(block, 0), GetCurrentProcessId() ^ 0x23456789);
    EXPECT_EQ(DwordAt(block, 4), 0xABCDEF01);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block + 9), block[8]), "UnitVersioning");
    EXPECT_EQ(DwordAt(block, ReferenceCountAt), 1u);
    EXPECT_EQ(DwordAt(block, 272), GetCurrentProcessId() ^ 0x10FEDCBA);
    EXPECT_EQ(DwordAt(block, 276), 0x98765432);

    TUnitVersioning* registry = module.GetUnitVersionRegistry();
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(PayloadOf(block), registry);
    EXPECT_TRUE(module.MadeRegistry());
    ASSERT_EQ(registry->ModuleCount(), 1);
    EXPECT_EQ(&registry->Modules(0).Items(0).Info(), &first);

    const auto log = Watch(*registry);
    module.ReleaseUnitVersionRegistry();
    EXPECT_TRUE(log->destroyed);
    EXPECT_FALSE(space.IsCommitted(block));
}

TEST_F(SharedBlockTest, SecondModuleUsesTheMakersRegistryAndLeavesItToTheMaker) {
    UnitVersioningModuleState maker;
    UnitVersioningModuleState other;
    maker.AddUnitVersion(Instance(0x400000), first);
    other.AddUnitVersion(Instance(0x10000000), second);

    BYTE* block = Probe(0);
    EXPECT_EQ(DwordAt(block, ReferenceCountAt), 2u);
    EXPECT_EQ(space.CommittedPageCount(), 1);
    TUnitVersioning* registry = maker.GetUnitVersionRegistry();
    EXPECT_EQ(other.GetUnitVersionRegistry(), registry);
    EXPECT_FALSE(other.MadeRegistry());
    EXPECT_EQ(registry->ModuleCount(), 2);
    const auto log = Watch(*registry);

    other.RemoveModuleVersions(Instance(0x10000000));
    other.ReleaseUnitVersionRegistry();
    EXPECT_FALSE(log->destroyed);
    EXPECT_EQ(DwordAt(block, ReferenceCountAt), 1u);
    EXPECT_EQ(PayloadOf(block), registry);
    EXPECT_EQ(maker.GetUnitVersionRegistry(), registry);
    EXPECT_EQ(registry->ModuleCount(), 1);

    maker.ReleaseUnitVersionRegistry();
    EXPECT_TRUE(log->destroyed);
    EXPECT_EQ(space.CommittedPageCount(), 0);
}

TEST_F(SharedBlockTest, MakerShuttingDownFirstLeavesTheOthersWithoutARegistry) {
    UnitVersioningModuleState maker;
    UnitVersioningModuleState other;
    maker.AddUnitVersion(Instance(0x400000), first);
    other.AddUnitVersion(Instance(0x10000000), second);
    const auto log = Watch(*maker.GetUnitVersionRegistry());

    maker.ReleaseUnitVersionRegistry();
    BYTE* block = Probe(0);
    EXPECT_TRUE(log->destroyed);
    ASSERT_TRUE(space.IsCommitted(block));
    EXPECT_EQ(DwordAt(block, ReferenceCountAt), 1u);
    EXPECT_EQ(PayloadOf(block), nullptr);

    // The other module neither touches the freed registry nor opens the block a second time.
    const int attempts = space.AllocationAttempts();
    EXPECT_EQ(other.GetUnitVersionRegistry(), nullptr);
    other.AddUnitVersion(Instance(0x10000000), second);
    other.RemoveModuleVersions(Instance(0x10000000));
    EXPECT_EQ(space.AllocationAttempts(), attempts);
    EXPECT_EQ(DwordAt(block, ReferenceCountAt), 1u);

    other.ReleaseUnitVersionRegistry();
    EXPECT_EQ(space.CommittedPageCount(), 0);
}

TEST_F(SharedBlockTest, BlockLeftByAnotherModuleIsFoundFurtherAlongAndFilledIn) {
    space.FailAllocationAt(Probe(0));
    space.FailAllocationAt(Probe(1));
    BYTE* block = space.Place(Probe(2), PAGE_READWRITE);
    WriteBlock(block, GetCurrentProcessId(), "UnitVersioning");

    UnitVersioningModuleState module;
    TUnitVersioning* registry = module.GetUnitVersionRegistry();
    EXPECT_EQ(DwordAt(block, ReferenceCountAt), 2u);
    EXPECT_EQ(space.CommittedPageCount(), 1);
    // An empty slot gets a registry whatever the count says.
    EXPECT_TRUE(module.MadeRegistry());
    EXPECT_EQ(PayloadOf(block), registry);

    module.ReleaseUnitVersionRegistry();
    EXPECT_EQ(DwordAt(block, ReferenceCountAt), 1u);
    EXPECT_EQ(PayloadOf(block), nullptr);
    EXPECT_TRUE(space.IsCommitted(block));
}

TEST(SharedBlockProbingTest, BlocksThatAreNotThisProcessesRegistryAreSkippedUntouched) {
    struct Case {
        const char* what;
        DWORD processIdDelta;
        const char* name; // null: the page holds zeroes only
        SIZE_T flipAt;
        BYTE flipMask;
        DWORD protect;
    };
    const std::vector<Case> cases = {
        {"another process", 1, "UnitVersioning", 0, 0, PAGE_READWRITE},
        {"another name", 0, "UnitVersioninG", 0, 0, PAGE_READWRITE},
        {"a longer name", 0, "UnitVersioning2", 0, 0, PAGE_READWRITE},
        {"a shorter length byte", 0, "UnitVersioning", 8, 0x03, PAGE_READWRITE},
        {"a damaged owner mark", 0, "UnitVersioning", 0, 0x01, PAGE_READWRITE},
        {"a damaged leading mark", 0, "UnitVersioning", 4, 0x01, PAGE_READWRITE},
        {"a damaged trailing owner mark", 0, "UnitVersioning", 272, 0x01, PAGE_READWRITE},
        {"a damaged trailing mark", 0, "UnitVersioning", 279, 0x80, PAGE_READWRITE},
        {"a read-only page", 0, "UnitVersioning", 0, 0, PAGE_READONLY},
        {"zeroes", 0, nullptr, 0, 0, PAGE_READWRITE},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        FakePageSpace space;
        ScopedPageSpace installed(space);
        BYTE* foreign = space.Place(ProbeAddress(space, 0), test.protect);
        if (test.name != nullptr) {
            WriteBlock(foreign, GetCurrentProcessId() + test.processIdDelta, test.name);
        }
        foreign[test.flipAt] ^= test.flipMask;
        const std::vector<BYTE> before(foreign, foreign + FakePageSpace::FakePageSize);

        UnitVersioningModuleState module;
        ASSERT_NE(module.GetUnitVersionRegistry(), nullptr);
        BYTE* own = ProbeAddress(space, 1);
        EXPECT_TRUE(space.IsCommitted(own));
        EXPECT_EQ(DwordAt(own, ReferenceCountAt), 1u);
        EXPECT_TRUE(module.MadeRegistry());
        module.ReleaseUnitVersionRegistry();
        EXPECT_FALSE(space.IsCommitted(own));
        EXPECT_EQ(std::vector<BYTE>(foreign, foreign + FakePageSpace::FakePageSize), before);
    }
}

TEST(SharedBlockProbingTest, TwentyOneFailedProbesGiveEachModuleAPrivateRegistry) {
    FakePageSpace space;
    ScopedPageSpace installed(space);
    for (int probe = 0; probe < 21; ++probe) {
        space.FailAllocationAt(ProbeAddress(space, probe));
    }

    UnitVersioningModuleState module;
    UnitVersioningModuleState other;
    TUnitVersioning* registry = module.GetUnitVersionRegistry();
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(space.AllocationAttempts(), 21);
    EXPECT_FALSE(module.SharesBlock());
    EXPECT_TRUE(module.MadeRegistry());
    EXPECT_NE(other.GetUnitVersionRegistry(), registry);
    EXPECT_EQ(space.CommittedPageCount(), 0);

    const auto log = Watch(*registry);
    module.ReleaseUnitVersionRegistry();
    EXPECT_TRUE(log->destroyed);
}

TEST(SharedBlockProbingTest, MisplacedAllocationIsReleasedAndProbingGoesOn) {
    FakePageSpace space;
    ScopedPageSpace installed(space);
    space.MisplaceAllocationAt(ProbeAddress(space, 0), space.LowestAddress());

    UnitVersioningModuleState module;
    ASSERT_NE(module.GetUnitVersionRegistry(), nullptr);
    EXPECT_FALSE(space.IsCommitted(space.LowestAddress()));
    EXPECT_TRUE(space.IsCommitted(ProbeAddress(space, 1)));
    EXPECT_EQ(space.CommittedPageCount(), 1);
}

TEST(SharedBlockProbingTest, MisplacedLastProbeGivesAPrivateRegistry) {
    FakePageSpace space;
    ScopedPageSpace installed(space);
    for (int probe = 0; probe < 20; ++probe) {
        space.FailAllocationAt(ProbeAddress(space, probe));
    }
    space.MisplaceAllocationAt(ProbeAddress(space, 20), space.LowestAddress());

    UnitVersioningModuleState module;
    ASSERT_NE(module.GetUnitVersionRegistry(), nullptr);
    EXPECT_FALSE(module.SharesBlock());
    EXPECT_EQ(space.CommittedPageCount(), 0);
}

TEST(SharedBlockProbingTest, RemovingVersionsOfAModuleWithoutARegistryMakesNone) {
    FakePageSpace space;
    ScopedPageSpace installed(space);

    UnitVersioningModuleState module;
    module.RemoveModuleVersions(Instance(0x400000));
    module.ReleaseUnitVersionRegistry();
    EXPECT_EQ(space.AllocationAttempts(), 0);
    EXPECT_EQ(space.CommittedPageCount(), 0);
}

TEST(UnitVersioningTest, RecordsAreListedOncePerModuleByIdentity) {
    TUnitVersioning registry;
    const TUnitVersionInfo info = Record("Unit");
    const TUnitVersionInfo equalCopy = info;
    registry.AddModuleVersion(Instance(1), info);
    registry.AddModuleVersion(Instance(1), info);
    registry.AddModuleVersion(Instance(1), equalCopy);
    registry.AddModuleVersion(Instance(2), info);

    ASSERT_EQ(registry.ModuleCount(), 2);
    const TUnitVersioningModule& module = registry.Modules(0);
    EXPECT_EQ(module.Instance(), Instance(1));
    ASSERT_EQ(module.Count(), 2);
    EXPECT_EQ(&module.Items(0).Info(), &info);
    EXPECT_EQ(&module.Items(1).Info(), &equalCopy);
    EXPECT_EQ(registry.Modules(1).Count(), 1);
    EXPECT_THROW((void)module.Items(2), EListError);
    EXPECT_THROW((void)registry.Modules(-1), EListError);
}

TEST(UnitVersioningTest, RemoveModuleTakesOneModuleWithItsVersionsAndTellsEveryProvider) {
    TUnitVersioning registry;
    const TUnitVersionInfo info = Record("Unit");
    for (UINT_PTR instance : {1, 2, 3}) {
        registry.AddModuleVersion(Instance(instance), info);
    }
    const auto firstLog = Watch(registry);
    const auto secondLog = Watch(registry);

    registry.RemoveModule(Instance(2));
    registry.RemoveModule(Instance(9));

    ASSERT_EQ(registry.ModuleCount(), 2);
    EXPECT_EQ(registry.Modules(0).Instance(), Instance(1));
    EXPECT_EQ(registry.Modules(1).Instance(), Instance(3));
    const std::vector<HINSTANCE> told = {Instance(2), Instance(9)};
    EXPECT_EQ(firstLog->removed, told);
    EXPECT_EQ(secondLog->removed, told);
}

TEST_F(SharedBlockTest, InstallerUnitsRegisterInOrderAndLeaveNothingBehind) {
    const HINSTANCE program = Instance(0x400000);
    InitializeUclUnits(program);

    TUnitVersioning* registry = GetUnitVersionRegistry();
    ASSERT_NE(registry, nullptr);
    ASSERT_EQ(registry->ModuleCount(), 1);
    const TUnitVersioningModule& module = registry->Modules(0);
    EXPECT_EQ(module.Instance(), program);
    const std::vector<std::string> units = {"UclUnitVersioning", "UclResources", "UclBase", "UclWin32"};
    ASSERT_EQ(module.Count(), static_cast<int>(units.size()));
    for (int index = 0; index < module.Count(); ++index) {
        const TUnitVersionInfo& info = module.Items(index).Info();
        SCOPED_TRACE(info.RCSfile);
        EXPECT_TRUE(info.RCSfile.starts_with("$URL: "));
        EXPECT_TRUE(info.RCSfile.ends_with("/" + units[index] + ".pas $"));
        EXPECT_TRUE(info.Revision.starts_with("$Revision: ") && info.Revision.ends_with(" $"));
        EXPECT_TRUE(info.Date.starts_with("$Date: ") && info.Date.ends_with(" $"));
        EXPECT_FALSE(info.LogPath.empty());
        EXPECT_TRUE(info.Extra.empty());
        EXPECT_EQ(info.Data, nullptr);
    }
    const auto log = Watch(*registry);

    FinalizeUclUnits();
    // Three units withdraw the module; the first of them already took every version.
    EXPECT_EQ(log->removed, std::vector<HINSTANCE>(3, program));
    EXPECT_TRUE(log->destroyed);
    EXPECT_FALSE(ThisModule().SharesBlock());
    EXPECT_EQ(space.CommittedPageCount(), 0);
}

TEST(UclUnitsOnLinuxTest, StartUpAndShutDownWorkWhereverTheBlockLands) {
    const HINSTANCE program = Instance(0x400000);
    for (int cycle = 0; cycle < 2; ++cycle) {
        SCOPED_TRACE(cycle);
        InitializeUclUnits(program);
        TUnitVersioning* registry = GetUnitVersionRegistry();
        ASSERT_NE(registry, nullptr);
        EXPECT_TRUE(ThisModule().MadeRegistry());
        ASSERT_EQ(registry->ModuleCount(), 1);
        EXPECT_EQ(registry->Modules(0).Count(), 4);
        {
            // Another module shares the registry exactly when the block could be placed.
            UnitVersioningModuleState other;
            EXPECT_EQ(other.GetUnitVersionRegistry() == registry, ThisModule().SharesBlock());
        }
        FinalizeUclUnits();
        EXPECT_FALSE(ThisModule().SharesBlock());
        EXPECT_FALSE(ThisModule().MadeRegistry());
    }
}

} // namespace
