#pragma once

#include "platform/winapi/kernel/SystemInfo.h"

#include <string_view>

// The CDMA USB modem the manager and the installer serve: a Qualcomm-based device whose AT port
// is USB interface 00 and whose data port is interface 01.
inline constexpr std::string_view ModemVendorId = "05c6";
inline constexpr std::string_view ModemProductId = "3197";
inline constexpr std::string_view ModemUsbId = "05c6:3197";

// The registry keys (under HKEY_LOCAL_MACHINE) that list the instances of each interface.
inline constexpr std::string_view ModemAtInterfaceKey = "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_00\\";
inline constexpr std::string_view ModemDataInterfaceKey = "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_01\\";

// What an NT 5 with a minor version past 2, which never shipped, counts as: the manager knows no
// layout for it, the installer takes it for the newest NT 5.
enum class LaterNt5 { Unknown, AsServer2003 };

// The programs' code for a Windows version: 1 Win32s; 2 NT 3, 3 NT 4, 4 XP, 5 2000 and 2003,
// 6 Vista and later NT 6; 7 95, 8 95 OSR2, 9 98, 10 98 SE, 11 Me; 0 for anything else.
[[nodiscard]] int WindowsVersionCode(const OSVERSIONINFOA& version, LaterNt5 laterNt5);
