#include "platform/winapi/gdi/GdiObjects.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/user/Painting.h"

namespace winapi_user::detail {

HRGN NewRegionHandle(const Region& region)
{
    return static_cast<HRGN>(winapi_gdi::NewGdiHandle(std::make_shared<RegionObject>(region)));
}

std::optional<Region> RegionOfHandle(HRGN handle)
{
    const auto object = winapi_gdi::LookupGdi<RegionObject>(handle);
    if (!object)
        return std::nullopt;
    return object->region;
}

Region Offset(Region region, int dx, int dy)
{
    region.Offset(dx, dy);
    return region;
}

Region Intersect(const Region& a, const Region& b)
{
    return Region::Combine(a, b, RGN_AND);
}

Region Subtract(const Region& a, const Region& b)
{
    return Region::Combine(a, b, RGN_DIFF);
}

Region Unite(const Region& a, const Region& b)
{
    return Region::Combine(a, b, RGN_OR);
}

std::shared_ptr<Window> TopLevelOf(const Window& window)
{
    auto current = FindWindowObject(window.handle);
    while (current && current.get() != &Desktop() && !IsTopLevel(*current))
        current = FindWindowObject(current->parent);
    return current && current.get() != &Desktop() ? current : nullptr;
}

Region ScreenShape(const Window& window)
{
    const RECT rect = ScreenWindowRect(window);
    if (!window.shape)
        return Region(rect);
    return Intersect(Region(rect), Offset(*window.shape, rect.left, rect.top));
}

Region ClientToScreenRegion(const Window& window, const Region& region)
{
    const RECT client = ScreenClientRect(window);
    return Offset(region, client.left, client.top);
}

bool ShapeContains(const Window& window, POINT screenPoint)
{
    if (!window.shape)
        return true;
    const RECT rect = ScreenWindowRect(window);
    return window.shape->Contains(screenPoint.x - rect.left, screenPoint.y - rect.top);
}

} // namespace winapi_user::detail
