#pragma once

#include "platform/winapi/kernel/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

// The unit-version registry: library units record their version-control keywords at start-up
// and withdraw them at shut-down. All modules of a process share one registry through a marked
// page at a probed address near the top of the user address space.

// A unit's version record, held in the unit's own data.
struct TUnitVersionInfo {
    std::string RCSfile;  // "$URL: <repository path of the unit> $"
    std::string Revision; // "$Revision: <n> $"
    std::string Date;     // "$Date: <date and time> $"
    std::string LogPath;  // the library's source folder, relative
    std::string Extra;
    LPVOID Data = nullptr;
};

// One registered record. Refers to the unit's record rather than copying it: the unit removes
// its module's entries before its record goes.
class TUnitVersion {
public:
    explicit TUnitVersion(const TUnitVersionInfo& info);

    [[nodiscard]] const TUnitVersionInfo& Info() const;

private:
    const TUnitVersionInfo* m_info;
};

class TUnitVersioningModule {
public:
    explicit TUnitVersioningModule(HINSTANCE instance);

    [[nodiscard]] HINSTANCE Instance() const;
    [[nodiscard]] int Count() const;
    // Raises EListError for an index out of range.
    [[nodiscard]] const TUnitVersion& Items(int index) const;
    // Lists the record unless that very record (not an equal one) is already listed.
    void Add(const TUnitVersionInfo& info);

private:
    [[nodiscard]] bool Lists(const TUnitVersionInfo& info) const;

    HINSTANCE m_instance;
    std::vector<TUnitVersion> m_items;
};

// Something that can supply version information of modules. It hears of every module removal.
class TCustomUnitVersioningProvider {
public:
    virtual ~TCustomUnitVersioningProvider() = default;

    virtual void ModuleRemoved(HINSTANCE instance) = 0;
};

class TUnitVersioning {
public:
    TUnitVersioning();
    virtual ~TUnitVersioning();
    TUnitVersioning(const TUnitVersioning&) = delete;
    TUnitVersioning& operator=(const TUnitVersioning&) = delete;

    virtual void AddModuleVersion(HINSTANCE instance, const TUnitVersionInfo& info);
    // Deletes the last entry of that instance with its versions, then tells every provider.
    virtual void RemoveModule(HINSTANCE instance);

    [[nodiscard]] int ModuleCount() const;
    // Raises EListError for an index out of range.
    [[nodiscard]] const TUnitVersioningModule& Modules(int index) const;
    void RegisterProvider(std::unique_ptr<TCustomUnitVersioningProvider> provider);

private:
    std::vector<TUnitVersioningModule> m_modules;
    std::vector<std::unique_ptr<TCustomUnitVersioningProvider>> m_providers;
};

// One module's view of the registry: the registry in use, the payload slot of the shared block
// (or none) and whether this module made the registry. A process normally has one (ThisModule);
// further instances stand for further modules of the same process.
class UnitVersioningModuleState {
public:
    UnitVersioningModuleState() = default;
    // Releases what the module still holds, as its shut-down would.
    ~UnitVersioningModuleState();
    UnitVersioningModuleState(const UnitVersioningModuleState&) = delete;
    UnitVersioningModuleState& operator=(const UnitVersioningModuleState&) = delete;

    void AddUnitVersion(HINSTANCE instance, const TUnitVersionInfo& info);
    // Does nothing for a module that has no registry: a removal never creates one.
    void RemoveModuleVersions(HINSTANCE instance);
    // The registry of this process, made on first use; null once the module that made the
    // shared registry has shut down while this one still holds the block.
    [[nodiscard]] TUnitVersioning* GetUnitVersionRegistry();
    void ReleaseUnitVersionRegistry();

    [[nodiscard]] bool MadeRegistry() const;
    [[nodiscard]] bool SharesBlock() const;

private:
    void Attach();

    bool m_attached = false;
    TUnitVersioning* m_registry = nullptr;
    LPVOID* m_slot = nullptr;
    std::unique_ptr<TUnitVersioning> m_madeRegistry;
};

// The module of this program.
[[nodiscard]] UnitVersioningModuleState& ThisModule();

void AddUnitVersion(HINSTANCE instance, const TUnitVersionInfo& info);
void RemoveModuleVersions(HINSTANCE instance);
[[nodiscard]] TUnitVersioning* GetUnitVersionRegistry();
void ReleaseUnitVersionRegistry();

// The shared block: one page whose payload slot (offset 280, pointer-sized) holds the registry.
// Returns the slot of this process's block named name (made when there is none yet) and sets
// referenceCount to the block's count after this use; null (and 0) when no block can be placed
// or found.
[[nodiscard]] LPVOID* OpenSharedRegistryBlock(const std::string& name, DWORD& referenceCount);
// Gives up one use of the block and returns the count left; at 0 the page is released.
// A null slot gives 0.
DWORD CloseSharedRegistryBlock(LPVOID* slot);
