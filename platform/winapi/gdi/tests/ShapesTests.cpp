#include "platform/winapi/gdi/tests/GdiFixture.h"

#include "platform/winapi/gdi/SysColors.h"

TEST(Shapes, RectangleBorderAndInterior)
{
    Canvas canvas(20, 20);
    HBRUSH brush = CreateSolidBrush(Red);
    HGDIOBJ old = SelectObject(canvas.Dc(), brush);
    Rectangle(canvas.Dc(), 2, 2, 10, 8);
    EXPECT_EQ(canvas.At(2, 2), Black);
    EXPECT_EQ(canvas.At(9, 7), Black);
    EXPECT_EQ(canvas.At(10, 7), White);
    EXPECT_EQ(canvas.At(5, 5), Red);
    EXPECT_EQ(canvas.Count(Red), 6 * 4);
    // With no pen the fill stops one pixel short on the right and bottom.
    SelectObject(canvas.Dc(), GetStockObject(NULL_PEN));
    Rectangle(canvas.Dc(), 12, 12, 16, 16);
    EXPECT_EQ(canvas.Count(Red), 6 * 4 + 3 * 3);
    SelectObject(canvas.Dc(), old);
    DeleteObject(brush);
}

TEST(Shapes, PolygonFillModes)
{
    // A pentagram: its centre is inside with WINDING, outside with ALTERNATE.
    const POINT star[] = {{50, 5}, {79, 95}, {2, 39}, {98, 39}, {21, 95}};
    for (int mode : {ALTERNATE, WINDING}) {
        Canvas canvas(100, 100);
        SelectObject(canvas.Dc(), GetStockObject(NULL_PEN));
        SelectObject(canvas.Dc(), GetStockObject(BLACK_BRUSH));
        SetPolyFillMode(canvas.Dc(), mode);
        Polygon(canvas.Dc(), star, 5);
        EXPECT_EQ(canvas.At(50, 55), mode == WINDING ? Black : White);
        EXPECT_EQ(canvas.At(50, 30), Black);
        EXPECT_EQ(canvas.At(5, 90), White);
    }
}

TEST(Shapes, EllipseStaysInItsBox)
{
    Canvas canvas(30, 30);
    SelectObject(canvas.Dc(), GetStockObject(BLACK_BRUSH));
    Ellipse(canvas.Dc(), 5, 5, 25, 25);
    EXPECT_EQ(canvas.At(15, 15), Black);
    EXPECT_EQ(canvas.At(5, 5), White);
    EXPECT_EQ(canvas.At(15, 5), Black);
    EXPECT_EQ(canvas.At(15, 25), White);
}

TEST(Shapes, FillRectTakesSystemColourValuesAndFrameRectIsOnePixel)
{
    Canvas canvas(10, 10);
    RECT r{1, 1, 9, 9};
    FillRect(canvas.Dc(), &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(canvas.At(4, 4), GetSysColor(COLOR_BTNFACE));
    FrameRect(canvas.Dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.At(1, 4), Black);
    EXPECT_EQ(canvas.At(8, 4), Black);
    EXPECT_EQ(canvas.At(2, 4), GetSysColor(COLOR_BTNFACE));
    InvertRect(canvas.Dc(), &r);
    EXPECT_EQ(canvas.At(1, 4), White);
}

TEST(Shapes, HatchAndMonochromePatternBrushesUseDcColours)
{
    Canvas canvas(16, 16);
    const WORD bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH brush = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    SetTextColor(canvas.Dc(), Red);
    SetBkColor(canvas.Dc(), Blue);
    RECT r{0, 0, 16, 16};
    FillRect(canvas.Dc(), &r, brush);
    // 0x55 = 01010101: x = 0 is a 0 bit (text colour), x = 1 a 1 bit (background colour).
    EXPECT_EQ(canvas.At(0, 0), Red);
    EXPECT_EQ(canvas.At(1, 0), Blue);
    EXPECT_EQ(canvas.At(0, 1), Blue);
    EXPECT_EQ(canvas.At(8, 0), Red);
    DeleteObject(brush);

    Canvas hatched(8, 8);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, Red);
    SetBkMode(hatched.Dc(), TRANSPARENT);
    FillRect(hatched.Dc(), &r, hatch);
    EXPECT_EQ(hatched.Count(Red), 15);
    EXPECT_EQ(hatched.Count(White), 64 - 15);
    DeleteObject(hatch);
}
