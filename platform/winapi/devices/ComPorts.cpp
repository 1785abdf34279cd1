#include "platform/winapi/devices/ComPorts.h"

#include "platform/winapi/devices/ComNames.h"
#include "platform/winapi/devices/DeviceSources.h"
#include "platform/winapi/devices/DeviceView.h"

std::optional<std::string> ComPortDevicePath(const std::string& comName)
{
    const auto name = NormalizeComName(comName);
    if (!name)
        return std::nullopt;
    const auto overlay = LoadDeviceOverlay(DeviceOverlayPath());
    for (const auto& [portName, path] : overlay.ports)
        if (portName == *name)
            return path;
    for (const auto& info : PresentUsbInterfaces(overlay))
        if (info.comName == *name)
            return info.devicePath;
    return std::nullopt;
}
