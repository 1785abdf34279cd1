#pragma once

#include "platform/winapi/kernel/WinTypes.h"
#include "platform/winapi/ras/RasError.h"

// The dial-up service (rasapi32) over pppd. The phonebook is the rasphone.pbk file the manager
// writes; a dial runs pppd with the entry's port and the caller's number and credentials, and a
// thread of the service reports its progress to the caller's notifier. The README says what
// a real dial needs on the machine.
//
// Configuration (read at every call):
//   MODEM_PPPD  the pppd program (default /usr/sbin/pppd)
//   MODEM_CHAT  the chat program pppd runs to dial (default /usr/sbin/chat)
//   the sysfs root of the device stand-in (DeviceSources.h): ppp interface counters
//   MODEM_TRACE=ras  copies pppd's log lines to standard error (platform/rtl/Trace.h)

constexpr int RAS_MaxEntryName = 256;
constexpr int RAS_MaxPhoneNumber = 128;
constexpr int RAS_MaxCallbackNumber = 128;
constexpr int RAS_MaxDeviceType = 16;
constexpr int RAS_MaxDeviceName = 128;
constexpr int UNLEN = 256;
constexpr int PWLEN = 256;
constexpr int DNLEN = 15;

// Connection handles name a connection of this process; a stale or made-up one gives
// ERROR_INVALID_HANDLE, never a crash. Handle values are never reused.
struct HRASCONN__;
using HRASCONN = HRASCONN__*;
using LPHRASCONN = HRASCONN*;

using RASCONNSTATE = DWORD;
constexpr RASCONNSTATE RASCS_OpenPort = 0;
constexpr RASCONNSTATE RASCS_PortOpened = 1;
constexpr RASCONNSTATE RASCS_Authenticate = 5;
constexpr RASCONNSTATE RASCS_Authenticated = 14;
constexpr RASCONNSTATE RASCS_Connected = 0x2000;
constexpr RASCONNSTATE RASCS_Disconnected = 0x2001;

// The message number the notifier receives as unMsg.
constexpr UINT WM_RASDIALEVENT = 0xCCCD;

// The dial parameters without sub-entry and callback id (1052 bytes).
struct RASDIALPARAMSA {
    DWORD dwSize;
    CHAR szEntryName[RAS_MaxEntryName + 1];
    CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
    CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
    CHAR szUserName[UNLEN + 1];
    CHAR szPassword[PWLEN + 1];
    CHAR szDomain[DNLEN + 1];
};
using LPRASDIALPARAMSA = RASDIALPARAMSA*;
static_assert(sizeof(RASDIALPARAMSA) == 1052);

// Accepted for the shape of the call; only a null pointer is supported.
struct RASDIALEXTENSIONS;
using LPRASDIALEXTENSIONS = RASDIALEXTENSIONS*;

struct RASENTRYNAMEA {
    DWORD dwSize;
    CHAR szEntryName[RAS_MaxEntryName + 1];
};
using LPRASENTRYNAMEA = RASENTRYNAMEA*;
static_assert(sizeof(RASENTRYNAMEA) == 264);

