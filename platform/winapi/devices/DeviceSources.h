#pragma once

#include <string>

// Where the device view reads from. A path set here wins over the environment; setting an
// empty path goes back to the environment (MODEM_SYSFS_ROOT, default "/sys";
// MODEM_DEVICE_OVERLAY, default none). Tests point these at a fake tree.
void SetSysfsRoot(const std::string& root);
[[nodiscard]] std::string SysfsRoot();

void SetDeviceOverlayPath(const std::string& path);
// Empty when no overlay is configured.
[[nodiscard]] std::string DeviceOverlayPath();
