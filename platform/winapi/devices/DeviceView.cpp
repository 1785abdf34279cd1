#include "platform/winapi/devices/DeviceView.h"

#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/devices/InstallLanguage.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* UsbEnumKey = "system\\currentcontrolset\\enum\\usb";
constexpr const char* SerialCommKey = "hardware\\devicemap\\serialcomm";
constexpr const char* LanguageKey = "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language";

int ComNumber(const std::string& comName)
{
    return std::stoi(comName.substr(3));
}

std::string InterfaceKeyName(const UsbInterfaceInfo& info)
{
    char name[32];
    std::snprintf(name, sizeof name, "Vid_%s&Pid_%s&MI_%02x", info.vendorId.c_str(), info.productId.c_str(),
                  static_cast<unsigned>(info.interfaceNumber) & 0xFF);
    return name;
}

std::string SerialDriverName(const UsbInterfaceInfo& info)
{
    if (info.vendorId == "05c6")
        return "qcusbser";
    if (info.ttyName.rfind("ttyACM", 0) == 0 || info.driver.empty())
        return "usbser";
    return info.driver;
}

void AddEnumKey(RegistryTree& tree, const UsbInterfaceInfo& info)
{
    const auto path = std::string(UsbEnumKey) + '\\' + InterfaceKeyName(info) + '\\' + info.instance;
    auto* key = tree.Force(path);
    if (!key)
        return; // an instance name that is no key name
    if (!info.description.empty())
        key->SetValue("DeviceDesc", info.description);
    if (!info.driver.empty())
        key->SetValue("Driver", info.driver);
    if (info.comName.empty())
        return;
    const auto description = info.description.empty() ? std::string("USB Serial Port") : info.description;
    key->SetValue("FriendlyName", description + " (" + info.comName + ")");
    tree.Force(path + "\\Device Parameters")->SetValue("PortName", info.comName);
}

void AddSerialComm(RegistryTree& tree, std::vector<UsbInterfaceInfo> ports)
{
    std::erase_if(ports, [](const auto& info) { return info.comName.empty(); });
    if (ports.empty())
        return;
    std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return ComNumber(a.comName) < ComNumber(b.comName); });
    auto* key = tree.Force(SerialCommKey);
    for (const auto& info : ports)
        key->SetValue("\\Device\\" + SerialDriverName(info) + std::to_string(ComNumber(info.comName)), info.comName);
}

void AddLocalMachine(RegistryTree& tree, const DeviceOverlay& overlay)
{
    const auto interfaces = PresentUsbInterfaces(overlay);
    for (const auto& info : interfaces)
        AddEnumKey(tree, info);
    AddSerialComm(tree, interfaces);
    tree.Force(LanguageKey)->SetValue("InstallLanguage", SystemInstallLanguage());
}

} // namespace

std::vector<UsbInterfaceInfo> PresentUsbInterfaces(const DeviceOverlay& overlay)
{
    auto interfaces = ScanUsbInterfaces(SysfsRoot());
    for (const auto& added : overlay.usbPorts)
        for (auto& info : interfaces)
            if (info.comName == added.comName) {
                info.comName.clear();
                info.devicePath.clear();
            }
    interfaces.insert(interfaces.end(), overlay.usbPorts.begin(), overlay.usbPorts.end());
    return interfaces;
}

std::shared_ptr<const RegistryTree> BuildRegistryView(RegistryRoot root)
{
    auto tree = std::make_shared<RegistryTree>();
    const auto overlay = LoadDeviceOverlay(DeviceOverlayPath());
    if (root == RegistryRoot::LocalMachine)
        AddLocalMachine(*tree, overlay);
    overlay.ApplyTo(root, *tree);
    return tree;
}
