#pragma once

#include "platform/winapi/devices/DeviceOverlay.h"
#include "platform/winapi/devices/RegistryTree.h"
#include "platform/winapi/devices/UsbInterfaces.h"

#include <memory>
#include <vector>

// The registry as the programs see it, made afresh from the machine's present state each time
// a root is opened, so a modem plugged in or pulled out shows at the next read.
//
// HKEY_LOCAL_MACHINE holds, for every USB interface (UsbInterfaces.h, plus the overlay's [usb]
// section):
//   system\currentcontrolset\enum\usb\Vid_vvvv&Pid_pppp&MI_nn\<instance>
//       "DeviceDesc" (when known), "Driver" (when one is bound),
//       and for a serial port "FriendlyName" ("<description> (COMn)") and
//       "Device Parameters\PortName" ("COMn");
//   hardware\devicemap\serialcomm
//       one value per serial port, in COM order: "\Device\<driver><n>" = "COMn", where <driver>
//       is "qcusbser" for Qualcomm devices (vendor 05c6, whose ports Windows serves with its
//       qcusbser driver), "usbser" for cdc-acm ports and the kernel driver's name otherwise, and
//       <n> is the COM number;
//   SYSTEM\CurrentControlSet\Control\Nls\Language  "InstallLanguage" (InstallLanguage.h).
// Every root then takes the overlay's key edits (DeviceOverlay.h). The other roots hold only
// what the overlay gives them.

// The USB interfaces present now: sysfs's, then the overlay's; an overlay interface takes its
// COM name away from a sysfs one.
[[nodiscard]] std::vector<UsbInterfaceInfo> PresentUsbInterfaces(const DeviceOverlay& overlay);

// The tree of `root` from the configured sources (DeviceSources.h).
[[nodiscard]] std::shared_ptr<const RegistryTree> BuildRegistryView(RegistryRoot root);
