#pragma once

#include "platform/classlib/core/Components.h"

#include <string>

// Where a form's settings would be kept: an INI file or a registry key, under a special folder.
// Nothing in this system reads or writes settings through it; it only records the choice, so its
// stores are never opened.

enum TKvPathType { ptIniFile, ptRegistry };
enum TKvRegKey {
    hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig, hkeyDynData
};
enum TKvRegAccessKey {
    keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
    keyExecute, keyAllAccess
};
using TKvRegAccess = TSet<TKvRegAccessKey>;
enum TKvSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };

class TKvRegIniFile : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvRegIniFile(TComponent* owner) : TComponent(owner) {}

    [[nodiscard]] const std::string& Path() const { return m_path; }
    void SetPath(const std::string& path);
    [[nodiscard]] TKvPathType PathType() const { return m_pathType; }
    void SetPathType(TKvPathType pathType);
    [[nodiscard]] TKvRegKey RegKey() const { return m_regKey; }
    void SetRegKey(TKvRegKey regKey);
    [[nodiscard]] TKvRegAccess RegAccess() const { return m_regAccess; }
    void SetRegAccess(TKvRegAccess access);
    [[nodiscard]] TKvSpecialFolder SpecialFolder() const { return m_specialFolder; }
    void SetSpecialFolder(TKvSpecialFolder folder);

    // A changed location means the store would have to be opened again before its next use.
    [[nodiscard]] bool NeedsReopen() const { return m_needsReopen; }

private:
    template <class T>
    void Change(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        m_needsReopen = true;
    }

    std::string m_path;
    TKvPathType m_pathType = ptIniFile;
    TKvRegKey m_regKey = hkeyCurrentUser;
    TKvRegAccess m_regAccess{keyAllAccess};
    TKvSpecialFolder m_specialFolder = sfNone;
    bool m_needsReopen = true;
};
