#pragma once

#include "platform/winapi/user/WinUser.h"

// The built-in "ScrollBar" window class: a scroll bar control, answering the SBM_* messages (and
// so the SB_CTL calls), drawn and tracked like a window's own bars, reporting WM_HSCROLL or
// WM_VSCROLL to its parent with its handle in lParam.

constexpr const char* WC_SCROLLBARA = "ScrollBar";

constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
constexpr DWORD SBS_TOPALIGN = 0x0002;
constexpr DWORD SBS_LEFTALIGN = 0x0002;
constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
constexpr DWORD SBS_RIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOXTOPLEFTALIGN = 0x0002;
constexpr DWORD SBS_SIZEBOXBOTTOMRIGHTALIGN = 0x0004;
constexpr DWORD SBS_SIZEBOX = 0x0008;
constexpr DWORD SBS_SIZEGRIP = 0x0010;

// Registers "ScrollBar" once for the whole process; safe to call from any thread, any number of times.
void RegisterScrollBarClass();
