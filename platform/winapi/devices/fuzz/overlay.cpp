#include "platform/winapi/devices/DeviceOverlay.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto overlay = ParseDeviceOverlay(std::string_view(reinterpret_cast<const char*>(data), size));
    RegistryTree tree;
    overlay.ApplyTo(RegistryRoot::LocalMachine, tree);
    overlay.ApplyTo(RegistryRoot::CurrentUser, tree);
    return 0;
}
