#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/IniText.h"

#include "platform/classlib/core/StringLists.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace {

// A realistic shipped file: comments, blank lines, odd spacing, CR LF endings, a key before any
// section, a duplicate key, a quoted value and no line break at the very end.
const std::string Shipped =
    "; driver tool settings\r\n"
    "orphan=1\r\n"
    "\r\n"
    "[AutoInstall]\r\n"
    "  Automatic_Install =  N  \r\n"
    "Silent_Install=N\r\n"
    "Silent_Install=duplicate\r\n"
    "; trailing comment of the section\r\n"
    "\r\n"
    "[ Drivers ]\r\n"
    "Uncompressed_Driver_Location=\"C:\\Drivers\"\r\n"
    "Other = 'quoted'\r\n"
    "[Empty]";

std::vector<std::string> Items(const TStrings& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Strings(i));
    return items;
}

TEST(IniText, ReadsProfileStrings)
{
    const TIniText text(Shipped);
    EXPECT_EQ(text.Text(), Shipped);
    EXPECT_EQ(text.Value("autoinstall", "AUTOMATIC_INSTALL"), "N");
    EXPECT_EQ(text.Value("AutoInstall", "Silent_Install"), "N");
    EXPECT_EQ(text.Value("drivers", "uncompressed_driver_location"), "C:\\Drivers");
    EXPECT_EQ(text.Value("Drivers", "Other"), "quoted");
    EXPECT_EQ(text.Value("AutoInstall", "orphan"), std::nullopt);
    EXPECT_EQ(text.Value("AutoInstall", "; trailing comment of the section"), std::nullopt);
    EXPECT_EQ(text.Value("Missing", "x"), std::nullopt);
    EXPECT_TRUE(text.HasSection("EMPTY"));
    EXPECT_EQ(text.Sections(), (std::vector<std::string>{"AutoInstall", "Drivers", "Empty"}));
    EXPECT_EQ(text.Keys("autoinstall"), (std::vector<std::string>{"Automatic_Install", "Silent_Install"}));
}

TEST(IniText, EditsTouchOnlyTheirOwnLines)
{
    TIniText text(Shipped);
    ASSERT_TRUE(text.SetValue("AUTOINSTALL", "automatic_install", "Y"));
    ASSERT_TRUE(text.SetValue("AutoInstall", "Silent_Install", "Y"));
    ASSERT_TRUE(text.SetValue("Drivers", "Uncompressed_Driver_Location", "/opt/drivers"));
    ASSERT_TRUE(text.SetValue("AutoInstall", "New_Key", "1"));
    ASSERT_TRUE(text.SetValue("Empty", "First", "x"));
    ASSERT_TRUE(text.SetValue("Install", "Path", "/home/u/Modem"));
    EXPECT_EQ(text.Text(),
              "; driver tool settings\r\n"
              "orphan=1\r\n"
              "\r\n"
              "[AutoInstall]\r\n"
              "  Automatic_Install =  Y\r\n"
              "Silent_Install=Y\r\n"
              "Silent_Install=duplicate\r\n"
              "New_Key=1\r\n"
              "; trailing comment of the section\r\n"
              "\r\n"
              "[ Drivers ]\r\n"
              "Uncompressed_Driver_Location=/opt/drivers\r\n"
              "Other = 'quoted'\r\n"
              "[Empty]\r\n"
              "First=x\r\n"
              "[Install]\r\n"
              "Path=/home/u/Modem");
}

TEST(IniText, NewLinesFollowTheFilesLineEnding)
{
    TIniText unix("[A]\nk=1\n");
    ASSERT_TRUE(unix.SetValue("A", "j", "2"));
    ASSERT_TRUE(unix.SetValue("B", "k", "3"));
    EXPECT_EQ(unix.Text(), "[A]\nk=1\nj=2\n[B]\nk=3\n");

    TIniText empty;
    ASSERT_TRUE(empty.SetValue("SETTING", "USERNAME", "plum"));
    EXPECT_EQ(empty.Text(), "[SETTING]\r\nUSERNAME=plum\r\n");
}

