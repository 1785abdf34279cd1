#include "platform/winapi/shell/ShlObj.h"
#include "platform/winapi/shell/ShellFolders.h"
#include "platform/winapi/shell/WindowsPaths.h"
#include "platform/winapi/shell/XdgUserDirs.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// A fake account: HOME in a temporary folder and no XDG variables of the real user.
class FakeHome : public ::testing::Test {
protected:
    FakeHome()
    {
        m_env.Set("HOME", Home());
        m_env.Unset("XDG_DATA_HOME");
        m_env.Unset("XDG_CONFIG_HOME");
        m_env.Unset("MODEM_SYSTEM_ROOT");
        m_env.Unset("MODEM_DRIVES_ROOT");
    }

    std::string Home() const { return (m_dir / "home").string(); }

    std::string Folder(int csidl)
    {
        char path[MAX_PATH] = "unchanged";
        if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE))
            return "failed";
        return path;
    }

    TempDir m_dir;
    ScopedEnvironment m_env;
};

TEST_F(FakeHome, FoldersFollowTheXdgDefaults)
{
    m_env.Set("MODEM_SYSTEM_ROOT", (m_dir / "root").string());
    const auto root = (m_dir / "root").string();
    EXPECT_EQ(Folder(CSIDL_APPDATA), Home() + "/.local/share");
    EXPECT_EQ(Folder(CSIDL_PROGRAMS), Home() + "/.local/share/applications");
    EXPECT_EQ(Folder(CSIDL_DESKTOPDIRECTORY), Home() + "/Desktop");
    EXPECT_EQ(Folder(CSIDL_COMMON_DESKTOPDIRECTORY), Home() + "/Desktop");
    EXPECT_EQ(Folder(CSIDL_PERSONAL), Home() + "/Documents");
    EXPECT_EQ(Folder(CSIDL_COMMON_APPDATA), root + "/var/lib/usbmodem");
    EXPECT_EQ(Folder(CSIDL_COMMON_PROGRAMS), root + "/usr/local/share/applications");
}

TEST_F(FakeHome, SystemFoldersDefaultToTheRealRoot)
{
    EXPECT_EQ(Folder(CSIDL_COMMON_APPDATA), "/var/lib/usbmodem");
    EXPECT_EQ(Folder(CSIDL_COMMON_PROGRAMS), "/usr/local/share/applications");
}

TEST_F(FakeHome, XdgVariablesWinAndRelativeOnesAreIgnored)
{
    m_env.Set("XDG_DATA_HOME", "/data/home/");
    EXPECT_EQ(Folder(CSIDL_APPDATA), "/data/home");
    EXPECT_EQ(Folder(CSIDL_PROGRAMS), "/data/home/applications");
    m_env.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(Folder(CSIDL_APPDATA), Home() + "/.local/share");
}

TEST_F(FakeHome, DesktopComesFromTheUserDirsFile)
{
    m_dir.WriteFile("home/.config/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                                   "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                                   "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n");
    EXPECT_EQ(Folder(CSIDL_DESKTOPDIRECTORY), Home() + "/Schreibtisch");
    EXPECT_EQ(Folder(CSIDL_PERSONAL), "/srv/docs");

    m_dir.WriteFile("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Elsewhere\"\n");
    m_env.Set("XDG_CONFIG_HOME", (m_dir / "config").string());
    EXPECT_EQ(Folder(CSIDL_DESKTOPDIRECTORY), Home() + "/Elsewhere");
    EXPECT_EQ(Folder(CSIDL_PERSONAL), Home() + "/Documents");
}

