#include "installer/core/DeviceDetection.h"
#include "installer/core/SystemDeviceProbe.h"

#include "tests/support/ScopedEnvironment.h"
#include "tests/support/devices/FakeDevices.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A registry view of no real devices, made of the overlay file the test writes.
class DeviceDetectionTest : public testing::Test {
protected:
    void Overlay(const std::string& text) { m_devices.WriteOverlay(text); }

    FakeDevices m_devices;
};

TEST_F(DeviceDetectionTest, ModemPortsAreThoseOfTheModemsDriverWithADecimalNumber)
{
    Overlay("[HKEY_LOCAL_MACHINE\\hardware\\devicemap\\serialcomm]\n"
            "\\Device\\QCUSB0=COM5\n"
            "\\Device\\qcusbser1= com12 \n"
            "\\Device\\Serial0=COM1\n"
            "\\Dev\\QCUSB0=COM6\n"
            "\\Device\\QCUS=COM7\n"
            "\\Device\\QCUSB2=LPT1\n"
            "\\Device\\QCUSB3=COM\n"
            "\\Device\\QCUSB4=COM3A\n"
            "\\Device\\QCUSB5=COM-4\n");
    std::vector<std::string> ports;
    EXPECT_TRUE(FindModemPorts(ports));
    EXPECT_EQ(ports, (std::vector<std::string>{"COM5", "COM12"}));
}

TEST_F(DeviceDetectionTest, NoSerialPortMapMeansNoPort)
{
    std::vector<std::string> ports;
    EXPECT_FALSE(FindModemPorts(ports));
    EXPECT_TRUE(ports.empty());
    EXPECT_EQ(CountUninstalledInterfaces(), 0);
    EXPECT_FALSE(ModemAwaitsDriver());
}

TEST_F(DeviceDetectionTest, OnlyDataInterfacesWithoutADriverCount)
{
    const std::string mi0 = "[HKEY_LOCAL_MACHINE\\system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_00\\";
    const std::string mi1 = "[HKEY_LOCAL_MACHINE\\system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_01\\";
    Overlay(mi0 + "a]\nDeviceDesc=Data Interface\n" +              // counts
            mi0 + "b]\nDeviceDesc=DATA INTERFACE\nDriver=\n" +     // counts
            mi0 + "c]\nDeviceDesc=data interface \n" +             // no: not trimmed
            mi0 + "d]\nDeviceDesc=Modem\n" +                       // no
            mi1 + "e]\nDeviceDesc=Data Interface\nDriver=option\n" + // no: has its driver
            mi1 + "f]\nDeviceDesc=Data Interface\n");              // counts
    EXPECT_EQ(CountUninstalledInterfaces(), 3);
    EXPECT_TRUE(ModemAwaitsDriver());
    TSystemDeviceProbe probe;
    EXPECT_TRUE(probe.FindHardwareWizard("0407"));
}

TEST_F(DeviceDetectionTest, AModemWithEveryDriverAwaitsNone)
{
    Overlay("[usb]\nCOM8=/dev/pts/4 05c6:3197:00 Data Interface\n");
    EXPECT_EQ(CountUninstalledInterfaces(), 0);
    EXPECT_FALSE(ModemAwaitsDriver());
}

TEST_F(DeviceDetectionTest, TheLanguageComesFromTheLocale)
{
    ScopedEnvironment environment;
    environment.Unset("LC_ALL");
    environment.Unset("LC_MESSAGES");
    environment.Set("LANG", "zh_CN.UTF-8");
    EXPECT_EQ(GetInstallLanguage(), "0804");
    environment.Set("LANG", "en_US.UTF-8");
    EXPECT_EQ(GetInstallLanguage(), "0409");
    environment.Set("LANG", "en");
    EXPECT_EQ(GetInstallLanguage(), "0409");
    environment.Set("LANG", "de_DE.UTF-8");
    EXPECT_EQ(GetInstallLanguage(), "0407");
}

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor, const char* servicePack = "")
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwPlatformId = platform;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    std::strncpy(version.szCSDVersion, servicePack, sizeof version.szCSDVersion - 1);
    return version;
}

TEST(OSVersionCodeTest, EveryRowOfTheTable)
{
    struct Case {
        OSVERSIONINFOA version;
        int code;
    };
    const Case cases[] = {
        {Version(0, 3, 11), 1},       {Version(1, 4, 0, "  B "), 7}, {Version(1, 4, 0, "C"), 8},
        {Version(1, 4, 10, "A"), 9},  {Version(1, 4, 10), 10},       {Version(1, 4, 90), 11},
        {Version(1, 4, 3), 0},        {Version(2, 3, 51), 2},        {Version(2, 4, 0), 3},
        {Version(2, 5, 1), 4},        {Version(2, 5, 2), 5},         {Version(2, 6, 1), 6},
        {Version(2, 10, 0), 0},       {Version(3, 6, 0), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OSVersionCode(c.version), c.code)
            << c.version.dwPlatformId << " " << c.version.dwMajorVersion << "." << c.version.dwMinorVersion;
    EXPECT_EQ(LinuxVersionInfo().dwPlatformId, VER_PLATFORM_LINUX);
    EXPECT_EQ(GetOSVersionCode(), 0);
}

} // namespace
