#include "grid/tools/ToolCtrlsGx.h"

#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <cstdlib>

namespace {

RECT WorkAreaNear(const RECT& rect)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT area{};
    (void)SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Opens downwards unless only the room above suffices, or neither does and there is more above.
int PlaceVertically(const RECT& editor, const RECT& area, TWinControl& dropDown)
{
    const int below = area.bottom - editor.bottom;
    const int above = editor.top - area.top;
    const int height = dropDown.Height();
    const bool upwards = (height > below && height <= above) || (height > below && height > above && above > below);
    if (upwards) {
        dropDown.SetHeight(std::min(height, above));
        (void)SendMessageA(dropDown.Handle(), WM_DROPDOWN_GRIPSIDE, ddsTop, 0);
        return editor.top - dropDown.Height();
    }
    dropDown.SetHeight(std::min(height, below));
    (void)SendMessageA(dropDown.Handle(), WM_DROPDOWN_GRIPSIDE, ddsBottom, 0);
    return editor.bottom;
}

int PlaceHorizontally(const RECT& editor, const RECT& area, TWinControl& dropDown, TDropDownAlign align)
{
    dropDown.SetWidth(std::min<int>(dropDown.Width(), area.right - area.left));
    const int width = dropDown.Width();
    int left = editor.left;
    if (align == ddaRight)
        left = editor.right - width;
    else if (align == ddaCenter)
        left = (editor.left + editor.right) / 2 - width / 2;
    int side = align == ddaRight ? ddsLeft : ddsRight;
    if (left + width > area.right) {
        left = area.right - width;
        side = ddsLeft;
    } else if (left < area.left) {
        left = area.left;
        side = ddsRight;
    }
    (void)SendMessageA(dropDown.Handle(), WM_DROPDOWN_GRIPSIDE, side, 0);
    return left;
}

} // namespace

RECT PlaceCheckBoxRect(RECT cell, TCheckBoxHorzPlace horz, TCheckBoxVertPlace vert)
{
    const int cellWidth = cell.right - cell.left;
    const int cellHeight = cell.bottom - cell.top;
    const int width = std::min(CheckBoxWidth(), cellWidth);
    const int height = std::min(CheckBoxHeight(), cellHeight);
    int left = cell.left;
    int top = cell.top;
    if (cellWidth > width) {
        if (horz == cbhRight)
            left = cell.right - width;
        else if (horz == cbhCenter)
            left = cell.left + cellWidth / 2 - width / 2;
    }
    if (cellHeight > height) {
        if (vert == cbvCenter)
            top = cell.top + cellHeight / 2 - height / 2;
        else if (vert == cbvBottom)
            top = cell.bottom - height;
    }
    return RECT{left, top, left + width, top + height};
}

int EditButtonHeightForWidth(int width, bool flat) { return flat ? (width * 3 + 1) / 2 : width; }

int DefaultFlatButtonWidth()
{
    static const int width = [] {
        const HDC screen = GetDC(nullptr);
        TEXTMETRICA metrics{};
        (void)GetTextMetricsA(screen, &metrics);
        (void)ReleaseDC(nullptr, screen);
        int result = (metrics.tmHeight * 2 + 1) / 3;
        if (result % 2 == 0)
            ++result;
        return std::min(result, GetSystemMetrics(SM_CXVSCROLL));
    }();
    return width;
}

TPoint PlaceDropDownRect(RECT editorScreenRect, TWinControl& dropDown, TDropDownAlign align)
{
    const RECT area = WorkAreaNear(editorScreenRect);
    const int top = PlaceVertically(editorScreenRect, area, dropDown);
    const int left = PlaceHorizontally(editorScreenRect, area, dropDown, align);
    return TPoint{left, top};
}

TPoint PlaceDropDownUnderEdit(TControl& editor, TWinControl& dropDown, TDropDownAlign align)
{
    const TPoint origin = editor.Parent() ? editor.Parent()->ClientToScreen(TPoint{editor.Left(), editor.Top()})
                                          : TPoint{editor.Left(), editor.Top()};
    return PlaceDropDownRect(RECT{origin.x, origin.y, origin.x + editor.Width(), origin.y + editor.Height()}, dropDown,
                             align);
}

bool IsDoubleClickPair(POINT first, POINT second, DWORD milliseconds)
{
    return milliseconds <= GetDoubleClickTime() && std::abs(second.x - first.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
           std::abs(second.y - first.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
}

namespace {

// The window a control's mouse messages come to, and the control's bounds in it.
HWND MouseWindow(TControl& control, RECT& bounds)
{
    if (auto* window = dynamic_cast<TWinControl*>(&control)) {
        bounds = window->ClientRect();
        return window->HandleAllocated() ? window->Handle() : nullptr;
    }
    bounds = control.BoundsRect();
    TWinControl* parent = control.Parent();
    return parent && parent->HandleAllocated() ? parent->Handle() : nullptr;
}

// A window control's own clicks count wherever they fall unless `clientAreaOnly`; a windowless
// control's clicks are those on its bounds in the parent.
bool TakeClick(TControl& control, bool clientAreaOnly)
{
    RECT bounds{};
    const HWND window = MouseWindow(control, bounds);
    if (!window)
        return false;
    MSG message{};
    if (!PeekMessageA(&message, window, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE))
        return false;
    if (message.message != WM_LBUTTONDOWN && message.message != WM_LBUTTONDBLCLK)
        return false;
    const POINT point{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
    const bool windowless = dynamic_cast<TWinControl*>(&control) == nullptr;
    if ((clientAreaOnly || windowless) && !PtInRect(&bounds, point))
        return false;
    (void)PeekMessageA(&message, window, message.message, message.message, PM_REMOVE);
    return true;
}

} // namespace

bool GridTakeMouseClick(TControl& grid) { return TakeClick(grid, true); }

bool ControlTakeMouseClick(TControl& control) { return TakeClick(control, false); }
