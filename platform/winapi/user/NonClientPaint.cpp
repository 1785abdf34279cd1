#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Icons.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/Menus.h"
#include "platform/winapi/user/NonClient.h"
#include "platform/winapi/user/Painting.h"
#include "platform/winapi/user/ScrollBars.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>

namespace detail = winapi_user::detail;

// The classic non-client look: a raised frame (or a thin line), the caption with its colour
// gradient, small icon, bold title and system buttons, the client edge and the scroll bars.

namespace {

std::mutex g_activeMutex;
// Never destroyed: windows freed at program exit (the class library's Application and its forms)
// still reach it after static destructors have begun.
std::set<HWND>& g_activeCaptions = *new std::set<HWND>;

// The caption font of the system metrics, as every other caption painter takes it.
HFONT CaptionFont()
{
    static const HFONT font = [] {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectA(&metrics.lfCaptionFont);
    }();
    return font;
}

void Fill(HDC dc, const RECT& rect, int colorIndex)
{
    (void)FillRect(dc, &rect, GetSysColorBrush(colorIndex));
}

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps)
{
    const auto channel = [&](int shift) {
        const int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
        return static_cast<COLORREF>(a + (b - a) * step / std::max(steps, 1)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

// Left to right from the caption colour to its gradient partner, in runs of one colour.
void FillGradient(HDC dc, const RECT& rect, int fromIndex, int toIndex)
{
    const COLORREF from = GetSysColor(fromIndex), to = GetSysColor(toIndex);
    const int width = rect.right - rect.left;
    const SelectionGuard selectBrush(dc, GetStockObject(DC_BRUSH));
    for (int x = 0; x < width;) {
        const COLORREF color = Blend(from, to, x, width - 1);
        int run = 1;
        while (x + run < width && Blend(from, to, x + run, width - 1) == color)
            ++run;
        (void)SetDCBrushColor(dc, color);
        (void)PatBlt(dc, rect.left + x, rect.top, run, rect.bottom - rect.top, PATCOPY);
        x += run;
    }
}

// Returns what is left inside the frame.
RECT DrawFrame(HDC dc, const detail::Window& window, const detail::NonClientLayout& layout, bool active)
{
    RECT rect = layout.outer;
    if (layout.border == 1) {
        (void)FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rect, -1, -1);
        return rect;
    }
    if (layout.border < 2)
        return rect;
    (void)DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
    const int ring = layout.border - 2;
    const int color = (window.style & WS_THICKFRAME) ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_3DFACE;
    for (int step = 0; step < ring; ++step) {
        (void)FrameRect(dc, &rect, GetSysColorBrush(color));
        InflateRect(&rect, -1, -1);
    }
    return rect;
}

// The icon the system provides for a window that brings none: a small window with a blue title
// bar, its outline dark, the rest of the square see-through.
HICON DrawDefaultIcon()
{
    constexpr int Size = 16;
    std::array<std::uint32_t, Size * Size> pixels{};
    std::array<std::uint8_t, 2 * Size> mask{}; // rows of one 16-bit word; a set bit lets through
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const bool outline = x >= 1 && x <= 14 && y >= 2 && y <= 13;
            const bool inside = x >= 2 && x <= 13 && y >= 3 && y <= 12;
            if (!outline) {
                mask[static_cast<std::size_t>(y * 2 + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                continue;
            }
            const std::uint32_t titleBlue = 0x143C8C + static_cast<std::uint32_t>(x - 2) * 0x060806;
            pixels[static_cast<std::size_t>(y * Size + x)] =
                0xFF000000u | (!inside ? 0x2C3E5Cu : y <= 5 ? titleBlue : 0xFFFFFFu);
        }
    const GdiObject colour(CreateBitmap(Size, Size, 1, 32, pixels.data()));
    const GdiObject see(CreateBitmap(Size, Size, 1, 1, mask.data()));
    const ICONINFO info{TRUE, 0, 0, see.Get(), colour.Get()};
    return CreateIconIndirect(&info);
}

HICON SmallIcon(const detail::Window& window)
{
    if (window.smallIcon)
        return window.smallIcon;
    if (window.windowClass->smallIcon)
        return window.windowClass->smallIcon;
    if (const HICON own = window.bigIcon ? window.bigIcon : window.windowClass->icon)
        return own;
    static const HICON provided = DrawDefaultIcon();
    return provided;
}

void DrawButton(HDC dc, const RECT& where, UINT kind)
{
    if (where.right <= where.left)
        return;
    RECT rect = where;
    (void)DrawFrameControl(dc, &rect, DFC_CAPTION, kind);
}

void DrawCaption(HDC dc, const detail::Window& window, const detail::NonClientLayout& layout, bool active)
{
    RECT band = layout.caption;
    band.bottom -= 1;
    Fill(dc, RECT{band.left, band.bottom, band.right, band.bottom + 1}, COLOR_3DFACE);
    FillGradient(dc, band, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION,
                 active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    RECT text = band;
    text.left += 2;
    if (layout.icon.right > layout.icon.left) {
        if (const HICON icon = SmallIcon(window))
            (void)DrawIconEx(dc, layout.icon.left, layout.icon.top, icon, layout.icon.right - layout.icon.left,
                             layout.icon.bottom - layout.icon.top, 0, nullptr, DI_NORMAL);
        text.left = layout.icon.right + 2;
    }
    DrawButton(dc, layout.closeButton, DFCS_CAPTIONCLOSE);
    DrawButton(dc, layout.maxButton, ((window.style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                                         ((window.style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE));
    DrawButton(dc, layout.minButton, ((window.style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                                         ((window.style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE));
    const RECT& first = layout.minButton.right > layout.minButton.left ? layout.minButton : layout.closeButton;
    text.right = first.right > first.left ? first.left - 2 : band.right - 2;
    const SelectionGuard selectFont(dc, CaptionFont());
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    (void)DrawTextA(dc, window.text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    (void)SetTextColor(dc, previousColor);
    (void)SetBkMode(dc, previousMode);
}

void DrawClientEdge(HDC dc, const detail::Window& window, const detail::NonClientLayout& layout)
{
    RECT rect = layout.edged;
    if (window.exStyle & WS_EX_CLIENTEDGE)
        (void)DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (window.exStyle & WS_EX_STATICEDGE)
        (void)DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

} // namespace

namespace winapi_user::detail {

bool IsCaptionActive(const Window& window)
{
    std::lock_guard lock(g_activeMutex);
    return g_activeCaptions.contains(window.handle);
}

void SetCaptionActive(HWND hwnd, bool active)
{
    std::lock_guard lock(g_activeMutex);
    if (active)
        g_activeCaptions.insert(hwnd);
    else
        g_activeCaptions.erase(hwnd);
}

void ForgetCaptionState(HWND hwnd)
{
    SetCaptionActive(hwnd, false);
}

void DrawNonClient(const Window& window, HDC dc, bool active)
{
    const RECT outer{0, 0, window.windowRect.right - window.windowRect.left,
                     window.windowRect.bottom - window.windowRect.top};
    const NonClientLayout layout = LayoutNonClient(window, outer);
    (void)DrawFrame(dc, window, layout, active);
    if (layout.caption.bottom > layout.caption.top)
        DrawCaption(dc, window, layout, active);
    if (!IsRectEmpty(&layout.menuBar))
        PaintMenuBar(dc, window.menu, layout.menuBar, MenuBarHot(window.handle));
    DrawClientEdge(dc, window, layout);
    if (layout.vscroll.right > layout.vscroll.left)
        DrawScrollBar(dc, window, SB_VERT, PressedPart(window.handle, SB_VERT));
    if (layout.hscroll.right > layout.hscroll.left)
        DrawScrollBar(dc, window, SB_HORZ, PressedPart(window.handle, SB_HORZ));
    if (layout.sizeBox.right > layout.sizeBox.left)
        Fill(dc, layout.sizeBox, COLOR_3DFACE);
}

} // namespace winapi_user::detail
