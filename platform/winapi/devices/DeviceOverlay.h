#pragma once

#include "platform/winapi/devices/RegistryTree.h"
#include "platform/winapi/devices/UsbInterfaces.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The device overlay: a developer's file (named by MODEM_DEVICE_OVERLAY) that adds serial
// ports and registry keys to the device view, so that tests and the simulated modem on a
// pseudo-terminal are found like a plugged-in modem. Format (the README's developer section has the full story):
//
//   [usb]
//   COM8=/dev/pts/4 05c6:3197:00 Simulated modem   a USB serial interface, listed like a real one
//   [ports]
//   COM7=/dev/pts/3                               a COM name for a device, nothing in the registry
//   [HKEY_LOCAL_MACHINE\hardware\devicemap\serialcomm]
//   \Device\qcusbser7=COM7
//   [-HKEY_LOCAL_MACHINE\some\key]          removes that key and everything below it
//
// Limits: a file larger than MaxOverlayFileSize is refused whole; a line longer than
// MaxOverlayLineLength, a key name component longer than MaxKeyNameLength and any other
// malformed line are skipped and reported in `errors`. The parser owns nothing of the input.
constexpr std::size_t MaxOverlayFileSize = 1 << 20;
constexpr std::size_t MaxOverlayLineLength = 4096;
constexpr std::size_t MaxKeyNameLength = 255;

struct DeviceOverlay {
    struct KeyEdit {
        RegistryRoot root = RegistryRoot::LocalMachine;
        std::string path;
        bool removeKey = false; // true: remove the key; false: create it and set `values`
        std::vector<std::pair<std::string, std::string>> values;
    };

    std::vector<std::pair<std::string, std::string>> ports; // upper-case "COMn", device path
    std::vector<UsbInterfaceInfo> usbPorts;                 // the [usb] section's interfaces
    std::vector<KeyEdit> keys;                              // in file order
    std::vector<std::string> errors;                        // "line 3: ..."

    // Applies the key edits for `root`, in file order: a key's values merge into the key of
    // that path (a value of the same name is replaced).
    void ApplyTo(RegistryRoot root, RegistryTree& tree) const;
};

[[nodiscard]] DeviceOverlay ParseDeviceOverlay(std::string_view text);

// Reads and parses the overlay file at `path`; an empty path or a missing file gives an empty
// overlay, an unreadable or oversized file an overlay holding only the error. Errors are written to
// standard error once for each new text of the file, not at every read of the view.
[[nodiscard]] DeviceOverlay LoadDeviceOverlay(const std::string& path);
