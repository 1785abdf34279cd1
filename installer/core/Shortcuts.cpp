#include "installer/core/Shortcuts.h"

#include "installer/core/InstallPaths.h"
#include "installer/core/Payload.h"

#include "platform/winapi/shell/ShellFolders.h"
#include "platform/winapi/shell/ShlObj.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

// A string value of a desktop entry escapes the backslash (and line breaks, which a path never
// holds here).
std::string EscapeValue(std::string_view value)
{
    std::string escaped;
    for (const char c : value) {
        if (c == '\\')
            escaped += "\\\\";
        else
            escaped += c;
    }
    return escaped;
}

// One argument of Exec: in double quotes, with '"', '`', '$' and '\' escaped by a backslash, and
// '%' doubled, since a single one starts a field code.
std::string QuoteExecArgument(std::string_view argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + '"';
}

std::string ShortcutFile(const std::string& folder, std::string_view name)
{
    return JoinPath(folder, std::string(name) + ".desktop");
}

bool WriteTextFile(const std::string& path, const std::string& text, std::filesystem::perms perms)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        return false;
    std::filesystem::permissions(path, perms, error);
    return true;
}

} // namespace

TShortcutFolders DefaultShortcutFolders()
{
    const int menu = ::geteuid() == 0 ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
    return {SpecialFolderPath(CSIDL_DESKTOPDIRECTORY), SpecialFolderPath(menu)};
}

std::string ProgramGroupFolder(const TShortcutFolders& folders)
{
    return JoinPath(JoinPath(folders.applications, BrandWord), ProductWord);
}

std::vector<TShortcut> InstallShortcuts(const std::string& installDir, const TShortcutFolders& folders)
{
    const std::string group = ProgramGroupFolder(folders);
    const std::string manager = JoinPath(installDir, ManagerProgramFile);
    return {
        {ShortcutFile(folders.desktop, "Modem"), "Modem", manager, TShortcutTarget::Program},
        {ShortcutFile(group, "Modem"), "Modem", manager, TShortcutTarget::Program},
        {ShortcutFile(group, "Uninstall"), "Uninstall Norra", JoinPath(installDir, UninstallProgramFile),
         TShortcutTarget::Program},
        {ShortcutFile(group, "User Manual"), "User Manual", JoinPath(installDir, UserManualFile),
         TShortcutTarget::Document},
    };
}

std::string DesktopEntryText(const TShortcut& shortcut, const std::string& workingFolder)
{
    const bool document = shortcut.kind == TShortcutTarget::Document;
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.0\n";
    text += "Name=" + EscapeValue(shortcut.name) + "\n";
    text += std::string("Comment=") +
            (document ? "How to use the Norra USB modem" : "Norra USB modem software") + "\n";
    text += "Exec=" + std::string(document ? "xdg-open " : "") + EscapeValue(QuoteExecArgument(shortcut.target)) + "\n";
    text += "Path=" + EscapeValue(workingFolder) + "\n";
    text += "Terminal=false\n";
    text += std::string("Categories=") + (document ? "Utility;Documentation;" : "Network;Dialup;") + "\n";
    return text;
}

void WriteShortcuts(const std::string& installDir, const TShortcutFolders& folders)
{
    using std::filesystem::perms;
    for (const TShortcut& shortcut : InstallShortcuts(installDir, folders)) {
        // Desktops start a launcher on the desktop only when it is executable.
        const bool onDesktop = std::filesystem::path(shortcut.file).parent_path() == folders.desktop;
        const perms mode = perms::owner_read | perms::owner_write | perms::group_read | perms::others_read |
                           (onDesktop ? perms::owner_exec | perms::group_exec | perms::others_exec : perms::none);
        WriteTextFile(shortcut.file, DesktopEntryText(shortcut, installDir), mode);
    }
}
