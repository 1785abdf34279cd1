#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Icons.h"
#include "platform/winapi/user/Cursors.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/MessageSources.h"

#include <array>
#include <atomic>
#include <cstring>
#include <vector>

namespace detail = winapi_user::detail;

// Cursors. The standard ones are shared tokens standing for the display's standard shapes;
// cursors made from bitmaps are real icons (hot spot and planes), shown as the arrow because a
// display shows only its standard shapes.

namespace {

constexpr std::array STANDARD_CURSORS{
    StandardCursor::Arrow,    StandardCursor::IBeam,  StandardCursor::Wait,   StandardCursor::Cross,
    StandardCursor::UpArrow,  StandardCursor::SizeNWSE, StandardCursor::SizeNESW, StandardCursor::SizeWE,
    StandardCursor::SizeNS,   StandardCursor::SizeAll, StandardCursor::No,    StandardCursor::Hand,
    StandardCursor::AppStarting, StandardCursor::Help,
};

// Addresses in this array are the standard cursors' handles: never a GDI handle.
std::array<char, STANDARD_CURSORS.size()> g_standardTokens{};

std::atomic<HCURSOR> g_current{nullptr};
std::atomic<int> g_showCount{0};

HCURSOR StandardHandle(std::size_t index)
{
    return reinterpret_cast<HCURSOR>(&g_standardTokens[index]);
}

StandardCursor ShapeOf(HCURSOR cursor)
{
    const auto* token = reinterpret_cast<const char*>(cursor);
    if (token >= g_standardTokens.data() && token < g_standardTokens.data() + g_standardTokens.size())
        return STANDARD_CURSORS[static_cast<std::size_t>(token - g_standardTokens.data())];
    return StandardCursor::Arrow;
}

HCURSOR Standard(StandardCursor shape)
{
    for (std::size_t index = 0; index < STANDARD_CURSORS.size(); ++index)
        if (STANDARD_CURSORS[index] == shape)
            return StandardHandle(index);
    return StandardHandle(0);
}

// The top-level window the pointer is over (or that has the capture).
HWND PointerTopLevel()
{
    HWND target = GetCapture();
    if (!target) {
        POINT pt{};
        (void)GetCursorPos(&pt);
        target = WindowFromPoint(pt);
    }
    if (!target)
        target = GetActiveWindow();
    return target ? GetAncestor(target, GA_ROOT) : nullptr;
}

StandardCursor SizingShape(SHORT hit)
{
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
        return StandardCursor::SizeWE;
    case HTTOP:
    case HTBOTTOM:
        return StandardCursor::SizeNS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return StandardCursor::SizeNWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return StandardCursor::SizeNESW;
    default:
        return StandardCursor::Arrow;
    }
}

} // namespace

namespace winapi_user::detail {

void SetCursorForHit(const Window& window, SHORT hit, WORD mouseMessage)
{
    if (hit == HTCLIENT) {
        if (window.windowClass->cursor)
            (void)SetCursor(window.windowClass->cursor);
        return;
    }
    if (hit == HTERROR) {
        if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN || mouseMessage == WM_MBUTTONDOWN)
            (void)MessageBeep(0);
        return;
    }
    (void)SetCursor(Standard(SizingShape(hit)));
}

} // namespace winapi_user::detail

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (hInstance || !IS_INTRESOURCE(lpCursorName)) {
        // Cursor resources of the program are loaded by the class library's resource layer.
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const auto id = static_cast<int>(reinterpret_cast<ULONG_PTR>(lpCursorName));
    for (std::size_t index = 0; index < STANDARD_CURSORS.size(); ++index)
        if (static_cast<int>(STANDARD_CURSORS[index]) == id)
            return StandardHandle(index);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR CreateCursor(HINSTANCE /*hInst*/, int xHotSpot, int yHotSpot, int nWidth, int nHeight, const void* pvANDPlane,
                     const void* pvXORPlane)
{
    if (nWidth <= 0 || nHeight <= 0 || !pvANDPlane || !pvXORPlane) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const GdiObject mask(CreateBitmap(nWidth, nHeight, 1, 1, pvANDPlane));
    const GdiObject image(CreateBitmap(nWidth, nHeight, 1, 1, pvXORPlane));
    ICONINFO info{FALSE, static_cast<DWORD>(xHotSpot), static_cast<DWORD>(yHotSpot), mask.Get(), image.Get()};
    return CreateIconIndirect(&info);
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    const HCURSOR previous = g_current.exchange(hCursor);
    if (previous != hCursor && hCursor)
        if (const HWND top = PointerTopLevel())
            Display().SetCursor(detail::WindowIdOf(top), ShapeOf(hCursor));
    return previous;
}

HCURSOR GetCursor()
{
    return g_current;
}

int ShowCursor(BOOL bShow)
{
    // The count is kept as Win32 keeps it; the display has no hidden pointer to show.
    return bShow ? ++g_showCount : --g_showCount;
}

BOOL SetCursorPos(int X, int Y)
{
    // The pointer is not warped on the screen; the window system's idea of it moves.
    detail::NoteCursorPos(POINT{X, Y});
    return TRUE;
}
