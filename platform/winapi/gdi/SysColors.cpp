#include "platform/winapi/gdi/SysColors.h"

#include "platform/winapi/gdi/Objects.h"

#include <array>
#include <mutex>

namespace detail = winapi_gdi::detail;

namespace {

constexpr int ColorCount = COLOR_MENUBAR + 1;

constexpr std::array<COLORREF, ColorCount> ClassicScheme = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(10, 36, 106),
    RGB(212, 208, 200)};

} // namespace

DWORD GetSysColor(int index)
{
    return index >= 0 && index < ColorCount ? ClassicScheme[std::size_t(index)] : 0;
}

HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= ColorCount)
        return nullptr;
    static std::mutex mutex;
    static std::array<HBRUSH, ColorCount> brushes{};
    std::lock_guard lock(mutex);
    HBRUSH& brush = brushes[std::size_t(index)];
    if (!brush)
        brush = static_cast<HBRUSH>(
            winapi_gdi::NewStockHandle(std::make_shared<BrushObject>(BS_SOLID, ClassicScheme[std::size_t(index)], 0)));
    return brush;
}

HBRUSH BrushFromSysColorValue(HBRUSH brush)
{
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= std::uintptr_t(ColorCount))
        return GetSysColorBrush(int(value) - 1);
    return brush;
}
