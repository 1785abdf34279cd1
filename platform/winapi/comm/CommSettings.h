#pragma once

#include "platform/winapi/comm/Comm.h"

#include <termios.h>

namespace winapi_comm::detail {

// Whether Win32 would accept the block (data bits 5-8, known parity and stop bits, a combination
// of data and stop bits that exists, distinct XON and XOFF characters, a baud rate above 0).
// Whether the device can run at the rate is for SetLineSpeed to find out.
[[nodiscard]] bool IsValidDcb(const DCB& dcb);

// Writes the block's line settings but the speed into `settings`, leaving it raw (no echo, no line
// editing, no character translation) and local (CLOCAL, CREAD). The speed goes through
// SetLineSpeed (LineSpeed.h), which takes rates termios has no constant for.
void ApplyDcbToTermios(const DCB& dcb, termios& settings);

// The members termios holds (data bits, parity, stop bits) read into `dcb`, for a port just
// opened; the speed comes from LineSpeed.
void ReadDcbFromTermios(const termios& settings, DCB& dcb);

// A block describing raw settings just opened: binary, DTR and RTS on, no flow control.
[[nodiscard]] DCB DefaultDcb();

} // namespace winapi_comm::detail