// 412 bytes in a 32-bit build; here the handle is pointer-sized, so callers size their buffers
// with sizeof(RASCONNA).
struct RASCONNA {
    DWORD dwSize;
    HRASCONN hrasconn;
    CHAR szEntryName[RAS_MaxEntryName + 1];
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
using LPRASCONNA = RASCONNA*;

struct RASCONNSTATUSA {
    DWORD dwSize;
    RASCONNSTATE rasconnstate;
    DWORD dwError;
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
using LPRASCONNSTATUSA = RASCONNSTATUSA*;
static_assert(sizeof(RASCONNSTATUSA) == 160);

struct RAS_STATS {
    DWORD dwSize;
    DWORD dwBytesXmited;
    DWORD dwBytesRcved;
    DWORD dwFramesXmited;
    DWORD dwFramesRcved;
    DWORD dwCrcErr;
    DWORD dwTimeoutErr;
    DWORD dwAlignmentErr;
    DWORD dwHardwareOverrunErr;
    DWORD dwFramingErr;
    DWORD dwBufferOverrunErr;
    DWORD dwCompressionRatioIn;
    DWORD dwCompressionRatioOut;
    DWORD dwBps;
    DWORD dwConnectDuration;
};
using PRAS_STATS = RAS_STATS*;
static_assert(sizeof(RAS_STATS) == 60);

// Notifier type 0. It runs on the service's own thread, one call at a time and in order:
// RASCS_OpenPort, RASCS_PortOpened, RASCS_Authenticate, RASCS_Authenticated, RASCS_Connected.
// A dial that fails ends with one call carrying the state reached and the error (dwError != 0);
// a connection that drops after RASCS_Connected ends with RASCS_Disconnected and dwError 0.
// After RasHangUpA no new call starts.
using RASDIALFUNC = void (*)(UINT unMsg, RASCONNSTATE rasconnstate, DWORD dwError);

// Starts a dial and returns at once. lpszPhonebook null means the default phonebooks (the user's
// <CSIDL_APPDATA>\Microsoft\Network\Connections\Pbk\rasphone.pbk, then the all-users one under
// CSIDL_COMMON_APPDATA); the entry is found by name, case-insensitively. An empty szPhoneNumber
// dials the entry's PhoneNumber=. Either number may be written with spaces, dashes, dots and
// parentheses ("1-800 555 0100"); they are dropped before the dial. Refusals (the notifier is never
// called): ERROR_INVALID_PARAMETER (bad pointers, extensions, notifier type other than 0),
// ERROR_INVALID_SIZE, ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, ERROR_BAD_STRING (a number of anything
// else than 0-9 * # + , once those are dropped, or a user name or password with control
// characters). Everything later (port missing, pppd missing,
// busy, authentication...) arrives through the notifier, and *lphRasConn is valid either way.
DWORD RasDialA(LPRASDIALEXTENSIONS lpRasDialExtensions, LPCSTR lpszPhonebook, LPRASDIALPARAMSA lpRasDialParams,
               DWORD dwNotifierType, LPVOID lpvNotifier, LPHRASCONN lphRasConn);

// Ends the connection: SIGTERM to pppd, SIGKILL after a grace period of 3 s, and the process is
// reaped before the call returns (so it may block up to that long). The handle is invalid
// afterwards. Safe to call from inside the notifier, and for a connection that already ended.
DWORD RasHangUpA(HRASCONN hrasconn);

// The connections of this process whose pppd still runs, dialling or connected. The first
// record's dwSize must be sizeof(RASCONNA). When *lpcb is too small: ERROR_BUFFER_TOO_SMALL with
// *lpcb the bytes needed and *lpcConnections the number of connections.
DWORD RasEnumConnectionsA(LPRASCONNA lprasconn, LPDWORD lpcb, LPDWORD lpcConnections);

// The sections of the phonebook(s) (as RasDialA), in file order, each name once; names longer
// than RAS_MaxEntryName are left out. reserved must be null; the first record's dwSize must be
// sizeof(RASENTRYNAMEA). Too small a buffer: ERROR_BUFFER_TOO_SMALL with *lpcb the bytes needed
// and *lpcEntries the number of entries. A missing phonebook has no entries.
DWORD RasEnumEntriesA(LPCSTR reserved, LPCSTR lpszPhonebook, LPRASENTRYNAMEA lprasentryname, LPDWORD lpcb,
                      LPDWORD lpcEntries);

// dwSize must be sizeof(RASCONNSTATUSA). While pppd runs: the state reached, dwError 0. After it
// ended by itself: RASCS_Disconnected and the error it left (never 0). ERROR_INVALID_HANDLE for a
// handle that is unknown or hung up.
DWORD RasGetConnectStatusA(HRASCONN hrasconn, LPRASCONNSTATUSA lprasconnstatus);

// Bytes and frames from the ppp interface's counters (/sys/class/net/pppN/statistics, cut to 32
// bits as the record holds them; a counter that cannot be read counts 0), dwBps 115200 and the
// milliseconds since RASCS_Connected (0 before). dwSize must be sizeof(RAS_STATS).
// ERROR_INVALID_HANDLE for an unknown handle, ERROR_NO_CONNECTION once pppd has ended.
DWORD RasGetConnectionStatistics(HRASCONN hRasConn, RAS_STATS* lpStatistics);

// Our English text for each error code above; ERROR_INVALID_PARAMETER for another code or a null
// buffer, ERROR_INSUFFICIENT_BUFFER when the text does not fit cBufSize (zero included).
DWORD RasGetErrorStringA(UINT uErrorValue, LPSTR lpszErrorString, DWORD cBufSize);
