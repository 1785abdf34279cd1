#pragma once

#include "tests/support/TempDir.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class FakeModem;
struct ModemSettings;

// The devices a test sees instead of the machine's: a sysfs tree in a temporary folder, laid out
// as the kernel lays out USB devices, and a device overlay file beside it, both made the device
// view's sources for the rig's lifetime. The tree starts empty and the overlay absent.
class FakeDevices {
public:
    struct Interface {
        int number = 0;
        std::string description; // the interface string; empty: none
        std::string driver;      // empty: no driver bound
        std::string tty;         // "ttyUSB0", "ttyACM1" or empty
    };

    FakeDevices();
    ~FakeDevices();
    FakeDevices(const FakeDevices&) = delete;
    FakeDevices& operator=(const FakeDevices&) = delete;

    // A device on bus port `name` ("1-2"), with bus/usb/devices links as the kernel makes them.
    void AddDevice(const std::string& name, const std::string& vendor, const std::string& product,
                   const std::vector<Interface>& interfaces);
    // The modem the programs look for: AT port on interface 00, data on 01.
    void AddModem(const std::string& name = "1-2", const std::string& dataDriver = "option");
    // Unplugging: the kernel removes the device's folder; links to it may linger for a moment.
    void RemoveDevice(const std::string& name);
    // The simulated modem plugged in: named in the overlay as `comName`, answering on a
    // pseudo-terminal, unplugged when the returned modem is destroyed.
    [[nodiscard]] std::unique_ptr<FakeModem> PlugInModem(const ModemSettings& settings,
                                                         const std::string& comName = "COM12") const;

    void WriteOverlay(const std::string& text) const;
    // An overlay that names one serial port: COM name to device path.
    void MapPort(const std::string& comName, const std::string& devicePath) const;
    [[nodiscard]] std::string OverlayPath() const;

    // The rig's temporary folder, free for the test's other files beside "sys" and "overlay.ini".
    [[nodiscard]] const TempDir& Dir() const { return m_dir; }

private:
    [[nodiscard]] std::filesystem::path DevicePath(const std::string& name) const;

    TempDir m_dir;
};
