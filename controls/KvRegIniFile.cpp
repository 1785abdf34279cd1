#include "controls/KvRegIniFile.h"

namespace {

const TTypeInfo& PathTypeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvPathType", {"ptIniFile", "ptRegistry"});
    return info;
}

const TTypeInfo& RegKeyTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TKvRegKey", {"hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers", "hkeyPerformanceData",
                      "hkeyCurrentConfig", "hkeyDynData"});
    return info;
}

const TTypeInfo& RegAccessTypeInfo()
{
    static const TTypeInfo member = EnumerationTypeInfo(
        "TKvRegAccessKey", {"keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys", "keyNotify",
                            "keyCreateLink", "keyRead", "keyWrite", "keyExecute", "keyAllAccess"});
    static const TTypeInfo info = SetTypeInfo("TKvRegAccess", member);
    return info;
}

const TTypeInfo& SpecialFolderTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TKvSpecialFolder",
        {"sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal", "sfUserDocuments", "sfProgramData"});
    return info;
}

void DescribeRegIniFile(TClassBuilder& c)
{
    c.String("Path", &TKvRegIniFile::Path, &TKvRegIniFile::SetPath);
    c.Enum("PathType", PathTypeTypeInfo(), &TKvRegIniFile::PathType, &TKvRegIniFile::SetPathType).Default(ptIniFile);
    c.Enum("RegKey", RegKeyTypeInfo(), &TKvRegIniFile::RegKey, &TKvRegIniFile::SetRegKey).Default(hkeyCurrentUser);
    c.Set("RegAccess", RegAccessTypeInfo(), &TKvRegIniFile::RegAccess, &TKvRegIniFile::SetRegAccess)
        .Default(TKvRegAccess{keyAllAccess});
    c.Enum("SpecialFolder", SpecialFolderTypeInfo(), &TKvRegIniFile::SpecialFolder, &TKvRegIniFile::SetSpecialFolder)
        .Default(sfNone);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvRegIniFile, TComponent, ComponentCreator<TKvRegIniFile>, DescribeRegIniFile)

void TKvRegIniFile::SetPath(const std::string& path) { Change(m_path, path); }
void TKvRegIniFile::SetPathType(TKvPathType pathType) { Change(m_pathType, pathType); }
void TKvRegIniFile::SetRegKey(TKvRegKey regKey) { Change(m_regKey, regKey); }
void TKvRegIniFile::SetRegAccess(TKvRegAccess access) { Change(m_regAccess, access); }
void TKvRegIniFile::SetSpecialFolder(TKvSpecialFolder folder) { Change(m_specialFolder, folder); }
