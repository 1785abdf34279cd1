#include "installer/core/InstallEngine.h"
#include "installer/core/InstallPaths.h"
#include "installer/core/Uninstaller.h"

#include "modem/ModemSchema.h"
#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/Resources.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// A payload of small, distinct files, registered under the names the installer looks for.
constexpr unsigned char Incall[] = {'M', 'T', 'h', 'd', 1};
constexpr unsigned char Sms[] = {'M', 'T', 'h', 'd', 2};
constexpr unsigned char Exe[] = {0x7f, 'E', 'L', 'F', 0, 0xff};
constexpr unsigned char Unin[] = {0x7f, 'E', 'L', 'F', 1};
constexpr unsigned char Ini[] = "[SETTING]\r\nTEL=#777\r\nVOL=3\r\n";
constexpr unsigned char Mdb[] = "SQLite format 3";
constexpr unsigned char Doc[] = "<html>manual</html>";
constexpr unsigned char Driver[] = {0x7f, 'E', 'L', 'F', 2};
constexpr unsigned char Config[] = "[AutoInstall]\nAutomatic_Install=N\n";
constexpr unsigned char Readme[] = "<html>guide</html>";

constexpr TResourceEntry Entries[] = {
    {"WAVE", "INCALL", Incall, sizeof Incall},          {"WAVE", "SMS", Sms, sizeof Sms},
    {"RT_RCDATA", "MYEXE", Exe, sizeof Exe},            {"RT_RCDATA", "MYUNIN", Unin, sizeof Unin},
    {"RT_RCDATA", "MYINI", Ini, sizeof Ini - 1},        {"RT_RCDATA", "MYMDB", Mdb, sizeof Mdb},
    {"RT_RCDATA", "MYDOC", Doc, sizeof Doc},            {"RT_RCDATA", "DRIVER", Driver, sizeof Driver},
    {"RT_RCDATA", "CONFIG", Config, sizeof Config - 1}, {"RT_RCDATA", "README", Readme, sizeof Readme},
};
[[maybe_unused]] const bool Registered = (RegisterResources(Entries), true);

std::string Bytes(const TResourceEntry& entry)
{
    return {reinterpret_cast<const char*>(entry.Data), entry.Size};
}

