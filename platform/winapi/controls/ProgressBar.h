#pragma once

#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/gdi/ImageLists.h"

// "msctls_progress32": a sunken bar filled in proportion to a position within a range, in
// blocks (the classic look) or smoothly, left to right or bottom to top.
inline constexpr const char* PROGRESS_CLASSA = "msctls_progress32";

// Idempotent and safe from any thread.
void RegisterProgressBarClass();

constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;
// CLR_DEFAULT (ImageLists.h) restores the system colour.
constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;
constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;
constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;

// PBM_GETRANGE fills one when lParam is not null; wParam TRUE answers the low limit, else the high.
struct PBRANGE {
    int iLow;
    int iHigh;
};
using PPBRANGE = PBRANGE*;
