#include "platform/winapi/devices/ComPorts.h"
#include "platform/winapi/devices/WinReg.h"
#include "tests/support/devices/FakeDevices.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* SerialComm = "hardware\\devicemap\\serialcomm";
constexpr const char* ModemAtKey = "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_00\\";
constexpr const char* ModemDataKey = "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_01";

using Values = std::vector<std::pair<std::string, std::string>>;

// A key opened read-only and closed again when the test is done with it.
class Key {
public:
    Key(HKEY root, const std::string& path) { m_status = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &m_key); }
    ~Key() { RegCloseKey(m_key); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    [[nodiscard]] bool IsOpen() const { return m_status == ERROR_SUCCESS; }
    [[nodiscard]] HKEY Handle() const { return m_key; }

    [[nodiscard]] std::optional<std::string> Read(const std::string& name) const
    {
        char data[512];
        DWORD size = sizeof data, type = REG_NONE;
        if (RegQueryValueExA(m_key, name.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(data), &size) != ERROR_SUCCESS)
            return std::nullopt;
        EXPECT_EQ(type, REG_SZ);
        return std::string(data, size - 1);
    }

    [[nodiscard]] Values AllValues() const
    {
        Values values;
        char name[256], data[256];
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = sizeof name, size = sizeof data;
            if (RegEnumValueA(m_key, index, name, &nameLength, nullptr, nullptr, reinterpret_cast<LPBYTE>(data), &size)
                != ERROR_SUCCESS)
                return values;
            values.emplace_back(std::string(name, nameLength), std::string(data, size - 1));
        }
    }

    [[nodiscard]] std::vector<std::string> SubKeys() const
    {
        std::vector<std::string> names;
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(m_key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                return names;
            names.emplace_back(name, length);
        }
    }

private:
    HKEY m_key = nullptr;
    LSTATUS m_status;
};

TEST(RegistryView, ModemInterfacesShowAsWindowsListsThem)
{
    FakeDevices devices;
    devices.AddModem();
    devices.AddDevice("1-3", "0403", "6001", {{0, "FT232R", "ftdi_sio", "ttyUSB2"}});

    // The programs pick the modem's ports by "qcusb" at characters 9 to 13 of the value name.
    const Key serialComm(HKEY_LOCAL_MACHINE, SerialComm);
    ASSERT_TRUE(serialComm.IsOpen());
    EXPECT_EQ(serialComm.AllValues(), (Values{{"\\Device\\qcusbser3", "COM3"},
                                             {"\\Device\\qcusbser4", "COM4"},
                                             {"\\Device\\ftdi_sio5", "COM5"}}));

    const Key atInterface(HKEY_LOCAL_MACHINE, ModemAtKey);
    ASSERT_TRUE(atInterface.IsOpen());
    ASSERT_EQ(atInterface.SubKeys(), std::vector<std::string>{"1-2"});
    const Key parameters(atInterface.Handle(), "1-2\\Device Parameters");
    EXPECT_EQ(parameters.Read("PortName"), "COM3");
    const Key instance(atInterface.Handle(), "1-2");
    EXPECT_EQ(instance.Read("FriendlyName"), "Qualcomm CDMA Technologies MSM (COM3)");
    EXPECT_EQ(instance.Read("DeviceDesc"), "Qualcomm CDMA Technologies MSM");
    EXPECT_EQ(instance.Read("Driver"), "option");

    EXPECT_EQ(ComPortDevicePath("com3"), "/dev/ttyUSB0");
    EXPECT_EQ(ComPortDevicePath("\\\\.\\COM4"), "/dev/ttyUSB1");
    EXPECT_EQ(ComPortDevicePath("COM6"), std::nullopt);
}

TEST(RegistryView, InterfaceWithoutDriverHasNoDriverValueAndNoPort)
{
    FakeDevices devices;
    devices.AddModem("1-2", "");

    const Key data(HKEY_LOCAL_MACHINE, std::string(ModemDataKey) + "\\1-2");
    ASSERT_TRUE(data.IsOpen());
    EXPECT_EQ(data.Read("DeviceDesc"), "Data Interface");
    EXPECT_EQ(data.Read("Driver"), std::nullopt);
    EXPECT_EQ(data.Read("FriendlyName"), std::nullopt);
    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, SerialComm).AllValues(), (Values{{"\\Device\\qcusbser3", "COM3"}}));
}

TEST(RegistryView, UnpluggedModemIsGoneAtTheNextOpen)
{
    FakeDevices devices;
    devices.AddModem();
    const Key before(HKEY_LOCAL_MACHINE, ModemAtKey);
    ASSERT_TRUE(before.IsOpen());

    devices.RemoveDevice("1-2");

    EXPECT_FALSE(Key(HKEY_LOCAL_MACHINE, ModemAtKey).IsOpen());
    EXPECT_FALSE(Key(HKEY_LOCAL_MACHINE, SerialComm).IsOpen());
    EXPECT_EQ(ComPortDevicePath("COM3"), std::nullopt);
    // A key opened before keeps answering from what it saw.
    EXPECT_EQ(before.SubKeys(), std::vector<std::string>{"1-2"});

    devices.AddModem("1-4");
    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, ModemAtKey).SubKeys(), std::vector<std::string>{"1-4"});
}

