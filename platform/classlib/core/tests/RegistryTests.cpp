#include "platform/classlib/core/Registry.h"
#include "platform/classlib/core/StringLists.h"
#include "tests/support/devices/FakeDevices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string SerialComm = "hardware\\devicemap\\serialcomm";
const std::string UsbEnum = "system\\currentcontrolset\\enum\\usb\\";
const std::string ModemAtKey = UsbEnum + "Vid_05c6&Pid_3197&MI_00\\";
const std::string ModemDataKey = UsbEnum + "Vid_05c6&Pid_3197&MI_01\\";
const std::string ThemeFile = "\\Software\\Microsoft\\Windows\\CurrentVersion";

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::vector<std::string> Items(const TStrings& strings)
{
    std::vector<std::string> items;
    for (int i = 0; i < strings.Count(); ++i)
        items.push_back(strings.Strings(i));
    return items;
}

// The manager's port discovery, written the way the programs read the registry: the modem's
// ports from the serial map ("qcusb" at characters 9 to 13), in number order, each with the
// friendly name of the AT interface instance whose PortName it is.
std::string FindNameByCom(const std::string& port)
{
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    TStringList instances;
    if (!registry.OpenKeyReadOnly(ModemAtKey))
        return {};
    registry.GetKeyNames(instances);
    for (const auto& instance : Items(instances)) {
        registry.CloseKey();
        if (registry.OpenKeyReadOnly(ModemAtKey + instance + "\\Device Parameters") && registry.ReadString("PortName") == port) {
            registry.CloseKey();
            return registry.OpenKeyReadOnly(ModemAtKey + instance) ? registry.ReadString("FriendlyName") : "";
        }
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> ModemPorts()
{
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    TStringList names;
    if (registry.OpenKeyReadOnly(SerialComm))
        registry.GetValueNames(names);
    TStringList numbers;
    numbers.SetSorted(true);
    for (const auto& name : Items(names)) {
        const auto data = Upper(registry.ReadString(name));
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.size() >= 13 && lower.substr(8, 5) == "qcusb" && data.rfind("COM", 0) == 0)
            numbers.Add((data.size() == 4 ? "0" : "") + data.substr(3));
    }
    std::vector<std::pair<std::string, std::string>> ports;
    for (const auto& number : Items(numbers)) {
        const auto port = "COM" + std::to_string(std::stoi(number));
        if (const auto friendlyName = FindNameByCom(port); !friendlyName.empty())
            ports.emplace_back(port, friendlyName);
    }
    return ports;
}

// The installer's count of data interfaces that wait for their driver.
int CountUninstalledInterfaces()
{
    int count = 0;
    for (const auto& key : {ModemAtKey, ModemDataKey}) {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        TStringList instances;
        if (!registry.OpenKeyReadOnly(key))
            continue;
        registry.GetKeyNames(instances);
        for (const auto& instance : Items(instances)) {
            registry.CloseKey();
            if (registry.OpenKeyReadOnly(key + instance) && Upper(registry.ReadString("DeviceDesc")) == "DATA INTERFACE"
                && registry.ReadString("Driver").empty())
                ++count;
        }
    }
    return count;
}

TEST(TRegistry, ProgramsFindThePluggedModemsAtPort)
{
    FakeDevices devices;
    EXPECT_TRUE(ModemPorts().empty());

    devices.AddModem("1-2", "");
    EXPECT_EQ(ModemPorts(), (std::vector<std::pair<std::string, std::string>>{{"COM3", "Qualcomm CDMA Technologies MSM (COM3)"}}));
    EXPECT_EQ(CountUninstalledInterfaces(), 1);

    devices.RemoveDevice("1-2");
    EXPECT_TRUE(ModemPorts().empty());
    EXPECT_EQ(CountUninstalledInterfaces(), 0);

    devices.AddModem("1-3", "option"); // plugged in again, now with every driver
    EXPECT_EQ(ModemPorts(), (std::vector<std::pair<std::string, std::string>>{{"COM3", "Qualcomm CDMA Technologies MSM (COM3)"}}));
    EXPECT_EQ(CountUninstalledInterfaces(), 0);
}

TEST(TRegistry, ProgramsFindAnOverlayModemOnTwoPortsInNumberOrder)
{
    FakeDevices devices;
    devices.WriteOverlay("[usb]\n"
                       "COM12=/dev/pts/2 05c6:3197:00 Modem B\n"
                       "COM4=/dev/pts/1 05c6:3197:00 Modem A\n");
    EXPECT_EQ(ModemPorts(), (std::vector<std::pair<std::string, std::string>>{{"COM4", "Modem A (COM4)"},
                                                                             {"COM12", "Modem B (COM12)"}}));
}

TEST(TRegistry, OpensOnlyForReading)
{
    FakeDevices devices;
    devices.AddModem();
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(registry.OpenKey(SerialComm, false)); // the class library's default: full access
    EXPECT_FALSE(registry.OpenKey(SerialComm, true));
    EXPECT_EQ(registry.CurrentKey(), nullptr);

    registry.SetAccess(KEY_READ);
    EXPECT_TRUE(registry.OpenKey(SerialComm, false));
    EXPECT_FALSE(registry.OpenKey("Software\\New", true));
    EXPECT_EQ(registry.CurrentPath(), SerialComm); // a failed open keeps the open key
}

TEST(TRegistry, KeyNamesResolveFromTheOpenKeyOrFromTheRoot)
{
    FakeDevices devices;
    devices.AddModem();
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);

    ASSERT_TRUE(registry.OpenKeyReadOnly(UsbEnum));
    EXPECT_EQ(registry.CurrentPath(), "system\\currentcontrolset\\enum\\usb");
    EXPECT_TRUE(registry.KeyExists("VID_05C6&PID_3197&MI_00"));
    EXPECT_FALSE(registry.KeyExists(SerialComm));
    EXPECT_TRUE(registry.KeyExists("\\" + SerialComm));

    ASSERT_TRUE(registry.OpenKeyReadOnly("Vid_05c6&Pid_3197&MI_00\\1-2\\"));
    EXPECT_EQ(registry.CurrentPath(), "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_00\\1-2");
    TStringList strings;
    registry.GetKeyNames(strings);
    EXPECT_EQ(Items(strings), std::vector<std::string>{"Device Parameters"});
    registry.GetValueNames(strings);
    EXPECT_EQ(Items(strings), (std::vector<std::string>{"DeviceDesc", "Driver", "FriendlyName"}));
    EXPECT_TRUE(registry.ValueExists("friendlyname"));
    EXPECT_FALSE(registry.ValueExists("Nothing"));
    EXPECT_EQ(registry.ReadString("Nothing"), "");

    ASSERT_TRUE(registry.OpenKeyReadOnly("\\" + SerialComm));
    EXPECT_EQ(registry.CurrentPath(), SerialComm);

    registry.SetRootKey(HKEY_CURRENT_USER); // closes the key
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    strings.Add("stale");
    registry.GetValueNames(strings);
    EXPECT_EQ(strings.Count(), 0);
    EXPECT_EQ(registry.ReadString("\\Device\\qcusbser3"), "");
}

TEST(TRegIniFile, ReadsTheThemeSchemeOrTheDefault)
{
    FakeDevices devices;
    EXPECT_EQ(TRegIniFile(ThemeFile).ReadString("ThemeManager", "ColorName", "none"), "none");

    devices.WriteOverlay("[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager]\n"
                       "ColorName=HomeStead\n");
    const TRegIniFile ini(ThemeFile);
    EXPECT_EQ(ini.ReadString("ThemeManager", "ColorName", ""), "HomeStead");
    EXPECT_EQ(ini.ReadString("ThemeManager", "DllName", "none"), "none");
    EXPECT_EQ(ini.ReadString("Missing", "ColorName", "none"), "none");
}

} // namespace
