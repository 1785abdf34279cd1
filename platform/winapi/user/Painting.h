#pragma once

#include "platform/winapi/user/MessageQueue.h"
#include "platform/winapi/user/Window.h"

#include <optional>

// What the painting modules share: update regions, visible regions and DCs, presenting, and the
// default drawing of the non-client area.
namespace winapi_user::detail {

// Regions as GDI handles and back.
[[nodiscard]] HRGN NewRegionHandle(const Region& region);
[[nodiscard]] std::optional<Region> RegionOfHandle(HRGN handle);
[[nodiscard]] Region Offset(Region region, int dx, int dy);
[[nodiscard]] Region Intersect(const Region& a, const Region& b);
[[nodiscard]] Region Subtract(const Region& a, const Region& b);
[[nodiscard]] Region Unite(const Region& a, const Region& b);

[[nodiscard]] std::shared_ptr<Window> TopLevelOf(const Window& window);
// The window's outline in screen coordinates: its rectangle, cut by its region.
[[nodiscard]] Region ScreenShape(const Window& window);
// Whether a screen point falls inside the window's region (true when it has none).
[[nodiscard]] bool ShapeContains(const Window& window, POINT screenPoint);

// PaintDC.cpp: a DC on the window's surface as GetDCEx makes it; the regions are in screen
// coordinates, as GetDCEx's and WM_NCPAINT's are.
[[nodiscard]] HDC OpenWindowDC(HWND hwnd, DWORD flags, const std::optional<Region>& intersect,
                               const std::optional<Region>& exclude);
// A client-coordinate region of the window in screen coordinates.
[[nodiscard]] Region ClientToScreenRegion(const Window& window, const Region& region);
// What of the client area a DC (with the window's clipping styles) can see, client coordinates.
[[nodiscard]] Region VisibleClientRegion(const Window& window);
void MarkDirty(Window& top, const Region& surfaceArea);
// Shows on the display what the calling thread's windows painted since the last call.
void PresentDirtySurfaces();

// UpdateRegion.cpp
[[nodiscard]] bool TakeUpdatePaint(const MessageFilter& filter, MSG& out);
// A move, size, show, hide or z-order change: what became visible is invalidated.
void RepaintAfterPositionChange(Window& window, const RECT& oldWindowRect, bool wasVisible, UINT flags);
[[nodiscard]] bool NeedsPaint(const Window& window);

// NonClientPaint.cpp: the classic frame, caption and scroll bars into a window DC.
void DrawNonClient(const Window& window, HDC windowDC, bool active);
// Whether the caption is drawn active (WM_NCACTIVATE's state).
[[nodiscard]] bool IsCaptionActive(const Window& window);
void SetCaptionActive(HWND hwnd, bool active);
void ForgetCaptionState(HWND hwnd);

// Print.cpp: DefWindowProc's WM_PRINT.
void DefaultPrint(HWND hwnd, HDC dc, LPARAM flags);

// Caret.cpp: BeginPaint hides the caret of the window it paints and EndPaint shows it again.
void HideCaretForPaint(HWND hwnd);
void ShowCaretAfterPaint(HWND hwnd);
void ForgetCaret(HWND hwnd);

} // namespace winapi_user::detail