unsigned Mode(const fs::path& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

class InstallEngineTest : public testing::Test {
protected:
    TShortcutFolders Folders() const
    {
        return {(m_dir / "Desktop").string(), (m_dir / "applications").string()};
    }
    std::string Install(std::span<const TPayloadFile> payload = InstallerPayload()) const
    {
        return TInstallEngine(payload, Folders()).Install((m_dir / "opt").string());
    }

    TempDir m_dir;
};

// The manager's settings hold the dial-up password: only their owner reads them.
const std::map<TPayloadKind, unsigned> ExpectedModes{{TPayloadKind::Data, 0644u},
                                                     {TPayloadKind::Program, 0755u},
                                                     {TPayloadKind::Private, 0600u},
                                                     {TPayloadKind::Database, 0644u}};

TEST_F(InstallEngineTest, WritesEveryPayloadFileByteForByteWithItsMode)
{
    const std::string installDir = Install();
    EXPECT_EQ(installDir, (m_dir / "opt/Norra").string());
    const auto payload = InstallerPayload();
    ASSERT_EQ(payload.size(), std::size(Entries));
    for (std::size_t i = 0; i < payload.size(); ++i) {
        const fs::path target = fs::path(installDir) / payload[i].target;
        SCOPED_TRACE(target.string());
        if (payload[i].target != ManagerSettingsFile) {
            EXPECT_EQ(m_dir.ReadFile(fs::relative(target, m_dir.Path()).string()), Bytes(Entries[i]));
        }
        EXPECT_EQ(Mode(target), ExpectedModes.at(payload[i].kind));
    }
    EXPECT_TRUE(fs::exists(fs::path(installDir) / "Drivers/Driver"));
    EXPECT_TRUE(fs::exists(fs::path(installDir) / ModemDatabaseFileName));
}

TEST_F(InstallEngineTest, RecordsTheFolderInTheShippedSettings)
{
    const std::string installDir = Install();
    const std::string text = m_dir.ReadFile("opt/Norra/Modem.ini");
    EXPECT_TRUE(text.starts_with(Bytes(Entries[4]))) << text;
    EXPECT_EQ(TIniFile(installDir + "/Modem.ini").ReadString("Install", "Path", ""), installDir);
    EXPECT_EQ(RecordedInstallFolder(installDir + "/Modem.ini"), installDir);
}

TEST_F(InstallEngineTest, ReinstallRestoresTheSettingsButKeepsTheUsersDatabase)
{
    const std::string installDir = Install();
    m_dir.WriteFile("opt/Norra/Modem.ini", "[SETTING]\r\nTEL=#999\r\n");
    m_dir.WriteFile("opt/Norra/USB MODEM.mdb", "the user's phonebook");
    m_dir.WriteFile("opt/Norra/Modem", "an old program");

    EXPECT_EQ(Install(), installDir);
    EXPECT_EQ(m_dir.ReadFile("opt/Norra/USB MODEM.mdb"), "the user's phonebook");
    EXPECT_EQ(m_dir.ReadFile("opt/Norra/Modem"), Bytes(Entries[2]));
    EXPECT_EQ(TIniFile(installDir + "/Modem.ini").ReadString("SETTING", "TEL", ""), "#777");
    EXPECT_EQ(TIniFile(installDir + "/Modem.ini").ReadString("Install", "Path", ""), installDir);
}

TEST_F(InstallEngineTest, MissingResourceStopsTheSequenceAndKeepsWhatWasWritten)
{
    std::vector<TPayloadFile> payload(InstallerPayload().begin(), InstallerPayload().end());
    payload[8].name = "NOSUCH";
    try {
        Install(payload);
        FAIL() << "no exception";
    } catch (const EResNotFound& error) {
        EXPECT_STREQ(error.what(), "Resource NOSUCH not found");
    }
    EXPECT_TRUE(fs::exists(m_dir / "opt/Norra/Drivers/Driver"));
    EXPECT_FALSE(fs::exists(m_dir / "opt/Norra/Drivers/Read me.html"));
    EXPECT_EQ(TIniFile((m_dir / "opt/Norra/Modem.ini").string()).ReadString("Install", "Path", ""), "");

    Install();
    EXPECT_TRUE(fs::exists(m_dir / "opt/Norra/Drivers/Read me.html"));
}

TEST_F(InstallEngineTest, AFileThatCannotBeCreatedRaises)
{
    m_dir.WriteFile("opt/Norra/Drivers", "a file where the folder belongs");
    EXPECT_THROW(Install(), EFCreateError);
    EXPECT_TRUE(fs::exists(m_dir / "opt/Norra/Modem"));
}

TEST_F(InstallEngineTest, CancelRemovesOnlyTheDriverTool)
{
    const std::string installDir = Install();
    RemoveDriverTool(installDir);
    EXPECT_FALSE(fs::exists(m_dir / "opt/Norra/Drivers/Driver"));
    EXPECT_FALSE(fs::exists(m_dir / "opt/Norra/Drivers/driverforge.ini"));
    EXPECT_TRUE(fs::exists(m_dir / "opt/Norra/Drivers/Read me.html"));
    RemoveDriverTool(installDir); // already gone: no error
    RemoveDriverTool("");
}

TEST_F(InstallEngineTest, ShortcutsRunTheirTargetsFromTheInstallFolder)
{
    const std::string installDir = Install();
    const fs::path group = m_dir / "applications/Kestra/Norra";
    EXPECT_EQ(Mode(m_dir / "Desktop/Modem.desktop"), 0755u);
    EXPECT_EQ(m_dir.ReadFile("Desktop/Modem.desktop"), m_dir.ReadFile("applications/Kestra/Norra/Modem.desktop"));
    const std::string modem = m_dir.ReadFile("Desktop/Modem.desktop");
    EXPECT_NE(modem.find("Exec=\"" + installDir + "/Modem\"\n"), std::string::npos) << modem;
    EXPECT_NE(modem.find("Path=" + installDir + "\n"), std::string::npos) << modem;
    EXPECT_NE(m_dir.ReadFile("applications/Kestra/Norra/Uninstall.desktop").find("/Uninstall\"\n"), std::string::npos);
    const std::string manual = m_dir.ReadFile("applications/Kestra/Norra/User Manual.desktop");
    EXPECT_NE(manual.find("Exec=xdg-open \"" + installDir + "/User Manual.html\"\n"), std::string::npos) << manual;

    for (const char* file : {"Modem.desktop", "Uninstall.desktop", "User Manual.desktop"}) {
        const std::string command = "desktop-file-validate '" + (group / file).string() + "' 2>&1";
        SCOPED_TRACE(command);
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
}

TEST(DesktopEntryTest, ExecQuotesEveryReservedCharacter)
{
    const TShortcut shortcut{"x.desktop", "Modem", "/o p/a\"b$c`d\\e%f/Modem", TShortcutTarget::Program};
    const std::string text = DesktopEntryText(shortcut, "/o p");
    EXPECT_NE(text.find("Exec=\"/o p/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f/Modem\"\n"), std::string::npos) << text;
}

TEST(InstallPathsTest, InstallFolderFromTheFieldAndFromBrowse)
{
    struct Case {
        std::string text;
        std::string installDir;
    };
    const Case cases[] = {
        {"/home/u/.local/opt/Norra", "/home/u/.local/opt/Norra"},
        {BrowsedFolderText("/opt"), "/opt/Norra"},
        {BrowsedFolderText("/"), "/Norra"},
        {BrowsedFolderText("/srv/norra"), "/srv/norra/Norra"},
        {BrowsedFolderText("/srv/Norra"), "/srv/Norra"},
        {BrowsedFolderText("/srv/Norra/"), "/srv/Norra"},
        {BrowsedFolderText("/srv/MyNorra"), "/srv/MyNorra/Norra"},
        {"/srv/MyNorra", "/srv/MyNorra"},
        {"/srv/apps/", "/srv/apps/Norra"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstallDirFromText(c.text), c.installDir) << c.text;
    EXPECT_TRUE(DefaultInstallFolder().ends_with(geteuid() == 0 ? "/opt/Norra" : "/.local/opt/Norra"));
}

TEST_F(InstallEngineTest, UninstallRemovesWhatWasWrittenAndKeepsTheUsersFiles)
{
    fs::create_directories(m_dir / "Desktop"); // the user's own, there before
    (void)Install();
    const std::string installDir = Install(); // installed again: the first install's record holds
    const auto failures = RemoveInstallation(installDir, InstallerPayload(), Folders());
    EXPECT_TRUE(failures.empty());
    EXPECT_FALSE(fs::exists(installDir));
    EXPECT_FALSE(fs::exists(m_dir / "Desktop/Modem.desktop"));
    // The folders the installation made go once empty; the ones that were there stay.
    EXPECT_FALSE(fs::exists(m_dir / "opt"));
    EXPECT_FALSE(fs::exists(m_dir / "applications"));
    EXPECT_TRUE(fs::exists(m_dir / "Desktop"));
    EXPECT_TRUE(fs::exists(m_dir.Path()));

    Install();
    m_dir.WriteFile("opt/Norra/notes.txt", "mine");
    RemoveInstallation(installDir, InstallerPayload(), Folders());
    EXPECT_EQ(m_dir.ReadFile("opt/Norra/notes.txt"), "mine");
    EXPECT_FALSE(fs::exists(m_dir / "opt/Norra/Modem"));
    EXPECT_FALSE(fs::exists(m_dir / "opt/Norra/Drivers"));
}

} // namespace
