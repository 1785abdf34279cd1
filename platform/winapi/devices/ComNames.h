#pragma once

#include <optional>
#include <string>

// How COM names are given to USB serial ports. Windows keeps a COM number per device; here the
// number follows from the kernel's tty name, so it is the same at every read, after a re-plug and
// after a restart, for as long as the kernel names the port the same:
//   ttyUSB0 .. ttyUSB46  ->  COM3 .. COM49   (usb-serial drivers: option, qcserial, ftdi_sio, ...)
//   ttyACM0 .. ttyACM49  ->  COM50 .. COM99  (cdc-acm)
// COM1 and COM2 stay free, as on a PC with two built-in ports, and no number passes 99, which
// the programs' two-digit port ordering relies on. A tty outside these ranges gets no COM name.

// "COMn" for a tty name, or nothing.
[[nodiscard]] std::optional<std::string> ComNameForTty(const std::string& ttyName);

// The canonical "COMn" (upper case, no leading zeros, 1 to 255) for "com5", "\\.\COM5", ...;
// nothing for anything else.
[[nodiscard]] std::optional<std::string> NormalizeComName(const std::string& name);
