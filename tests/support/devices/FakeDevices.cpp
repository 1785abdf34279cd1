#include "tests/support/devices/FakeDevices.h"

#include "modem/product/ModemProduct.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <cstdio>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << '\n';
}

} // namespace

FakeDevices::FakeDevices()
{
    fs::create_directories(m_dir / "sys/bus/usb/devices");
    SetSysfsRoot((m_dir / "sys").string());
    SetDeviceOverlayPath(OverlayPath());
}

FakeDevices::~FakeDevices()
{
    SetSysfsRoot("");
    SetDeviceOverlayPath("");
}

void FakeDevices::AddDevice(const std::string& name, const std::string& vendor, const std::string& product,
                            const std::vector<Interface>& interfaces)
{
    const fs::path sys = m_dir / "sys";
    const fs::path device = DevicePath(name);
    Write(device / "idVendor", vendor);
    Write(device / "idProduct", product);
    Write(device / "product", "Fake USB device");
    fs::create_directory_symlink(device, sys / "bus/usb/devices" / name);
    for (const Interface& usbInterface : interfaces) {
        const std::string interfaceName = name + ":1." + std::to_string(usbInterface.number);
        const fs::path interface = device / interfaceName;
        char number[3];
        std::snprintf(number, sizeof number, "%02x", usbInterface.number);
        Write(interface / "bInterfaceNumber", number);
        if (!usbInterface.description.empty())
            Write(interface / "interface", usbInterface.description);
        if (!usbInterface.driver.empty()) {
            fs::create_directories(sys / "bus/usb/drivers" / usbInterface.driver);
            fs::create_directory_symlink(sys / "bus/usb/drivers" / usbInterface.driver, interface / "driver");
        }
        if (usbInterface.tty.starts_with("ttyACM"))
            fs::create_directories(interface / "tty" / usbInterface.tty);
        else if (!usbInterface.tty.empty())
            fs::create_directories(interface / usbInterface.tty / "tty" / usbInterface.tty);
        fs::create_directory_symlink(interface, sys / "bus/usb/devices" / interfaceName);
    }
}

void FakeDevices::AddModem(const std::string& name, const std::string& dataDriver)
{
    AddDevice(name, std::string(ModemVendorId), std::string(ModemProductId),
              {{0, "Qualcomm CDMA Technologies MSM", "option", "ttyUSB0"},
               {1, "Data Interface", dataDriver, dataDriver.empty() ? "" : "ttyUSB1"}});
}

void FakeDevices::RemoveDevice(const std::string& name) { fs::remove_all(DevicePath(name)); }

std::unique_ptr<FakeModem> FakeDevices::PlugInModem(const ModemSettings& settings, const std::string& comName) const
{
    FakeModemOptions options;
    options.overlayPath = OverlayPath();
    options.comName = comName;
    options.settings = settings;
    return std::make_unique<FakeModem>(options);
}

void FakeDevices::WriteOverlay(const std::string& text) const { (void)m_dir.WriteFile("overlay.ini", text); }

void FakeDevices::MapPort(const std::string& comName, const std::string& devicePath) const
{
    WriteOverlay("[ports]\n" + comName + "=" + devicePath + "\n");
}

std::string FakeDevices::OverlayPath() const { return (m_dir / "overlay.ini").string(); }

fs::path FakeDevices::DevicePath(const std::string& name) const
{
    return m_dir / ("sys/devices/pci0000:00/0000:00:14.0/usb1/" + name);
}
