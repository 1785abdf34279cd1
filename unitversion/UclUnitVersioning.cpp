#include "unitversion/UclUnitVersioning.h"

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/kernel/PageSpace.h"
#include "platform/winapi/kernel/Processes.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

static_assert(std::endian::native == std::endian::little, "the shared block's dwords are little-endian");

const std::string RegistryBlockName = "UnitVersioning";

// The shared block, in bytes from the page start.
constexpr SIZE_T OwnerMarkOffset = 0; // process id XOR OwnerKey
constexpr SIZE_T SignatureOffset = 4;
constexpr SIZE_T NameOffset = 8; // a length byte, then the characters
constexpr SIZE_T NameCapacity = 255;
constexpr SIZE_T ReferenceCountOffset = 264;
constexpr SIZE_T TrailerOwnerMarkOffset = 272; // process id XOR TrailerOwnerKey
constexpr SIZE_T TrailerSignatureOffset = 276;
// The payload slot holds the registry's address, so it is pointer-sized: 8 bytes here.
constexpr SIZE_T PayloadOffset = 280;
constexpr SIZE_T BlockSize = PayloadOffset + sizeof(LPVOID);

constexpr DWORD OwnerKey = 0x23456789;
constexpr DWORD Signature = 0xABCDEF01;
constexpr DWORD TrailerOwnerKey = 0x10FEDCBA;
constexpr DWORD TrailerSignature = 0x98765432;

constexpr int ProbeCount = 21;
constexpr UINT_PTR ProbeSpacing = 0x10000;

DWORD ReadDword(const BYTE* block, SIZE_T offset) {
    DWORD value = 0;
    std::memcpy(&value, block + offset, sizeof(value));
    return value;
}

void WriteDword(BYTE* block, SIZE_T offset, DWORD value) {
    std::memcpy(block + offset, &value, sizeof(value));
}

LPVOID* PayloadSlot(BYTE* block) {
    return reinterpret_cast<LPVOID*>(block + PayloadOffset);
}

BYTE* BlockOf(LPVOID* slot) {
    return reinterpret_cast<BYTE*>(slot) - PayloadOffset;
}

// A block name is a length-prefixed string, so longer names are cut as such a string cuts them.
std::string BlockName(const std::string& name) {
    return name.substr(0, NameCapacity);
}

bool CarriesMarks(const BYTE* block, DWORD processId, const std::string& name) {
    return ReadDword(block, SignatureOffset) == Signature && ReadDword(block, OwnerMarkOffset) == (processId ^ OwnerKey) &&
           ReadDword(block, TrailerSignatureOffset) == TrailerSignature &&
           ReadDword(block, TrailerOwnerMarkOffset) == (processId ^ TrailerOwnerKey) && block[NameOffset] == name.size() &&
           std::memcmp(block + NameOffset + 1, name.data(), name.size()) == 0;
}

void StampNewBlock(BYTE* block, DWORD processId, const std::string& name) {
    WriteDword(block, OwnerMarkOffset, processId ^ OwnerKey);
    WriteDword(block, SignatureOffset, Signature);
    block[NameOffset] = static_cast<BYTE>(name.size());
    std::memcpy(block + NameOffset + 1, name.data(), name.size());
    WriteDword(block, ReferenceCountOffset, 1);
    WriteDword(block, TrailerOwnerMarkOffset, processId ^ TrailerOwnerKey);
    WriteDword(block, TrailerSignatureOffset, TrailerSignature);
}

// Only memory that the page space vouches for as committed, read-write and large enough for the
// whole block, payload slot included, is read at all.
bool HoldsOurBlock(BYTE* address, DWORD processId, const std::string& name) {
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(address, &info, sizeof(info)) == 0) {
        return false;
    }
    return info.State == MEM_COMMIT && info.Protect == PAGE_READWRITE && info.RegionSize >= BlockSize &&
           CarriesMarks(address, processId, name);
}

} // namespace