TEST(XdgUserDirs, LinesAreReadAsTheShellWouldSourceThem)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desk top\"", "/h/Desk top"},
        {"  XDG_DESKTOP_DIR=\"$HOME\"", "/h"},
        {"XDG_DESKTOP_DIR=\"$HOME/A\\\"B\"", "/h/A\"B"},
        {"XDG_DESKTOP_DIR=\"$HOME/first\"\nXDG_DESKTOP_DIR=\"$HOME/last\"", "/h/last"},
        {"XDG_DESKTOP_DIR=\"relative\"", ""},
        {"XDG_DESKTOP_DIR=\"$HOMEX/y\"", ""},
        {"XDG_DESKTOP_DIR=$HOME/unquoted", ""},
        {"XDG_DESKTOP_DIR=\"$HOME/unterminated", ""},
        {"#XDG_DESKTOP_DIR=\"$HOME/commented\"", ""},
        {"XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseXdgUserDir(c.text, "DESKTOP", "/h"), c.expected) << c.text;
}

TEST_F(FakeHome, CreateMakesTheFolderAndAbsentFoldersAreStillReported)
{
    const auto appData = Home() + "/.local/share";
    char path[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE));
    EXPECT_EQ(path, appData);
    EXPECT_FALSE(std::filesystem::exists(appData));

    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_TRUE(std::filesystem::is_directory(appData));
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, TRUE));
    EXPECT_TRUE(std::filesystem::is_directory(Home() + "/Desktop"));
}

TEST_F(FakeHome, UnknownFoldersAndLongPathsFailWithoutWriting)
{
    char path[MAX_PATH] = "unchanged";
    EXPECT_FALSE(SHGetSpecialFolderPathA(nullptr, path, 0x7777, FALSE));
    EXPECT_EQ(SHGetFolderPathA(nullptr, 0x7777, nullptr, 0, path), E_INVALIDARG);
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, nullptr), E_INVALIDARG);
    EXPECT_STREQ(path, "unchanged");

    // 258 characters of data home still fit with the zero; 260 do not.
    const std::string fits = "/" + std::string(MAX_PATH - 2, 'a');
    m_env.Set("XDG_DATA_HOME", fits);
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path), S_OK);
    EXPECT_EQ(path, fits);
    m_env.Set("XDG_DATA_HOME", fits + "b");
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path), E_FAIL);
    EXPECT_EQ(path, fits);
}

TEST_F(FakeHome, ItemListsCarryThePath)
{
    LPITEMIDLIST list = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &list), S_OK);
    char path[MAX_PATH] = {};
    ASSERT_TRUE(SHGetPathFromIDListA(list, path));
    EXPECT_EQ(path, Home() + "/.local/share");
    CoTaskMemFree(list);

    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0x7777, &list), E_INVALIDARG);
    EXPECT_EQ(list, nullptr);
    EXPECT_FALSE(SHGetPathFromIDListA(nullptr, path));
}

TEST_F(FakeHome, WindowsPathsBecomeLinuxPaths)
{
    struct Case {
        std::string windows;
        std::string linux;
    };
    const auto drives = Home() + "/.local/share/usbmodem";
    const Case cases[] = {
        {Home() + "/.local/share\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk",
         Home() + "/.local/share/Microsoft/Network/Connections/Pbk/rasphone.pbk"},
        {"C:\\Program Files\\Norra", drives + "/drive_c/Program Files/Norra"},
        {"d:\\Data\\", drives + "/drive_d/Data/"},
        {"C:Norra", drives + "/drive_c/Norra"},
        {"Pbk\\\\rasphone.pbk", "Pbk/rasphone.pbk"},
        {"/already//linux/", "/already/linux/"},
        {"Modem.ini", "Modem.ini"},
        {"1:\\not a drive", "1:/not a drive"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinuxPathFromWindows(c.windows), c.linux) << c.windows;

    m_env.Set("MODEM_DRIVES_ROOT", "/mnt/win");
    EXPECT_EQ(LinuxPathFromWindows("C:\\Program Files\\Norra"), "/mnt/win/drive_c/Program Files/Norra");
    EXPECT_EQ(DriveFolder('Z'), "/mnt/win/drive_z");
    EXPECT_EQ(DriveFolder('1'), "");
}

} // namespace
