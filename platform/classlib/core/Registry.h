#pragma once

#include "platform/winapi/devices/WinReg.h"

#include <string>

class TStrings;

// The class library's registry object over the read-only registry of winapi/devices. Keys open
// for reading only: OpenKeyReadOnly, or OpenKey with a read-only Access; asking for write
// access or for a key to be created fails (false), as it does on a registry the user may not
// change.
//
// A key name beginning with '\' is taken from RootKey; any other from the open key when there
// is one. Names are case-insensitive and a trailing '\' is accepted.
class TRegistry {
public:
    // The class library opens with full access; on this registry that leaves OpenKey failing
    // unless a read-only access is given here or through SetAccess.
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // HKEY_CURRENT_USER until set; setting another root closes the open key.
    [[nodiscard]] HKEY RootKey() const { return m_rootKey; }
    void SetRootKey(HKEY rootKey);
    [[nodiscard]] REGSAM Access() const { return m_access; }
    void SetAccess(REGSAM access) { m_access = access; }
    // 0 when no key is open.
    [[nodiscard]] HKEY CurrentKey() const { return m_currentKey; }
    // The open key's path below RootKey, without leading or trailing '\'.
    [[nodiscard]] const std::string& CurrentPath() const { return m_currentPath; }

    // Opens `key` with Access, closing the key open before; with `canCreate` it would create a
    // missing key, which this registry refuses. False when the key stays closed.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();

    [[nodiscard]] bool KeyExists(const std::string& key) const;
    // Of the open key.
    [[nodiscard]] bool ValueExists(const std::string& name) const;
    // Both clear `strings` first; with no key open they leave it empty.
    void GetValueNames(TStrings& strings) const;
    void GetKeyNames(TStrings& strings) const;
    // The string value `name` of the open key; empty when it or the key is missing.
    [[nodiscard]] std::string ReadString(const std::string& name) const;

protected:
    // Opens `key` relative to the open key or from the root (see above); 0 on failure.
    [[nodiscard]] HKEY GetKey(const std::string& key, REGSAM access) const;
    // Makes `key` the open key, closing the one before.
    void ChangeKey(HKEY key, std::string path);

private:
    bool OpenWithAccess(const std::string& key, REGSAM access);

    HKEY m_rootKey = HKEY_CURRENT_USER;
    HKEY m_currentKey = nullptr;
    std::string m_currentPath;
    REGSAM m_access;
};

// Registry keys read like an INI file: the key `fileName` below HKEY_CURRENT_USER is the file,
// its subkeys the sections, their string values the idents. The file's key is opened read-only
// (the class library would create it; this registry cannot), so a missing file reads as empty.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(const std::string& fileName);

    [[nodiscard]] const std::string& FileName() const { return m_fileName; }

    using TRegistry::ReadString;
    // The value `ident` of the section `section`, or `defaultValue` when the file, the section or
    // the value is missing.
    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& ident,
                                         const std::string& defaultValue) const;

private:
    std::string m_fileName;
};
