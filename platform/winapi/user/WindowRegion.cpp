#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/DisplayLink.h"
#include "platform/winapi/user/Painting.h"

namespace detail = winapi_user::detail;

// Window regions: the window keeps a copy and deletes the handle it was given, as Win32's
// window owns it. Painting and hit-testing follow the region, and a top-level window's shape on
// the display too.

namespace winapi_user::detail {

void MirrorShape(Window& window)
{
    if (!window.announced)
        return;
    if (!window.shape)
        Display().SetShape(WindowIdOf(window.handle), std::nullopt);
    else
        Display().SetShape(WindowIdOf(window.handle), window.shape->Rects());
}

} // namespace winapi_user::detail

int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw)
{
    const auto window = detail::FindOwnWindow(hWnd);
    std::optional<Region> region;
    if (hRgn && !(region = detail::RegionOfHandle(hRgn)))
        return 0;
    if (!window)
        return 0;
    if (hRgn)
        (void)DeleteObject(hRgn);
    const Region before = detail::ScreenShape(*window);
    window->shape = std::move(region);
    detail::MirrorShape(*window);
    (void)SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (bRedraw ? 0 : SWP_NOREDRAW));
    if (!bRedraw || !IsWindow(hWnd) || !(window->style & WS_VISIBLE))
        return 1;
    (void)RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    // What the old shape covered and the new one does not belongs to the parent again.
    const auto parent = detail::FindWindowObject(window->parent);
    if (parent && !detail::IsTopLevel(*window)) {
        const RECT client = detail::ScreenClientRect(*parent);
        const Region uncovered =
            detail::Offset(detail::Subtract(before, detail::ScreenShape(*window)), -client.left, -client.top);
        const GdiObject area(detail::NewRegionHandle(uncovered));
        (void)RedrawWindow(parent->handle, nullptr, area.Get(), RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    return 1;
}

int GetWindowRgn(HWND hWnd, HRGN hRgn)
{
    const auto window = detail::FindWindowObject(hWnd);
    if (!window || !window->shape)
        return ERROR;
    const GdiObject copy(detail::NewRegionHandle(*window->shape));
    return CombineRgn(hRgn, copy.Get(), nullptr, RGN_COPY);
}