TEST(IniText, DeleteAndErase)
{
    TIniText text(Shipped);
    EXPECT_TRUE(text.DeleteKey("autoinstall", "silent_install"));
    EXPECT_FALSE(text.DeleteKey("autoinstall", "silent_install"));
    EXPECT_EQ(text.Value("AutoInstall", "Silent_Install"), std::nullopt);
    EXPECT_TRUE(text.EraseSection("drivers"));
    EXPECT_FALSE(text.HasSection("Drivers"));
    EXPECT_EQ(text.Text(),
              "; driver tool settings\r\n"
              "orphan=1\r\n"
              "\r\n"
              "[AutoInstall]\r\n"
              "  Automatic_Install =  N  \r\n"
              "; trailing comment of the section\r\n"
              "\r\n"
              "[Empty]");
    // Removing the last line keeps the file without a final line break.
    EXPECT_TRUE(text.EraseSection("Empty"));
    EXPECT_EQ(text.Text().substr(text.Text().size() - 9), "section\r\n");
    TIniText noBreak("[A]\r\nx=1\r\ny=2");
    EXPECT_TRUE(noBreak.DeleteKey("A", "y"));
    EXPECT_EQ(noBreak.Text(), "[A]\r\nx=1");
}

TEST(IniText, ARepeatedSectionReadsAsOne)
{
    TIniText text("[S]\na=1\n[T]\nb=2\n[s]\nb=3\na=9\n");
    EXPECT_EQ(text.Value("S", "a"), "1");
    EXPECT_EQ(text.Value("S", "b"), "3");
    EXPECT_EQ(text.Keys("S"), (std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(text.SetValue("S", "c", "4"));
    EXPECT_EQ(text.Text(), "[S]\na=1\nc=4\n[T]\nb=2\n[s]\nb=3\na=9\n");
    EXPECT_TRUE(text.EraseSection("S"));
    EXPECT_EQ(text.Text(), "[T]\nb=2\n");
}

TEST(IniText, BlanksAroundRequestedNamesAreIgnored)
{
    TIniText text("[A]\nk=1\n");
    EXPECT_EQ(text.Value(" a ", " K "), "1");
    ASSERT_TRUE(text.SetValue("6 co", "m6 ", "value"));
    EXPECT_EQ(text.Value("6 co", "m6 "), "value");
    EXPECT_EQ(text.Text(), "[A]\nk=1\n[6 co]\nm6=value\n");
}

TEST(IniText, RefusesWhatCouldNotBeReadBack)
{
    TIniText text("[A]\nk=1\n");
    EXPECT_FALSE(text.SetValue("A", "k", "two\r\n[B]"));
    EXPECT_FALSE(text.SetValue("A]", "k", "v"));
    EXPECT_FALSE(text.SetValue("A", "k=", "v"));
    EXPECT_FALSE(text.SetValue("A", ";k", "v"));
    EXPECT_FALSE(text.SetValue("", "k", "v"));
    EXPECT_FALSE(text.SetValue("A", " ", "v"));
    EXPECT_EQ(text.Text(), "[A]\nk=1\n");
}

class IniFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
};

TEST_F(IniFileTest, RoundTripKeepsUnrelatedLinesByteForByte)
{
    m_dir.WriteFile("driverforge.ini", Shipped);
    TIniFile ini(Path("driverforge.ini"));
    ini.WriteString("AutoInstall", "Automatic_Install", "Y");
    ini.WriteString("AutoInstall", "Silent_Install", "Y");
    ini.WriteString("Drivers", "Uncompressed_Driver_Location", "C:\\Drivers");
    ini.UpdateFile();
    std::string expected = Shipped;
    expected.replace(expected.find("=  N  "), 6, "=  Y");
    expected.replace(expected.find("Silent_Install=N"), 16, "Silent_Install=Y");
    expected.replace(expected.find("\"C:\\Drivers\""), 12, "C:\\Drivers");
    EXPECT_EQ(m_dir.ReadFile("driverforge.ini"), expected);
    EXPECT_EQ(ini.ReadString("autoinstall", "silent_install", "N"), "Y");
}

TEST_F(IniFileTest, MissingFileReadsEmptyAndIsCreatedOnFirstWrite)
{
    TIniFile ini(Path("Modem.ini"));
    EXPECT_EQ(ini.ReadString("SETTING", "USERNAME", "plum"), "plum");
    EXPECT_FALSE(ini.SectionExists("SETTING"));
    ini.DeleteKey("Handle", "HWND");
    ini.EraseSection("Handle");
    EXPECT_FALSE(std::filesystem::exists(Path("Modem.ini")));

    ini.WriteString("SETTING", "USERNAME", "plum");
    ini.WriteInteger("SETTING", "VOL", 3);
    EXPECT_EQ(m_dir.ReadFile("Modem.ini"), "[SETTING]\r\nUSERNAME=plum\r\nVOL=3\r\n");
    EXPECT_EQ(ini.ReadInteger("setting", "vol", 0), 3);
}

TEST_F(IniFileTest, SectionsKeysAndValuesIntoLists)
{
    m_dir.WriteFile("a.ini", "[Handle]\nHWND=123\n[SETTING]\nTEL = #777\nAPN=\nVOL=0x10\nBAD=12a\n");
    TIniFile ini(Path("a.ini"));
    TStringList list;
    list.Add("stale");
    ini.ReadSections(list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Handle", "SETTING"}));
    ini.ReadSection("setting", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"TEL", "APN", "VOL", "BAD"}));
    ini.ReadSectionValues("SETTING", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"TEL=#777", "APN=", "VOL=0x10", "BAD=12a"}));
    EXPECT_TRUE(ini.ValueExists("setting", "apn"));
    EXPECT_FALSE(ini.ValueExists("setting", "user"));
    EXPECT_EQ(ini.ReadString("SETTING", "APN", "default"), "");
    EXPECT_EQ(ini.ReadInteger("SETTING", "VOL", -1), 16);
    EXPECT_EQ(ini.ReadInteger("SETTING", "BAD", -1), -1);

    ASSERT_TRUE(ini.SectionExists("handle"));
    ini.DeleteKey("handle", "hwnd");
    EXPECT_EQ(m_dir.ReadFile("a.ini"), "[Handle]\n[SETTING]\nTEL = #777\nAPN=\nVOL=0x10\nBAD=12a\n");
    ini.EraseSection("HANDLE");
    EXPECT_FALSE(ini.SectionExists("Handle"));
}

