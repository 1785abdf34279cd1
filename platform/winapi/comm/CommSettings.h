#pragma once

#include "platform/winapi/comm/Comm.h"

#include <termios.h>

namespace winapi_comm::detail {

// Whether Win32 would accept the block (data bits 5-8, known parity and stop bits, a combination
// of data and stop bits that exists, distinct XON and XOFF characters, a baud rate Linux has).
[[nodiscard]] bool IsValidDcb(const DCB& dcb);

// Writes the block's line settings into `settings`, leaving it raw (no echo, no line editing, no
// character translation) and local (CLOCAL, CREAD).
void ApplyDcbToTermios(const DCB& dcb, termios& settings);

// The members termios holds (baud, data bits, parity, stop bits) read into `dcb`, for a port just
// opened.
void ReadDcbFromTermios(const termios& settings, DCB& dcb);

// A block describing raw settings just opened: binary, DTR and RTS on, no flow control.
[[nodiscard]] DCB DefaultDcb();

} // namespace winapi_comm::detail
