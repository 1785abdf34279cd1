#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/MessageBoxParts.h"

// The four message-box icons, drawn in the classic colours: a red disc with a white cross, a
// yellow triangle with "!", and white discs with a blue "i" or "?".

namespace winapi_user::detail {

namespace {

void DrawSymbol(HDC dc, const RECT& box, const char* symbol, COLORREF color, int offsetY)
{
    const GdiObject font(CreateFontA(-(box.bottom - box.top) * 3 / 4, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0,
                                     0, 0, 0, "Arial"));
    const SelectionGuard selectFont(dc, font.Get());
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, color);
    RECT rect = box;
    OffsetRect(&rect, 0, offsetY);
    (void)DrawTextA(dc, symbol, -1, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

void Disc(HDC dc, const RECT& box, COLORREF fill, COLORREF edge)
{
    const GdiObject brush(CreateSolidBrush(fill));
    const GdiObject pen(CreatePen(PS_SOLID, 1, edge));
    const SelectionGuard selectBrush(dc, brush.Get());
    const SelectionGuard selectPen(dc, pen.Get());
    (void)Ellipse(dc, box.left, box.top, box.right, box.bottom);
}

void Cross(HDC dc, const RECT& box)
{
    const int inset = (box.right - box.left) * 3 / 10;
    const GdiObject pen(CreatePen(PS_SOLID, 4, RGB(255, 255, 255)));
    const SelectionGuard selectPen(dc, pen.Get());
    (void)MoveToEx(dc, box.left + inset, box.top + inset, nullptr);
    (void)LineTo(dc, box.right - inset, box.bottom - inset);
    (void)MoveToEx(dc, box.right - inset - 1, box.top + inset, nullptr);
    (void)LineTo(dc, box.left + inset - 1, box.bottom - inset);
}

void Triangle(HDC dc, const RECT& box)
{
    const POINT points[3] = {{(box.left + box.right) / 2, box.top + 1}, {box.right - 1, box.bottom - 2},
                             {box.left, box.bottom - 2}};
    const GdiObject brush(CreateSolidBrush(RGB(255, 255, 0)));
    const GdiObject pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    const SelectionGuard selectBrush(dc, brush.Get());
    const SelectionGuard selectPen(dc, pen.Get());
    (void)Polygon(dc, points, 3);
}

} // namespace

void DrawMessageBoxIcon(HDC dc, const RECT& box, UINT icon)
{
    switch (icon) {
    case MB_ICONHAND:
        Disc(dc, box, RGB(255, 0, 0), RGB(128, 0, 0));
        Cross(dc, box);
        break;
    case MB_ICONEXCLAMATION:
        Triangle(dc, box);
        DrawSymbol(dc, box, "!", RGB(0, 0, 0), 3);
        break;
    case MB_ICONASTERISK:
        Disc(dc, box, RGB(255, 255, 255), RGB(0, 0, 128));
        DrawSymbol(dc, box, "i", RGB(0, 0, 255), 0);
        break;
    case MB_ICONQUESTION:
        Disc(dc, box, RGB(255, 255, 255), RGB(0, 0, 128));
        DrawSymbol(dc, box, "?", RGB(0, 0, 255), 0);
        break;
    default:
        break;
    }
}

} // namespace winapi_user::detail
