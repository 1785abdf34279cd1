#include "modem/store/InstallModem.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysMath.h"
#include "platform/winapi/kernel/SystemInfo.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr int CodeXp = 4;
constexpr int CodeVista = 6;
constexpr std::uint32_t GoldenSeed = 20240501;

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Golden(const std::string& name)
{
    return ReadFile(std::filesystem::path(MODEM_SOURCE_DIR) / "modem/store/tests/golden" / name);
}

// The phonebook folders of both generations in a temporary folder.
class PhonebookFixture : public ::testing::Test {
protected:
    PhonebookFixture()
    {
        m_environment.Set("XDG_DATA_HOME", (m_dir.Path() / "user").string());
        m_environment.Set("MODEM_SYSTEM_ROOT", (m_dir.Path() / "system").string());
        SetRandSeed(GoldenSeed);
    }

    [[nodiscard]] std::filesystem::path UserPhonebook() const
    {
        return m_dir.Path() / "user/Microsoft/Network/Connections/Pbk/rasphone.pbk";
    }

    TempDir m_dir;
    ScopedEnvironment m_environment;
};

TEST_F(PhonebookFixture, EachGenerationWritesItsLayoutByteForByte)
{
    struct Case {
        int code;
        std::filesystem::path file;
        const char* golden;
    };
    const Case cases[] = {
        {CodeXp, m_dir.Path() / "system/var/lib/usbmodem/Microsoft/Network/Connections/Pbk/rasphone.pbk",
         "rasphone-nt51.pbk"},
        {CodeVista, UserPhonebook(), "rasphone-nt6.pbk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        SetRandSeed(GoldenSeed);
        EXPECT_EQ(PhonebookFileFor(c.code), c.file.string());
        InstallModemFor(c.code, "COM4", "Qualcomm CDMA Technologies MSM (COM4)");
        EXPECT_EQ(ReadFile(c.file), Golden(c.golden));
    }
}

TEST_F(PhonebookFixture, RandomPartsHaveTheirLengthsInUpperCaseHex)
{
    for (const auto& [code, uidDigits] : {std::pair{CodeXp, 8}, std::pair{CodeVista, 7}}) {
        for (int round = 0; round < 20; ++round) {
            const std::string text = PhonebookEntryText(code, "COM4", "Modem");
            const std::regex uid("\r\nDialParamsUID=([0-9A-F]*)\r\n");
            const std::regex guid("\r\nGuid=([0-9A-F]*)\r\n");
            std::smatch match;
            ASSERT_TRUE(std::regex_search(text, match, uid));
            EXPECT_EQ(match[1].length(), uidDigits);
            ASSERT_TRUE(std::regex_search(text, match, guid));
            EXPECT_EQ(match[1].length(), 32);
        }
    }
}

TEST_F(PhonebookFixture, EveryHexDigitTurnsUp)
{
    std::string digits;
    for (int i = 0; i < 50; ++i)
        digits += RandomHex(32);
    for (const char digit : std::string("0123456789ABCDEF"))
        EXPECT_NE(digits.find(digit), std::string::npos) << digit;
}

TEST_F(PhonebookFixture, AnExistingEntryIsLeftAsItIs)
{
    const std::string existing = "[Office]\r\nPort=COM1\r\n\r\n[usb modem]\r\nPort=COM9\r\nDevice=Old modem\r\n";
    m_dir.WriteFile("user/Microsoft/Network/Connections/Pbk/rasphone.pbk", existing);
    InstallModemFor(CodeVista, "COM4", "Modem");
    EXPECT_EQ(ReadFile(UserPhonebook()), existing);
}

TEST_F(PhonebookFixture, TwoOpensAppendTheEntryOnceAfterOtherEntries)
{
    const std::string other = "[Office]\r\nPort=COM1\r\n";
    m_dir.WriteFile("user/Microsoft/Network/Connections/Pbk/rasphone.pbk", other);
    InstallModemFor(CodeVista, "COM4", "Modem");
    const std::string once = ReadFile(UserPhonebook());
    InstallModemFor(CodeVista, "COM5", "Modem");
    EXPECT_EQ(ReadFile(UserPhonebook()), once);
    EXPECT_EQ(once.rfind(other, 0), 0u);
    EXPECT_EQ(once.find("[USB MODEM]"), once.rfind("[USB MODEM]"));
    EXPECT_NE(once.find("\r\nPort=COM4\r\n"), std::string::npos);
}

TEST_F(PhonebookFixture, OtherGenerationsTouchNoFile)
{
    for (const int code : {0, 1, 2, 3, 5, 7, 11}) {
        InstallModemFor(code, "COM4", "Modem");
        EXPECT_EQ(PhonebookEntryText(code, "COM4", "Modem"), "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path()));
}

TEST_F(PhonebookFixture, AFolderThatCannotBeMadeIsReported)
{
    m_dir.WriteFile("blocked", "a file where a folder should be");
    m_environment.Set("XDG_DATA_HOME", (m_dir.Path() / "blocked").string());
    try {
        InstallModemFor(CodeVista, "COM4", "Modem");
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "Cannot create " + (m_dir.Path() / "blocked/Microsoft/Network/Connections/Pbk").string());
    }
}

TEST_F(PhonebookFixture, UninstallRemovesOnlyTheEntry)
{
    const std::string other = "[Office]\r\nPort=COM1\r\n";
    m_dir.WriteFile("user/Microsoft/Network/Connections/Pbk/rasphone.pbk", other);
    InstallModemFor(CodeVista, "COM4", "Modem");
    unInstallModemFor(CodeVista);
    const std::string left = ReadFile(UserPhonebook());
    EXPECT_EQ(left.find("USB MODEM"), std::string::npos);
    EXPECT_EQ(left.rfind(other, 0), 0u);
}

TEST(VersionCodeTest, MapsEachWindowsVersion)
{
    struct Case {
        DWORD platform, major, minor;
        const char* service;
        int code;
    };
    const Case cases[] = {
        {VER_PLATFORM_WIN32s, 3, 10, "", 1},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, " B ", 7},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, "", 8},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, "A", 9},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, "", 10},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, "", 11},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 20, "", 0},
        {VER_PLATFORM_WIN32_NT, 3, 51, "", 2},
        {VER_PLATFORM_WIN32_NT, 4, 0, "", 3},
        {VER_PLATFORM_WIN32_NT, 5, 1, "Service Pack 3", 4},
        {VER_PLATFORM_WIN32_NT, 5, 0, "", 5},
        {VER_PLATFORM_WIN32_NT, 5, 2, "", 5},
        {VER_PLATFORM_WIN32_NT, 6, 1, "", 6},
        {VER_PLATFORM_WIN32_NT, 10, 0, "", 0},
        {3, 6, 1, "", 0},
    };
    for (const Case& c : cases) {
        OSVERSIONINFOA version{};
        version.dwPlatformId = c.platform;
        version.dwMajorVersion = c.major;
        version.dwMinorVersion = c.minor;
        std::strncpy(version.szCSDVersion, c.service, sizeof version.szCSDVersion - 1);
        EXPECT_EQ(VersionCode(version), c.code) << c.platform << " " << c.major << "." << c.minor;
    }
    // This platform stands in for the newer generation.
    EXPECT_EQ(GetVersion(), CodeVista);
}

} // namespace
