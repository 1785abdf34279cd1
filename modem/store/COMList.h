#pragma once

#include <string>

class TStrings;

// Finding the modem's serial port in the registry (on this platform the device view of
// winapi/devices, which lists USB serial ports the way Windows would).
//
// A port counts when the serial device map lists it under the Qualcomm USB serial driver
// ("\Device\qcusb...") and the modem's AT interface (USB 05c6:3197, interface 00) names it as its
// port; the AT interface's FriendlyName is the port's device name.

// Fills `ports` ("COM4") and `names` (the device names) in step, ordered by port number. Both are
// cleared first; no modem leaves both empty.
void GetPortList(TStrings& ports, TStrings& names);

// The FriendlyName of the modem's AT interface whose port is `port` (exactly, "COM4"), or "".
[[nodiscard]] std::string FindNameByCom(const std::string& port);
