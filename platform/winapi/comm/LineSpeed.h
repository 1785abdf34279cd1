#pragma once

#include <cstdint>

// The line's speed through termios2, the only interface that takes any number of bits per second
// (14400, 56000, 128000 and 256000 are ordinary on Win32 and have no B constant). Its header
// clashes with <termios.h>, so it stays alone in LineSpeed.cpp.

// Sets input and output speed to `baud`: a rate with a B constant by that constant (what termios
// readers and stty expect), any other as BOTHER with the number. False with errno set when the
// device refuses it or settles more than 3% away from it (EINVAL), the tolerance of a UART.
[[nodiscard]] bool SetLineSpeed(int fd, std::uint32_t baud);

// The line's output speed in bits per second; 0 when it cannot be read.
[[nodiscard]] std::uint32_t LineSpeed(int fd);
