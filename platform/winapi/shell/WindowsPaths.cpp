#include "platform/winapi/shell/WindowsPaths.h"
#include "platform/winapi/shell/ShlObj.h"
#include "platform/winapi/shell/ShellFolders.h"

#include <cctype>
#include <cstdlib>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string DrivesRoot()
{
    const char* configured = std::getenv("MODEM_DRIVES_ROOT");
    if (configured && *configured == '/')
        return configured;
    return SpecialFolderPath(CSIDL_APPDATA) + "/usbmodem";
}

} // namespace

std::string DriveFolder(char letter)
{
    if (!IsDriveLetter(letter))
        return "";
    return DrivesRoot() + "/drive_" + static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
}

std::string LinuxPathFromWindows(std::string_view windowsPath)
{
    std::string result;
    if (windowsPath.size() >= 2 && IsDriveLetter(windowsPath[0]) && windowsPath[1] == ':') {
        result = DriveFolder(windowsPath[0]) + "/";
        windowsPath.remove_prefix(2);
    }
    for (const char c : windowsPath) {
        if (!IsSeparator(c))
            result += c;
        else if (result.empty() || result.back() != '/')
            result += '/';
    }
    return result;
}
