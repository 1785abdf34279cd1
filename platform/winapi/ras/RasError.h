#pragma once

#include "platform/winapi/kernel/WinError.h"

// The dial-up service's error codes that the stand-in reports, with their Win32 numbers.
// RasGetErrorStringA gives our own text for each.
constexpr DWORD ERROR_BUFFER_TOO_SMALL = 603;
constexpr DWORD ERROR_WRONG_INFO_SPECIFIED = 604;        // pppd refused its options
constexpr DWORD ERROR_DEVICE_DOES_NOT_EXIST = 608;       // no kernel PPP support (/dev/ppp)
constexpr DWORD ERROR_PORT_NOT_FOUND = 615;              // the entry's port is not present
constexpr DWORD ERROR_PORT_DISCONNECTED = 619;           // the modem hung up
constexpr DWORD ERROR_CANNOT_FIND_PHONEBOOK_ENTRY = 623;
constexpr DWORD ERROR_REMOTE_DISCONNECTION = 629;        // the peer ended the link
constexpr DWORD ERROR_USER_DISCONNECTION = 631;          // pppd was stopped by someone else
constexpr DWORD ERROR_INVALID_SIZE = 632;
constexpr DWORD ERROR_PORT_NOT_AVAILABLE = 633;          // port locked, busy or not permitted
constexpr DWORD ERROR_UNKNOWN = 635;
constexpr DWORD ERROR_BAD_STRING = 637;                  // number, user or password not dialable
constexpr DWORD ERROR_REQUEST_TIMEOUT = 638;             // the peer stopped answering
constexpr DWORD ERROR_FROM_DEVICE = 651;                 // the modem answered ERROR
constexpr DWORD ERROR_NO_CONNECTION = 668;
constexpr DWORD ERROR_LINE_BUSY = 676;
constexpr DWORD ERROR_NO_ANSWER = 678;                   // also any other connect-script failure
constexpr DWORD ERROR_NO_CARRIER = 679;
constexpr DWORD ERROR_NO_DIALTONE = 680;
constexpr DWORD ERROR_AUTHENTICATION_FAILURE = 691;
constexpr DWORD ERROR_RASMAN_CANNOT_INITIALIZE = 711;    // pppd missing or not allowed to run
constexpr DWORD ERROR_PPP_TIMEOUT = 718;
constexpr DWORD ERROR_PPP_LCP_TERMINATED = 734;
constexpr DWORD ERROR_PPP_LOOPBACK_DETECTED = 737;
