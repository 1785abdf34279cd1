#include "installer/core/Uninstaller.h"

#include "installer/core/InstallPaths.h"
#include "installer/core/MadeFolders.h"

#include "platform/classlib/core/IniFiles.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void RemoveFile(const std::string& path, std::vector<std::string>& failures)
{
    std::error_code error;
    if (!fs::remove(path, error) && error)
        failures.push_back(path);
}

// Removes `folder` when it is empty; a folder still holding something stays.
void RemoveFolderIfEmpty(const std::string& folder)
{
    std::error_code error;
    if (fs::is_directory(folder, error) && fs::is_empty(folder, error))
        fs::remove(folder, error);
}

} // namespace

std::string RecordedInstallFolder(const std::string& settingsFile)
{
    return TIniFile(settingsFile).ReadString("Install", "Path", "");
}

std::vector<std::string> RemoveInstallation(const std::string& installDir, std::span<const TPayloadFile> payload,
                                            const TShortcutFolders& folders)
{
    std::vector<std::string> made = RecordedMadeFolders(TIniFile(JoinPath(installDir, ManagerSettingsFile)));
    std::vector<std::string> failures;
    for (const TShortcut& shortcut : InstallShortcuts(installDir, folders))
        RemoveFile(shortcut.file, failures);
    const std::string group = ProgramGroupFolder(folders);
    RemoveFolderIfEmpty(group);
    RemoveFolderIfEmpty(fs::path(group).parent_path());
    for (const TPayloadFile& file : payload)
        RemoveFile(JoinPath(installDir, file.target), failures);
    RemoveFolderIfEmpty(JoinPath(installDir, DriversFolder));
    RemoveFolderIfEmpty(installDir);
    // Innermost first, so that a parent the installation made empties before it is looked at.
    std::sort(made.begin(), made.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const std::string& folder : made)
        RemoveFolderIfEmpty(folder);
    return failures;
}
