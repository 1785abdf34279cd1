#pragma once

#include "platform/winapi/devices/DeviceSources.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A sysfs tree in a temporary folder, laid out as the kernel lays out USB devices, and made the
// device view's sysfs root for the fixture's lifetime. Also points the overlay at a file of its
// own, which stays absent until WriteOverlay.
class FakeSysfs {
public:
    struct Interface {
        int number = 0;
        std::string description; // the interface string; empty: none
        std::string driver;      // empty: no driver bound
        std::string tty;         // "ttyUSB0", "ttyACM1" or empty
    };

    FakeSysfs()
    {
        SetSysfsRoot(m_dir.Path().string());
        SetDeviceOverlayPath((m_dir / "overlay.ini").string());
        std::filesystem::create_directories(m_dir / "bus/usb/devices");
    }

    ~FakeSysfs()
    {
        SetSysfsRoot("");
        SetDeviceOverlayPath("");
    }

    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    // A device on bus port `name` ("1-2"), with bus/usb/devices links as the kernel makes them.
    void AddDevice(const std::string& name, const std::string& vendor, const std::string& product,
                   const std::vector<Interface>& interfaces)
    {
        namespace fs = std::filesystem;
        const auto device = DevicePath(name);
        Write(device / "idVendor", vendor);
        Write(device / "idProduct", product);
        Write(device / "product", "Fake USB device");
        fs::create_directory_symlink(device, m_dir / "bus/usb/devices" / name);
        for (const auto& usbInterface : interfaces) {
            const auto interfaceName = name + ":1." + std::to_string(usbInterface.number);
            const auto interface = device / interfaceName;
            char number[3];
            std::snprintf(number, sizeof number, "%02x", usbInterface.number);
            Write(interface / "bInterfaceNumber", number);
            if (!usbInterface.description.empty())
                Write(interface / "interface", usbInterface.description);
            if (!usbInterface.driver.empty()) {
                fs::create_directories(m_dir / "bus/usb/drivers" / usbInterface.driver);
                fs::create_directory_symlink(m_dir / "bus/usb/drivers" / usbInterface.driver, interface / "driver");
            }
            if (usbInterface.tty.rfind("ttyACM", 0) == 0)
                fs::create_directories(interface / "tty" / usbInterface.tty);
            else if (!usbInterface.tty.empty())
                fs::create_directories(interface / usbInterface.tty / "tty" / usbInterface.tty);
            fs::create_directory_symlink(interface, m_dir / "bus/usb/devices" / interfaceName);
        }
    }

    // The modem the programs look for: Qualcomm 05c6:3197, AT port on interface 00, data on 01.
    void AddModem(const std::string& name = "1-2", const std::string& dataDriver = "option")
    {
        AddDevice(name, "05c6", "3197",
                  {{0, "Qualcomm CDMA Technologies MSM", "option", "ttyUSB0"},
                   {1, "Data Interface", dataDriver, dataDriver.empty() ? "" : "ttyUSB1"}});
    }

    // Unplugging: the kernel removes the device's folder; links to it may linger for a moment.
    void RemoveDevice(const std::string& name) { std::filesystem::remove_all(DevicePath(name)); }

    void WriteOverlay(const std::string& text) const { m_dir.WriteFile("overlay.ini", text); }
    [[nodiscard]] const TempDir& Dir() const { return m_dir; }

private:
    [[nodiscard]] std::filesystem::path DevicePath(const std::string& name) const
    {
        return m_dir / ("devices/pci0000:00/0000:00:14.0/usb1/" + name);
    }

    static void Write(const std::filesystem::path& file, const std::string& text)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text << '\n';
    }

    TempDir m_dir;
};
