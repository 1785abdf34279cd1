#include "platform/winapi/devices/DeviceSources.h"

#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_lock;
std::string g_sysfsRoot;
std::string g_overlayPath;

std::string Environment(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return (value && *value) ? value : fallback;
}

} // namespace

void SetSysfsRoot(const std::string& root)
{
    std::lock_guard lock(g_lock);
    g_sysfsRoot = root;
}

std::string SysfsRoot()
{
    std::lock_guard lock(g_lock);
    return g_sysfsRoot.empty() ? Environment("MODEM_SYSFS_ROOT", "/sys") : g_sysfsRoot;
}

void SetDeviceOverlayPath(const std::string& path)
{
    std::lock_guard lock(g_lock);
    g_overlayPath = path;
}

std::string DeviceOverlayPath()
{
    std::lock_guard lock(g_lock);
    return g_overlayPath.empty() ? Environment("MODEM_DEVICE_OVERLAY", "") : g_overlayPath;
}
