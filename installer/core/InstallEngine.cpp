#include "installer/core/InstallEngine.h"

#include "installer/core/InstallPaths.h"
#include "installer/core/MadeFolders.h"

#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/Resources.h"

#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {

void CreateFolders(const std::string& folder)
{
    // A folder that could not be made shows as the error of the first file written into it.
    std::error_code error;
    fs::create_directories(folder, error);
}

} // namespace

TInstallEngine::TInstallEngine(std::span<const TPayloadFile> payload, TShortcutFolders shortcutFolders)
    : m_payload(payload), m_shortcutFolders(std::move(shortcutFolders))
{
}

std::string TInstallEngine::Install(std::string_view folderText) const
{
    const std::string installDir = InstallDirFromText(folderText);
    const std::string settingsFile = JoinPath(installDir, ManagerSettingsFile);
    // The payload rewrites the settings: an earlier install's record is read first and kept.
    std::vector<std::string> made = RecordedMadeFolders(TIniFile(settingsFile));
    for (const std::string& folder : {installDir, ProgramGroupFolder(m_shortcutFolders), m_shortcutFolders.desktop}) {
        const auto missing = MissingFolders(folder);
        made.insert(made.end(), missing.begin(), missing.end());
    }
    CreateFolders(installDir);
    CreateFolders(ProgramGroupFolder(m_shortcutFolders));
    WritePayload(installDir);
    WriteShortcuts(installDir, m_shortcutFolders);
    TIniFile settings(settingsFile);
    settings.WriteString("Install", "Path", installDir);
    RecordMadeFolders(settings, made);
    settings.UpdateFile();
    return installDir;
}

void TInstallEngine::WritePayload(const std::string& installDir) const
{
    for (const TPayloadFile& file : m_payload) {
        const std::string path = JoinPath(installDir, file.target);
        CreateFolders(fs::path(path).parent_path());
        if (file.kind == TPayloadKind::Database && fs::exists(path))
            continue;
        WritePayloadFile(file, path);
    }
}

void WritePayloadFile(const TPayloadFile& file, const std::string& path)
{
    TResourceStream resource(nullptr, file.name, file.type);
    {
        TFileStream target(path, fmCreate);
        const auto bytes = resource.Memory();
        target.WriteBuffer(bytes.data(), bytes.size());
    }
    std::error_code error;
    fs::permissions(path, PayloadFileMode(file.kind), error);
}

fs::perms PayloadFileMode(TPayloadKind kind)
{
    using fs::perms;
    const perms own = perms::owner_read | perms::owner_write;
    const perms readable = own | perms::group_read | perms::others_read;
    const perms executable = perms::owner_exec | perms::group_exec | perms::others_exec;
    switch (kind) {
    case TPayloadKind::Program: return readable | executable;
    case TPayloadKind::Private: return own;
    case TPayloadKind::Data:
    case TPayloadKind::Database: break;
    }
    return readable;
}

void RemoveDriverTool(const std::string& installDir)
{
    if (installDir.empty())
        return;
    std::error_code error;
    fs::remove(JoinPath(installDir, DriverToolFile), error);
    fs::remove(JoinPath(installDir, DriverSettingsFile), error);
}
