#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Icons and cursors: a colour image and a one-bit mask (1 = transparent), or a monochrome icon
// whose mask bitmap is twice as tall (AND mask above, XOR image below). An icon keeps its own
// copies of the bitmaps it is made from.

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};
using PICONINFO = ICONINFO*;

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = DI_MASK | DI_IMAGE;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

// The system icon size (SM_CXICON, SM_CYICON): DrawIcon and DI_DEFAULTSIZE draw at it.
constexpr int SystemIconSize = 32;

// NULL without a mask bitmap. An icon's hot spot is its centre, whatever `info` says.
[[nodiscard]] HICON CreateIconIndirect(const ICONINFO* info);
[[nodiscard]] HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
inline BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }
// Fills `info` with new copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON icon, PICONINFO info);

// DI_MASK ANDs the mask, DI_IMAGE XORs the image (each alone copies); DI_NORMAL does both, or
// blends when the colour image is 32 bits with alpha. A zero size is the icon's own, or the system
// icon size with DI_DEFAULTSIZE. With `flickerFree`, the rectangle is filled with it first.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFree,
                UINT flags);
// At the system icon size, as Win32 draws it.
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
