#pragma once

#include "modem/product/ModemProduct.h"

#include <ostream>
#include <string>
#include <vector>

// The driver tool: it serves the modem (USB 05c6:3197) with the kernel's USB serial driver
// "option" by writing the modem's id to that driver's new_id, and installs a udev rule that
// does the same at every plugging, gives the modem's serial ports to the dialout group and tells
// other modem software to leave the device alone. It serves that one device and no other.

inline constexpr const char* SerialDriverName = "option";
inline constexpr const char* UdevRuleFileName = "99-norra-modem.rules";

// The tool's settings, from driverforge.ini as the installer writes them.
struct TDriverSettings {
    bool automaticInstall = false;    // [AutoInstall] Automatic_Install=Y: bind the modem now too
    bool silentInstall = false;       // [AutoInstall] Silent_Install=Y: say nothing but errors
    std::string driverLocation;       // [Drivers] Uncompressed_Driver_Location
};
[[nodiscard]] TDriverSettings ReadDriverSettings(const std::string& settingsFile);

// Where the tool works: the sysfs root and the folder of udev rules.
struct TDriverSystem {
    std::string sysfsRoot = "/sys";
    std::string udevRulesFolder = "/etc/udev/rules.d";
    // On the real system the driver's module is loaded (modprobe) when it is not yet.
    bool loadDriverModule = false;
};

[[nodiscard]] std::string UdevRuleText();

enum TDriverExitCode : int {
    DriverInstalled = 0,
    DriverFailed = 1,
    DriverRefused = 2, // another device, or an argument the tool does not know
};

// Runs the tool: `arguments` are its command-line arguments after the program name (none, or
// "--device 05c6:3197"); messages go to `out`, errors to `err`.
[[nodiscard]] int RunDriverTool(const std::vector<std::string>& arguments, const TDriverSettings& settings,
                                const TDriverSystem& system, std::ostream& out, std::ostream& err);
