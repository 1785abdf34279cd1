#include "installer/driver/DriverHelper.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class DriverHelperTest : public testing::Test {
protected:
    DriverHelperTest()
    {
        m_dir.WriteFile("sys/bus/usb/drivers/option/new_id", "");
        m_system = {(m_dir / "sys").string(), (m_dir / "rules.d").string()};
    }
    int Run(const std::vector<std::string>& arguments, const TDriverSettings& settings = {true, true, "/opt/Norra/Drivers"})
    {
        return RunDriverTool(arguments, settings, m_system, m_out, m_err);
    }
    [[nodiscard]] std::string NewId() const { return m_dir.ReadFile("sys/bus/usb/drivers/option/new_id"); }
    [[nodiscard]] bool RuleInstalled() const { return fs::exists(m_dir / "rules.d" / UdevRuleFileName); }

    TempDir m_dir;
    TDriverSystem m_system;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(DriverHelperTest, InstallsTheRuleAndHandsTheModemToTheSerialDriver)
{
    EXPECT_EQ(Run({}), DriverInstalled) << m_err.str();
    EXPECT_EQ(NewId(), "05c6 3197\n");
    EXPECT_EQ(m_dir.ReadFile("rules.d/99-norra-modem.rules"), UdevRuleText());
    EXPECT_TRUE(m_out.str().empty()); // silent
    EXPECT_EQ(Run({"--device", "05C6:3197"}), DriverInstalled);
}

TEST_F(DriverHelperTest, TheRuleMatchesTheModemAndGivesItsPortsToDialout)
{
    const std::string rule = UdevRuleText();
    EXPECT_NE(rule.find("ATTRS{idVendor}==\"05c6\", ATTRS{idProduct}==\"3197\""), std::string::npos);
    EXPECT_NE(rule.find("GROUP=\"dialout\""), std::string::npos);
    EXPECT_NE(rule.find("ENV{ID_MM_DEVICE_IGNORE}=\"1\""), std::string::npos);
    EXPECT_NE(rule.find("echo 05c6 3197 > /sys/bus/usb/drivers/option/new_id"), std::string::npos);
}

TEST_F(DriverHelperTest, RefusesAnyOtherDeviceAndUnknownArguments)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--device", "05c6:9000"}, {"--device", "1234:3197"}, {"--device"}, {"--force"}, {"05c6:3197"}}) {
        EXPECT_EQ(Run(arguments), DriverRefused);
        EXPECT_EQ(NewId(), "");
        EXPECT_FALSE(RuleInstalled());
    }
    EXPECT_NE(m_err.str().find("only"), std::string::npos);
}

TEST_F(DriverHelperTest, WithoutAutomaticInstallOnlyTheRuleIsInstalled)
{
    EXPECT_EQ(Run({}, {false, false, ""}), DriverInstalled);
    EXPECT_TRUE(RuleInstalled());
    EXPECT_EQ(NewId(), "");
    EXPECT_FALSE(m_out.str().empty());
}

TEST_F(DriverHelperTest, ADriverThatIsNotThereFails)
{
    fs::remove_all(m_dir / "sys");
    EXPECT_EQ(Run({}), DriverFailed);
    EXPECT_NE(m_err.str().find("not loaded"), std::string::npos);
}

TEST_F(DriverHelperTest, SettingsAreTheThreeTheInstallerWrites)
{
    m_dir.WriteFile("driverforge.ini", "[AutoInstall]\r\nAutomatic_Install=Y\r\nSilent_Install=n\r\n"
                                       "[Drivers]\r\nUncompressed_Driver_Location=/opt/Norra/Drivers\r\n");
    const TDriverSettings settings = ReadDriverSettings((m_dir / "driverforge.ini").string());
    EXPECT_TRUE(settings.automaticInstall);
    EXPECT_FALSE(settings.silentInstall);
    EXPECT_EQ(settings.driverLocation, "/opt/Norra/Drivers");
    const TDriverSettings shipped = ReadDriverSettings((m_dir / "missing.ini").string());
    EXPECT_FALSE(shipped.automaticInstall);
}

} // namespace