TEST_F(IniFileTest, WriteFailuresRaiseAndLeaveTheFileAlone)
{
    TIniFile inMissingFolder(Path("no/such/folder.ini"));
    try {
        inMissingFolder.WriteString("S", "k", "v");
        FAIL() << "wrote into a missing folder";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(error.Message(), "Unable to write to " + Path("no/such/folder.ini"));
    }

    m_dir.WriteFile("keep.ini", "[S]\nk=1\n");
    TIniFile ini(Path("keep.ini"));
    EXPECT_THROW(ini.WriteString("S", "k", "a\nb"), EIniFileException);
    EXPECT_EQ(m_dir.ReadFile("keep.ini"), "[S]\nk=1\n");

    // A folder standing where the file should be reads as empty and is never replaced.
    std::filesystem::create_directory(m_dir / "folder.ini");
    TIniFile folder(Path("folder.ini"));
    EXPECT_EQ(folder.ReadString("S", "k", "d"), "d");
    EXPECT_THROW(folder.WriteString("S", "k", "v"), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "folder.ini"));
}

TEST_F(IniFileTest, RewriteKeepsPermissionsAndLinks)
{
    m_dir.WriteFile("real.ini", "[S]\nk=1\n");
    ::chmod(Path("real.ini").c_str(), 0600);
    std::filesystem::create_symlink(m_dir / "real.ini", m_dir / "link.ini");
    TIniFile ini(Path("link.ini"));
    ini.WriteString("S", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "link.ini"));
    EXPECT_EQ(m_dir.ReadFile("real.ini"), "[S]\nk=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(Path("real.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 2);
}

} // namespace
