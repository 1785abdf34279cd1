#pragma once

#include "platform/winapi/kernel/WinError.h"
#include "platform/winapi/kernel/WinTypes.h"

// The registry calls of advapi32 that the programs make, over the read-only device view
// (DeviceView.h). Every call answers with a Win32 error code, as the real ones do; nothing here
// ever writes: calls that would change the registry return ERROR_ACCESS_DENIED.

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
// Win32 declares it LONG; unsigned here so that it compares with the shared ERROR_* codes
// (WinError.h) without sign warnings. Every code is small and positive either way.
using LSTATUS = DWORD;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
using PFILETIME = FILETIME*;

namespace winapi_devices::detail {
inline HKEY PredefinedKey(DWORD value)
{
    // Win32 sign-extends the predefined keys to pointer width.
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(value)));
}
} // namespace winapi_devices::detail

inline const HKEY HKEY_CLASSES_ROOT = winapi_devices::detail::PredefinedKey(0x80000000);
inline const HKEY HKEY_CURRENT_USER = winapi_devices::detail::PredefinedKey(0x80000001);
inline const HKEY HKEY_LOCAL_MACHINE = winapi_devices::detail::PredefinedKey(0x80000002);
inline const HKEY HKEY_USERS = winapi_devices::detail::PredefinedKey(0x80000003);
inline const HKEY HKEY_PERFORMANCE_DATA = winapi_devices::detail::PredefinedKey(0x80000004);
inline const HKEY HKEY_CURRENT_CONFIG = winapi_devices::detail::PredefinedKey(0x80000005);
inline const HKEY HKEY_DYN_DATA = winapi_devices::detail::PredefinedKey(0x80000006);

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Every value of the view is a string.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;

// The registry's own error codes; the common ones come from WinError.h.
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;

[[nodiscard]] LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                                    PHKEY phkResult);
// Always ERROR_ACCESS_DENIED: the view is read-only.
[[nodiscard]] LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass,
                                      DWORD dwOptions, REGSAM samDesired, void* lpSecurityAttributes,
                                      PHKEY phkResult, LPDWORD lpdwDisposition);
// Always ERROR_ACCESS_DENIED on an open key (ERROR_INVALID_HANDLE on a bad one).
[[nodiscard]] LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                                     const BYTE* lpData, DWORD cbData);
LSTATUS RegCloseKey(HKEY hKey);
[[nodiscard]] LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                       LPBYTE lpData, LPDWORD lpcbData);
[[nodiscard]] LSTATUS RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                                    LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
[[nodiscard]] LSTATUS RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName,
                                    LPDWORD lpReserved, LPSTR lpClass, LPDWORD lpcchClass,
                                    PFILETIME lpftLastWriteTime);
[[nodiscard]] LSTATUS RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                                       LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                       LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                                       LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                                       PFILETIME lpftLastWriteTime);
