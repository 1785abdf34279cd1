#pragma once

#include "platform/winapi/kernel/SystemInfo.h"

#include <cstdint>
#include <string>
#include <vector>

// What the driver watch reads of the system: its version, its language, and the modem (USB
// 05c6:3197) in the registry view of the devices present now.

// The platform id this system reports in its version record: no Windows family.
inline constexpr DWORD VER_PLATFORM_LINUX = 0x4C58;

// The code of a version record: 1 Win32s; 7 to 11 the Windows 9x releases; 2 to 6 NT 3, NT 4,
// XP (5.1), the other 5.x, NT 6.x; 0 anything else. Only 6 changes what the installer does.
[[nodiscard]] std::uint8_t OSVersionCode(const OSVERSIONINFOA& version);

// This system's version record (the kernel's release as major and minor, VER_PLATFORM_LINUX).
[[nodiscard]] OSVERSIONINFOA LinuxVersionInfo();
[[nodiscard]] std::uint8_t GetOSVersionCode();

// The installation language ("0409", "0804", ...), "" when the registry key is missing.
[[nodiscard]] std::string GetInstallLanguage();

// Adds "COM<n>" to `ports` for each serial port of the modem's driver (a device name whose
// characters 9 to 13 are "qcusb"); true when there was one. A value whose number after "COM" is
// not a decimal number is passed over.
bool FindModemPorts(std::vector<std::string>& ports);

// The modem's data interfaces (instances of interfaces 00 and 01 described as "DATA INTERFACE")
// that have no driver.
[[nodiscard]] int CountUninstalledInterfaces();

// The system's stand-in for the "new hardware" wizard: the modem is there and one of its
// interfaces 00 and 01 has no kernel driver bound.
[[nodiscard]] bool ModemAwaitsDriver();
