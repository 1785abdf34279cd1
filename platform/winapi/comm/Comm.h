#pragma once

#include "platform/winapi/kernel/WinError.h"

#include <string>

// Serial ports, shaped like Win32's file and comm calls. "\\.\COMn" (or "COMn") is looked up in the
// device view (devices/ComPorts.h); an absolute device path ("/dev/ttyUSB0", "/dev/pts/3") is
// taken as it is. Open is exclusive within this process, against other programs that honour
// UUCP lock files, and (through TIOCEXCL) against other users. Each open port has a background
// thread that polls the device and completes overlapped operations by setting their events.
// Serial time-outs run on the real monotonic clock, not the kernel clock: they time a real line.

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;

// Internal holds STATUS_PENDING while the operation runs, then its Win32 error code (0 for
// success); InternalHigh holds the bytes transferred. The record and a read's buffer must stay
// valid until the operation completes, is purged, or its port is closed; an operation whose
// issuing thread has ended is abandoned without touching either (as Win32 cancels a thread's
// I/O when it exits). A write's bytes are copied at once.
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;
constexpr ULONG_PTR STATUS_PENDING = 0x00000103;

// The device control block with Win32's layout; the bit fields live in one word, Flags.
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD Flags;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    CHAR XonChar;
    CHAR XoffChar;
    CHAR ErrorChar;
    CHAR EofChar;
    CHAR EvtChar;
    WORD wReserved1;
};
using LPDCB = DCB*;

constexpr DWORD DCB_BINARY = 0x0001;
constexpr DWORD DCB_PARITY = 0x0002;
constexpr DWORD DCB_OUTX_CTS_FLOW = 0x0004;
constexpr DWORD DCB_OUTX_DSR_FLOW = 0x0008;
constexpr DWORD DCB_DTR_CONTROL_MASK = 0x0030;
constexpr DWORD DCB_DTR_CONTROL_SHIFT = 4;
constexpr DWORD DCB_DSR_SENSITIVITY = 0x0040;
constexpr DWORD DCB_TX_CONTINUE_ON_XOFF = 0x0080;
constexpr DWORD DCB_OUTX = 0x0100;
constexpr DWORD DCB_INX = 0x0200;
constexpr DWORD DCB_ERROR_CHAR = 0x0400;
constexpr DWORD DCB_NULL = 0x0800;
constexpr DWORD DCB_RTS_CONTROL_MASK = 0x3000;
constexpr DWORD DCB_RTS_CONTROL_SHIFT = 12;
constexpr DWORD DCB_ABORT_ON_ERROR = 0x4000;

constexpr DWORD DTR_CONTROL_DISABLE = 0;
constexpr DWORD DTR_CONTROL_ENABLE = 1;
constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_DISABLE = 0;
constexpr DWORD RTS_CONTROL_ENABLE = 1;
constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
constexpr DWORD RTS_CONTROL_TOGGLE = 3;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;
constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
using LPCOMMTIMEOUTS = COMMTIMEOUTS*;

struct COMSTAT {
    DWORD Flags;
    DWORD cbInQue;
    DWORD cbOutQue;
};
using LPCOMSTAT = COMSTAT*;

constexpr DWORD EV_RXCHAR = 0x0001;
constexpr DWORD EV_RXFLAG = 0x0002;
constexpr DWORD EV_TXEMPTY = 0x0004;
constexpr DWORD EV_CTS = 0x0008;
constexpr DWORD EV_DSR = 0x0010;
constexpr DWORD EV_RLSD = 0x0020;
constexpr DWORD EV_BREAK = 0x0040;
constexpr DWORD EV_ERR = 0x0080;
constexpr DWORD EV_RING = 0x0100;

constexpr DWORD CE_RXOVER = 0x0001;
constexpr DWORD CE_OVERRUN = 0x0002;
constexpr DWORD CE_RXPARITY = 0x0004;
constexpr DWORD CE_FRAME = 0x0008;
constexpr DWORD CE_BREAK = 0x0010;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

// Opens a serial port (the only kind of file this stand-in opens). Fails with
// INVALID_HANDLE_VALUE and ERROR_FILE_NOT_FOUND for an unknown name or a missing device,
// ERROR_ACCESS_DENIED when the port is in use or not permitted, ERROR_INVALID_PARAMETER for a
// creation disposition other than OPEN_EXISTING. Without FILE_FLAG_OVERLAPPED, reads and writes
// block until they complete.
[[nodiscard]] HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                 LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                                 DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);

// Overlapped transfers: TRUE when done at once (the event is set too), else FALSE with
// ERROR_IO_PENDING, or FALSE with the error. The event is reset when the operation starts. A read
// follows the port's time-outs as Win32 does: with a read-interval time-out it completes once the
// line has been quiet that long after its first byte. A device that has gone (unplugged, the far
// end of a pseudo-terminal closed) completes a read with what it had, and then with
// ERROR_DEVICE_REMOVED.
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped);
// FALSE with ERROR_IO_INCOMPLETE while pending and bWait is FALSE; the operation's own error when
// it failed (ERROR_INVALID_HANDLE once the port has been closed).
BOOL GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped, LPDWORD lpNumberOfBytesTransferred, BOOL bWait);

// The queues are ours and large enough; the sizes are accepted.
BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue);
// The abort flags end pending reads or writes with ERROR_OPERATION_ABORTED; the clear flags drop
// buffered bytes.
BOOL PurgeComm(HANDLE hFile, DWORD dwFlags);

// The block is mapped onto termios: baud, data bits, parity (mark and space through CMSPAR), stop
// bits (1.5 becomes 2, the nearest Linux has), CTS output flow or an RTS handshake (both become
// CRTSCTS, one switch on Linux), XON/XOFF with their characters, DTR and RTS set or cleared where
// the device has modem lines. DSR flow and sensitivity, XonLim/XoffLim, TxContinueOnXoff and the
// error character have no Linux counterpart: they are kept and reported back, nothing more. Null
// stripping is done by the reader. Values Win32 refuses fail with ERROR_INVALID_PARAMETER.
// GetCommState reports the block last set (at open, the device's settings).
BOOL GetCommState(HANDLE hFile, LPDCB lpDCB);
BOOL SetCommState(HANDLE hFile, LPDCB lpDCB);
BOOL GetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts);
BOOL SetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts);

// Line events: EV_RXCHAR, EV_TXEMPTY, and EV_CTS, EV_DSR, EV_RLSD, EV_RING, EV_ERR, EV_BREAK where
// the device reports modem lines and error counts (a pseudo-terminal reports neither). A new mask
// ends a pending WaitCommEvent with an empty mask.
BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask);
BOOL WaitCommEvent(HANDLE hFile, LPDWORD lpEvtMask, LPOVERLAPPED lpOverlapped);
// Reports and clears the line errors (CE_*); cbInQue counts the bytes received and not yet read.
BOOL ClearCommError(HANDLE hFile, LPDWORD lpErrors, LPCOMSTAT lpStat);

// Where UUCP lock files go; empty restores the default (/run/lock, else /var/lock). A folder that
// cannot be written is passed over silently.
void SetCommLockFolder(const std::string& folder);
