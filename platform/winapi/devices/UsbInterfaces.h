#pragma once

#include <string>
#include <vector>

// One interface of a USB device as sysfs shows it: what Windows would list under its USB
// enumeration key "Vid_vvvv&Pid_pppp&MI_nn".
struct UsbInterfaceInfo {
    std::string instance;      // the device's sysfs name ("1-2.4"): stable for a socket, like a
                               // Windows instance id for a device without serial number
    std::string vendorId;      // four lower-case hex digits
    std::string productId;     // four lower-case hex digits
    int interfaceNumber = 0;   // bInterfaceNumber
    std::string description;   // the interface's own string, else the device's product string
    std::string driver;        // the bound kernel driver, empty when none is bound
    std::string ttyName;       // "ttyUSB2", "ttyACM0"; empty when the interface has no serial port
    std::string comName;       // "COM5" (ComNames.h); empty when the interface has no serial port
    std::string devicePath;    // "/dev/ttyUSB2"; empty when the interface has no serial port
};

// Every USB interface under `sysfsRoot`/bus/usb/devices, ordered by device and interface
// number. Unreadable or malformed entries are skipped: a device unplugged during the scan is
// simply not listed.
[[nodiscard]] std::vector<UsbInterfaceInfo> ScanUsbInterfaces(const std::string& sysfsRoot);