LPVOID* OpenSharedRegistryBlock(const std::string& name, DWORD& referenceCount) {
    referenceCount = 0;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const UINT_PTR pageSize = system.dwPageSize;
    const UINT_PTR top = reinterpret_cast<UINT_PTR>(system.lpMaximumApplicationAddress) & ~(ProbeSpacing - 1);
    const DWORD processId = GetCurrentProcessId();
    const std::string blockName = BlockName(name);
    for (UINT_PTR probe = 0; probe < ProbeCount && probe * ProbeSpacing <= top; ++probe) {
        BYTE* address = reinterpret_cast<BYTE*>((top - probe * ProbeSpacing) / pageSize * pageSize);
        BYTE* placed = static_cast<BYTE*>(VirtualAlloc(address, pageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (placed == address) {
            StampNewBlock(address, processId, blockName);
            referenceCount = 1;
            return PayloadSlot(address);
        }
        if (placed != nullptr) {
            VirtualFree(placed, 0, MEM_RELEASE);
        } else if (HoldsOurBlock(address, processId, blockName)) {
            referenceCount = ReadDword(address, ReferenceCountOffset) + 1;
            WriteDword(address, ReferenceCountOffset, referenceCount);
            return PayloadSlot(address);
        }
    }
    return nullptr;
}

DWORD CloseSharedRegistryBlock(LPVOID* slot) {
    if (slot == nullptr) {
        return 0;
    }
    BYTE* block = BlockOf(slot);
    const DWORD count = ReadDword(block, ReferenceCountOffset);
    const DWORD remaining = count > 0 ? count - 1 : 0;
    if (remaining == 0) {
        VirtualFree(block, 0, MEM_RELEASE);
    } else {
        WriteDword(block, ReferenceCountOffset, remaining);
    }
    return remaining;
}

TUnitVersion::TUnitVersion(const TUnitVersionInfo& info) : m_info(&info) {}

const TUnitVersionInfo& TUnitVersion::Info() const {
    return *m_info;
}

namespace {

[[noreturn]] void RaiseListIndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

template <typename Item>
const Item& ItemAt(const std::vector<Item>& items, int index) {
    if (index < 0 || static_cast<SIZE_T>(index) >= items.size()) {
        RaiseListIndexError(index);
    }
    return items[static_cast<SIZE_T>(index)];
}

} // namespace

TUnitVersioningModule::TUnitVersioningModule(HINSTANCE instance) : m_instance(instance) {}

HINSTANCE TUnitVersioningModule::Instance() const {
    return m_instance;
}

int TUnitVersioningModule::Count() const {
    return static_cast<int>(m_items.size());
}

const TUnitVersion& TUnitVersioningModule::Items(int index) const {
    return ItemAt(m_items, index);
}

void TUnitVersioningModule::Add(const TUnitVersionInfo& info) {
    if (!Lists(info)) {
        m_items.emplace_back(info);
    }
}

bool TUnitVersioningModule::Lists(const TUnitVersionInfo& info) const {
    return std::any_of(m_items.begin(), m_items.end(), [&](const TUnitVersion& item) { return &item.Info() == &info; });
}

TUnitVersioning::TUnitVersioning() = default;

TUnitVersioning::~TUnitVersioning() = default;

void TUnitVersioning::AddModuleVersion(HINSTANCE instance, const TUnitVersionInfo& info) {
    const auto module = std::find_if(m_modules.begin(), m_modules.end(),
                                     [&](const TUnitVersioningModule& entry) { return entry.Instance() == instance; });
    if (module != m_modules.end()) {
        module->Add(info);
        return;
    }
    m_modules.emplace_back(instance).Add(info);
}

void TUnitVersioning::RemoveModule(HINSTANCE instance) {
    const auto last = std::find_if(m_modules.rbegin(), m_modules.rend(),
                                   [&](const TUnitVersioningModule& entry) { return entry.Instance() == instance; });
    if (last != m_modules.rend()) {
        m_modules.erase(std::next(last).base());
    }
    for (const auto& provider : m_providers) {
        provider->ModuleRemoved(instance);
    }
}

int TUnitVersioning::ModuleCount() const {
    return static_cast<int>(m_modules.size());
}

const TUnitVersioningModule& TUnitVersioning::Modules(int index) const {
    return ItemAt(m_modules, index);
}

void TUnitVersioning::RegisterProvider(std::unique_ptr<TCustomUnitVersioningProvider> provider) {
    if (provider != nullptr) {
        m_providers.push_back(std::move(provider));
    }
}

UnitVersioningModuleState::~UnitVersioningModuleState() {
    ReleaseUnitVersionRegistry();
}

void UnitVersioningModuleState::AddUnitVersion(HINSTANCE instance, const TUnitVersionInfo& info) {
    if (TUnitVersioning* registry = GetUnitVersionRegistry()) {
        registry->AddModuleVersion(instance, info);
    }
}

void UnitVersioningModuleState::RemoveModuleVersions(HINSTANCE instance) {
    if (!m_attached) {
        return;
    }
    if (TUnitVersioning* registry = GetUnitVersionRegistry()) {
        registry->RemoveModule(instance);
    }
}

TUnitVersioning* UnitVersioningModuleState::GetUnitVersionRegistry() {
    if (!m_attached) {
        Attach();
    } else if (m_slot != nullptr) {
        // Another module may have replaced the registry, or cleared the slot on shutting down.
        m_registry = static_cast<TUnitVersioning*>(*m_slot);
    }
    return m_registry;
}

// Attaching happens once per module, whatever becomes of the registry later: opening the block
// again would count this module twice, and the block would then never be released.
void UnitVersioningModuleState::Attach() {
    m_attached = true;
    DWORD referenceCount = 0;
    m_slot = OpenSharedRegistryBlock(RegistryBlockName, referenceCount);
    if (m_slot != nullptr && *m_slot != nullptr && referenceCount != 1) {
        m_registry = static_cast<TUnitVersioning*>(*m_slot);
        return;
    }
    m_madeRegistry = std::make_unique<TUnitVersioning>();
    m_registry = m_madeRegistry.get();
    if (m_slot != nullptr) {
        *m_slot = m_registry;
    }
}

// Releasing cannot fail: the page calls report by result and destructors do not raise.
void UnitVersioningModuleState::ReleaseUnitVersionRegistry() {
    if (!m_attached) {
        return;
    }
    const DWORD remaining = CloseSharedRegistryBlock(m_slot);
    if (m_madeRegistry != nullptr && remaining > 0 && *m_slot == m_madeRegistry.get()) {
        *m_slot = nullptr;
    }
    m_madeRegistry.reset();
    m_registry = nullptr;
    m_slot = nullptr;
    m_attached = false;
}

bool UnitVersioningModuleState::MadeRegistry() const {
    return m_madeRegistry != nullptr;
}

bool UnitVersioningModuleState::SharesBlock() const {
    return m_slot != nullptr;
}

UnitVersioningModuleState& ThisModule() {
    static UnitVersioningModuleState module;
    return module;
}

void AddUnitVersion(HINSTANCE instance, const TUnitVersionInfo& info) {
    ThisModule().AddUnitVersion(instance, info);
}

void RemoveModuleVersions(HINSTANCE instance) {
    ThisModule().RemoveModuleVersions(instance);
}

TUnitVersioning* GetUnitVersionRegistry() {
    return ThisModule().GetUnitVersionRegistry();
}

void ReleaseUnitVersionRegistry() {
    ThisModule().ReleaseUnitVersionRegistry();
}
