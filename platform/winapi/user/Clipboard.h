#pragma once

#include "platform/winapi/user/GlobalMemory.h"
#include "platform/winapi/user/WinUser.h"

// The clipboard, with Win32's names, numbers and rules. A window opens it (only one at a time in
// the process), EmptyClipboard makes that window the owner, and SetClipboardData hands each
// format's data over: global memory blocks, or an HBITMAP for CF_BITMAP. The clipboard frees them
// when it is emptied. The text formats, and CF_DIB/CF_BITMAP, are converted into one another on
// request. Text is UTF-8 in CF_TEXT and CF_OEMTEXT (the system code page here), UTF-16 in
// CF_UNICODETEXT.
//
// The system clipboard: closing the clipboard after changing it offers the contents to other
// programs through the display (the text, the registered formats by name, a DIB as "image/bmp").
// Once another program has taken the clipboard, its formats are what this process sees; the
// handles read from them belong to the clipboard until it is closed. Call from the GUI thread.

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_PALETTE = 9;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_PRIVATEFIRST = 0x0200;
constexpr UINT CF_PRIVATELAST = 0x02FF;
constexpr UINT CF_GDIOBJFIRST = 0x0300;
constexpr UINT CF_GDIOBJLAST = 0x03FF;
// RegisterClipboardFormatA hands out ids from here on.
constexpr UINT CF_REGISTEREDFIRST = 0xC000;

constexpr UINT WM_DESTROYCLIPBOARD = 0x0307;

constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;

// The name under which a DIB is offered to other programs (a BMP file).
inline constexpr char CLIPBOARD_BMP_FORMAT[] = "image/bmp";

// Fails (ERROR_ACCESS_DENIED) while another window, or another thread, has it open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
// Frees the contents, sends WM_DESTROYCLIPBOARD to the previous owner and makes the opening window
// the owner (none when it was opened without a window: SetClipboardData then fails).
BOOL EmptyClipboard();
// On success the clipboard owns `hMem` (a block freed or replaced later is not the caller's any
// more); on failure the caller keeps it. A null handle (delayed rendering) is not supported.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The clipboard keeps the handle: read it while the clipboard is open, never free it.
[[nodiscard]] HANDLE GetClipboardData(UINT uFormat);
// The same name (letter case aside) gives the same id, from CF_REGISTEREDFIRST up.
[[nodiscard]] UINT RegisterClipboardFormatA(LPCSTR lpszFormat);
// The registered name, truncated to fit; 0 for formats that are not registered.
int GetClipboardFormatNameA(UINT format, LPSTR lpszFormatName, int cchMaxCount);
[[nodiscard]] BOOL IsClipboardFormatAvailable(UINT format);
// The format after `format` (0 starts); 0 at the end. The clipboard must be open.
[[nodiscard]] UINT EnumClipboardFormats(UINT format);
[[nodiscard]] int CountClipboardFormats();
[[nodiscard]] HWND GetClipboardOwner();
[[nodiscard]] HWND GetOpenClipboardWindow();
