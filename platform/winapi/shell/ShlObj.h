#pragma once

#include "platform/winapi/kernel/WinTypes.h"

// The shell's special folders, on the XDG folders of a Linux desktop. ShellFolders.h says where
// each folder lies.

// As Win32 declares them (STRICT): distinct pointer types that are never dereferenced.
struct HWND__;
using HWND = HWND__*;
using HRESULT = LONG;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

constexpr int MAX_PATH = 260;

constexpr int CSIDL_PROGRAMS = 0x0002;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_COMMON_PROGRAMS = 0x0017;
constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x0019;
constexpr int CSIDL_APPDATA = 0x001A;
constexpr int CSIDL_COMMON_APPDATA = 0x0023;
constexpr int CSIDL_FLAG_CREATE = 0x8000;

constexpr DWORD SHGFP_TYPE_CURRENT = 0;

// Writes the folder's path (at most MAX_PATH characters with the terminating zero) into pszPath.
// Unlike Win32, a folder that does not exist yet is still reported (a fresh account may lack
// ~/.local/share, and every caller creates its own sub-folders anyway); with fCreate it is created
// first. FALSE for an unknown folder, a path too long for the buffer, or a failed creation.
BOOL SHGetSpecialFolderPathA(HWND hwndOwner, LPSTR pszPath, int csidl, BOOL fCreate);

// The same through the newer call: CSIDL_FLAG_CREATE in csidl creates the folder. S_OK, or
// E_INVALIDARG for an unknown folder, E_FAIL when the path does not fit or cannot be created.
HRESULT SHGetFolderPathA(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPSTR pszPath);

// Item lists: here simply the folder's path in memory of the task allocator; free them with
// ILFree or CoTaskMemFree.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

HRESULT SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* ppidl);
// Copies the list's path (at most MAX_PATH characters) into pszPath; FALSE for a null list.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath);
void ILFree(LPITEMIDLIST pidl);
void CoTaskMemFree(LPVOID pv);