TEST(RegistryView, KeyNamesIgnoreCaseAndTrailingBackslashes)
{
    FakeDevices devices;
    devices.AddModem();
    for (const char* path : {"HARDWARE\\DEVICEMAP\\SERIALCOMM", "hardware\\devicemap\\serialcomm\\",
                             "Hardware\\DeviceMap\\SerialComm\\\\"}) {
        const Key key(HKEY_LOCAL_MACHINE, path);
        EXPECT_TRUE(key.IsOpen()) << path;
        EXPECT_EQ(key.Read("\\DEVICE\\QCUSBSER3"), "COM3") << path;
    }
    EXPECT_FALSE(Key(HKEY_LOCAL_MACHINE, "hardware\\\\devicemap\\serialcomm").IsOpen());
    EXPECT_FALSE(Key(HKEY_LOCAL_MACHINE, "hardware\\devicemap\\serialcom").IsOpen());
}

TEST(RegistryView, QueriesFollowWin32BufferRules)
{
    FakeDevices devices;
    devices.AddModem();
    const Key key(HKEY_LOCAL_MACHINE, SerialComm);

    DWORD size = 0, type = REG_NONE;
    ASSERT_EQ(RegQueryValueExA(key.Handle(), "\\Device\\qcusbser3", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u); // "COM3" and its NUL
    char small[4];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key.Handle(), "\\Device\\qcusbser3", nullptr, nullptr, reinterpret_cast<LPBYTE>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(RegQueryValueExA(key.Handle(), "missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    char name[8];
    DWORD nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(key.Handle(), 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    DWORD values = 0, maxName = 0, maxData = 0, subKeys = 7;
    ASSERT_EQ(RegQueryInfoKeyA(key.Handle(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, &maxName,
                               &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, std::string("\\Device\\qcusbser3").size());
    EXPECT_EQ(maxData, 5u);
    nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(key.Handle(), 2, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
}

TEST(RegistryView, WritesAndStaleHandlesAreRefused)
{
    FakeDevices devices;
    devices.AddModem();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SerialComm, 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SerialComm, 0, KEY_WRITE, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_ACCESS_DENIED);

    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SerialComm, 0, KEY_READ, &key), ERROR_SUCCESS);
    const BYTE data[] = "COM9";
    EXPECT_EQ(RegSetValueExA(key, "\\Device\\qcusbser9", 0, REG_SZ, data, sizeof data), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "\\Device\\qcusbser3", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(nullptr, SerialComm, 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
}

TEST(RegistryView, InstallLanguageFollowsTheLocale)
{
    FakeDevices devices;
    ScopedEnvironment environment;
    for (const auto& [locale, id] : {std::pair{"zh_CN.UTF-8", "0804"}, std::pair{"en_US.UTF-8", "0409"}}) {
        environment.Set("LC_ALL", locale);
        EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language").Read("InstallLanguage"), id);
    }
}

TEST(RegistryView, OverlayPresentsASimulatedModemLikeARealOne)
{
    FakeDevices devices;
    devices.AddModem(); // COM3 and COM4 from sysfs
    devices.WriteOverlay("; simulated modem\n"
                       "[usb]\n"
                       "COM4=/dev/pts/7 05C6:3197:00 Simulated modem\n"
                       "[ports]\n"
                       "com9=/dev/pts/9\n");

    // The overlay's modem takes COM4 from the sysfs port that had it.
    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, SerialComm).AllValues(),
              (Values{{"\\Device\\qcusbser3", "COM3"}, {"\\Device\\qcusbser4", "COM4"}}));
    const Key atInterface(HKEY_LOCAL_MACHINE, ModemAtKey);
    ASSERT_EQ(atInterface.SubKeys(), (std::vector<std::string>{"1-2", "Overlay&COM4"}));
    EXPECT_EQ(Key(atInterface.Handle(), "Overlay&COM4").Read("FriendlyName"), "Simulated modem (COM4)");
    EXPECT_EQ(Key(atInterface.Handle(), "Overlay&COM4\\Device Parameters").Read("PortName"), "COM4");
    EXPECT_EQ(ComPortDevicePath("COM4"), "/dev/pts/7");
    EXPECT_EQ(ComPortDevicePath("COM9"), "/dev/pts/9");
    EXPECT_EQ(ComPortDevicePath("COM3"), "/dev/ttyUSB0");
}

TEST(RegistryView, OverlayKeysMergeIntoTheViewAndCanRemoveKeys)
{
    FakeDevices devices;
    devices.AddModem();
    devices.WriteOverlay("[HKEY_LOCAL_MACHINE\\hardware\\devicemap\\serialcomm]\n"
                       "\\Device\\qcusbser3=COM12\n"
                       "\\Device\\Serial0=COM1\n"
                       "[-HKLM\\system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_01]\n"
                       "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager]\n"
                       "ColorName=Metallic\n");

    EXPECT_EQ(Key(HKEY_LOCAL_MACHINE, SerialComm).AllValues(), (Values{{"\\Device\\qcusbser3", "COM12"},
                                                                      {"\\Device\\qcusbser4", "COM4"},
                                                                      {"\\Device\\Serial0", "COM1"}}));
    EXPECT_FALSE(Key(HKEY_LOCAL_MACHINE, ModemDataKey).IsOpen());
    EXPECT_TRUE(Key(HKEY_LOCAL_MACHINE, ModemAtKey).IsOpen());
    EXPECT_EQ(Key(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager").Read("ColorName"),
              "Metallic");
    EXPECT_FALSE(Key(HKEY_CURRENT_USER, SerialComm).IsOpen());
}

} // namespace
