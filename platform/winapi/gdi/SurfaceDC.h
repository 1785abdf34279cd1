#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <memory>

class Surface;

// A DC on a window surface, for the window manager's GetDC/GetWindowDC/BeginPaint: logical (0, 0)
// is `origin` on the surface, and drawing is clipped to `visibleRegion` (surface coordinates,
// copied; 0 = the whole surface). SelectClipRgn and friends intersect with it, as in Win32.
[[nodiscard]] HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, HRGN visibleRegion);
BOOL DeleteSurfaceDC(HDC dc);

// The screen size GetDeviceCaps(HORZRES/VERTRES) reports; the display sets it at start-up.
void SetScreenSize(SIZE size);
