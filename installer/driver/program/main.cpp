// Driver: the driver tool the installer runs (through pkexec, as root). It reads its settings
// from driverforge.ini beside it.

#include "installer/driver/DriverHelper.h"

#include "platform/winapi/devices/DeviceSources.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    std::error_code error;
    const auto folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    const TDriverSettings settings = ReadDriverSettings((folder / "driverforge.ini").string());
    TDriverSystem system;
    system.sysfsRoot = SysfsRoot();
    if (const char* rules = std::getenv("MODEM_UDEV_RULES_DIR"))
        system.udevRulesFolder = rules;
    system.loadDriverModule = system.sysfsRoot == "/sys";
    return RunDriverTool(std::vector<std::string>(argv + 1, argv + argc), settings, system, std::cout, std::cerr);
}
