#include "platform/winapi/devices/UsbInterfaces.h"

#include "platform/winapi/devices/ComNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>

namespace fs = std::filesystem;

namespace {

// sysfs attributes are one short line; a longer one is not an attribute we understand.
constexpr std::size_t MaxAttributeLength = 256;

std::string ReadAttribute(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line) || line.size() > MaxAttributeLength)
        return {};
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!line.empty() && isSpace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return line;
}

bool IsHexDigits(const std::string& text, std::size_t length)
{
    return text.size() == length
        && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

std::string LowerHex(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsSerialTtyName(const std::string& name)
{
    for (const std::string prefix : {"ttyUSB", "ttyACM"}) {
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0
            && std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                           [](unsigned char c) { return std::isdigit(c) != 0; }))
            return true;
    }
    return false;
}

// usb-serial drivers put the port at <interface>/ttyUSBn, cdc-acm at <interface>/tty/ttyACMn.
std::string FindTty(const fs::path& interfaceDir)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(interfaceDir, error)) {
        const auto name = entry.path().filename().string();
        if (IsSerialTtyName(name))
            return name;
        if (name != "tty")
            continue;
        std::error_code innerError;
        for (const auto& inner : fs::directory_iterator(entry.path(), innerError))
            if (IsSerialTtyName(inner.path().filename().string()))
                return inner.path().filename().string();
    }
    return {};
}

std::string BoundDriver(const fs::path& interfaceDir)
{
    std::error_code error;
    const auto target = fs::read_symlink(interfaceDir / "driver", error);
    return error ? std::string() : target.filename().string();
}

std::optional<UsbInterfaceInfo> ReadInterface(const fs::path& link)
{
    std::error_code error;
    const auto interfaceDir = fs::canonical(link, error);
    if (error)
        return std::nullopt;
    const auto deviceDir = interfaceDir.parent_path();
    UsbInterfaceInfo info;
    info.vendorId = LowerHex(ReadAttribute(deviceDir / "idVendor"));
    info.productId = LowerHex(ReadAttribute(deviceDir / "idProduct"));
    const auto number = ReadAttribute(interfaceDir / "bInterfaceNumber");
    if (!IsHexDigits(info.vendorId, 4) || !IsHexDigits(info.productId, 4) || !IsHexDigits(number, 2))
        return std::nullopt;
    info.instance = deviceDir.filename().string();
    info.interfaceNumber = std::stoi(number, nullptr, 16);
    info.description = ReadAttribute(interfaceDir / "interface");
    if (info.description.empty())
        info.description = ReadAttribute(deviceDir / "product");
    info.driver = BoundDriver(interfaceDir);
    info.ttyName = FindTty(interfaceDir);
    if (const auto comName = ComNameForTty(info.ttyName)) {
        info.comName = *comName;
        info.devicePath = "/dev/" + info.ttyName;
    }
    return info;
}

} // namespace

std::vector<UsbInterfaceInfo> ScanUsbInterfaces(const std::string& sysfsRoot)
{
    std::vector<UsbInterfaceInfo> interfaces;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(sysfsRoot) / "bus/usb/devices", error)) {
        // Interfaces are named "<device>:<configuration>.<interface>"; the rest are devices and hubs.
        if (entry.path().filename().string().find(':') == std::string::npos)
            continue;
        if (auto info = ReadInterface(entry.path()))
            interfaces.push_back(std::move(*info));
    }
    std::sort(interfaces.begin(), interfaces.end(), [](const auto& a, const auto& b) {
        return std::tie(a.instance, a.interfaceNumber) < std::tie(b.instance, b.interfaceNumber);
    });
    return interfaces;
}
