#include "platform/winapi/shell/ShellFolders.h"
#include "platform/winapi/shell/ShlObj.h"
#include "platform/winapi/shell/XdgUserDirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

std::string WithoutTrailingSeparators(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// XDG base folders: the variable when it holds an absolute path (the XDG rules for the base
// folders say relative ones are to be ignored), else the default under home.
std::string XdgBaseFolder(const char* variable, const char* defaultUnderHome)
{
    const auto value = Environment(variable);
    return IsAbsolute(value) ? value : HomeFolder() + "/" + defaultUnderHome;
}

std::string SystemFolder(const char* pathFromRoot)
{
    const auto root = WithoutTrailingSeparators(Environment("MODEM_SYSTEM_ROOT"));
    return (root == "/" ? "" : root) + pathFromRoot;
}

std::string UserDir(const char* name, const char* defaultUnderHome)
{
    const auto configFile = XdgBaseFolder("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs";
    const auto configured = ReadXdgUserDir(configFile, name, HomeFolder());
    return configured.empty() ? HomeFolder() + "/" + defaultUnderHome : configured;
}

bool CopyPath(const std::string& path, LPSTR buffer)
{
    if (!buffer || path.empty() || path.size() >= static_cast<std::size_t>(MAX_PATH))
        return false;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}

bool CreateFolder(const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

HRESULT FolderPath(int csidl, LPSTR buffer)
{
    if (!buffer)
        return E_INVALIDARG;
    const auto path = SpecialFolderPath(csidl & ~CSIDL_FLAG_CREATE);
    if (path.empty())
        return E_INVALIDARG;
    if ((csidl & CSIDL_FLAG_CREATE) && !CreateFolder(path))
        return E_FAIL;
    return CopyPath(path, buffer) ? S_OK : E_FAIL;
}

} // namespace

struct ITEMIDLIST {
    char path[MAX_PATH];
};

std::string HomeFolder()
{
    auto home = Environment("HOME");
    if (home.empty()) {
        if (const passwd* account = getpwuid(getuid()); account && account->pw_dir)
            home = account->pw_dir;
    }
    return WithoutTrailingSeparators(home.empty() ? "/" : home);
}

std::string SpecialFolderPath(int csidl)
{
    switch (csidl) {
    case CSIDL_APPDATA:
        return WithoutTrailingSeparators(XdgBaseFolder("XDG_DATA_HOME", ".local/share"));
    case CSIDL_PROGRAMS:
        return SpecialFolderPath(CSIDL_APPDATA) + "/applications";
    case CSIDL_DESKTOPDIRECTORY:
    case CSIDL_COMMON_DESKTOPDIRECTORY:
        return UserDir("DESKTOP", "Desktop");
    case CSIDL_PERSONAL:
        return UserDir("DOCUMENTS", "Documents");
    case CSIDL_COMMON_APPDATA:
        return SystemFolder("/var/lib/usbmodem");
    case CSIDL_COMMON_PROGRAMS:
        return SystemFolder("/usr/local/share/applications");
    default:
        return "";
    }
}

BOOL SHGetSpecialFolderPathA(HWND, LPSTR pszPath, int csidl, BOOL fCreate)
{
    return FolderPath(fCreate ? csidl | CSIDL_FLAG_CREATE : csidl, pszPath) == S_OK;
}

HRESULT SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, LPSTR pszPath)
{
    return FolderPath(csidl, pszPath);
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* ppidl)
{
    if (!ppidl)
        return E_INVALIDARG;
    *ppidl = nullptr;
    // The task allocator is malloc, so that CoTaskMemFree frees what any of these calls hands out.
    auto* list = static_cast<ITEMIDLIST*>(std::malloc(sizeof(ITEMIDLIST)));
    if (!list)
        return E_FAIL;
    const auto result = FolderPath(csidl, list->path);
    if (result != S_OK) {
        std::free(list);
        return result;
    }
    *ppidl = list;
    return S_OK;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath)
{
    return pidl && CopyPath(pidl->path, pszPath);
}

void ILFree(LPITEMIDLIST pidl)
{
    std::free(pidl);
}

void CoTaskMemFree(LPVOID pv)
{
    std::free(pv);
}
