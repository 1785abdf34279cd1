#pragma once

#include <optional>
#include <string>

// The device node behind a COM name ("COM5", any case; "\\.\COM5" too): a port mapped by the
// device overlay, else the USB serial port that the device view lists under that name. Nothing
// when no such port is present now. The registry view and the serial stand-in share this one
// table, so a port the programs find in the registry is the port they open.
[[nodiscard]] std::optional<std::string> ComPortDevicePath(const std::string& comName);
