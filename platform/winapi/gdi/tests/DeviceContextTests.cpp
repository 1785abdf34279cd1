#include "platform/winapi/gdi/tests/GdiFixture.h"

#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/gdi/SurfaceDC.h"

#include <memory>

TEST(DeviceContext, SaveAndRestoreBringBackStateAndClip)
{
    Canvas canvas(20, 20);
    HDC dc = canvas.Dc();
    SetTextColor(dc, Red);
    const int level = SaveDC(dc);
    EXPECT_EQ(level, 1);
    SetTextColor(dc, Blue);
    SetViewportOrgEx(dc, 5, 5, nullptr);
    IntersectClipRect(dc, 0, 0, 2, 2);
    EXPECT_EQ(SaveDC(dc), 2);
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetTextColor(dc), Blue);
    EXPECT_TRUE(RestoreDC(dc, level));
    EXPECT_EQ(GetTextColor(dc), Red);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(GetClipRgn(dc, CreateRectRgn(0, 0, 0, 0)), 0);
    EXPECT_FALSE(RestoreDC(dc, 1));
}

TEST(DeviceContext, ViewportOriginShiftsDrawingAndClipBox)
{
    Canvas canvas(20, 20);
    SetViewportOrgEx(canvas.Dc(), 10, 5, nullptr);
    RECT r{0, 0, 2, 2};
    FillRect(canvas.Dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.At(10, 5), Black);
    EXPECT_EQ(canvas.At(0, 0), White);
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.Dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, -10);
    EXPECT_EQ(box.top, -5);
    EXPECT_EQ(box.right, 10);
}

TEST(DeviceContext, AnisotropicNegativeExtentMirrors)
{
    Canvas canvas(20, 4);
    HDC dc = canvas.Dc();
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1, 1, nullptr);
    SetViewportExtEx(dc, -1, 1, nullptr);
    SetViewportOrgEx(dc, 20, 0, nullptr);
    RECT r{0, 0, 3, 4};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.At(19, 0), Black);
    EXPECT_EQ(canvas.At(17, 0), Black);
    EXPECT_EQ(canvas.At(16, 0), White);
    EXPECT_EQ(canvas.At(0, 0), White);
    POINT p{0, 0};
    LPtoDP(dc, &p, 1);
    EXPECT_EQ(p.x, 20);
    SetMapMode(dc, MM_TEXT);
    SIZE ext{};
    GetViewportExtEx(dc, &ext);
    EXPECT_EQ(ext.cx, 1);
}

TEST(DeviceContext, CapsAndStockState)
{
    Canvas canvas(2, 2);
    EXPECT_EQ(GetDeviceCaps(canvas.Dc(), LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(canvas.Dc(), BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(canvas.Dc(), NUMCOLORS), -1);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BITMAP), canvas.Bitmap());
    EXPECT_EQ(GetNearestColor(canvas.Dc(), RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST(DeviceContext, StaleAndWrongHandlesFailCleanly)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(Red);
    EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(brush)) != nullptr, true);
    // Selected: DeleteObject only marks it; it stays usable until deselected.
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(SelectObject(dc, brush), nullptr);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(LineTo(dc, 1, 1));
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(0x1234), Red), CLR_INVALID);
    HRGN region = CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(region), GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_TRUE(DeleteObject(region));
    EXPECT_EQ(CombineRgn(region, region, region, RGN_OR), ERROR);
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), OBJ_BRUSH);
}

TEST(DeviceContext, BitmapIsInOneDcAtATime)
{
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_NE(SelectObject(first, bitmap), nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    DeleteDC(first);
    EXPECT_NE(SelectObject(second, bitmap), nullptr);
    DeleteDC(second);
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(DeviceContext, SurfaceDcDrawsAtItsOriginClippedToTheVisibleRegion)
{
    auto surface = std::make_shared<Surface>(40, 30);
    surface->Fill(0xFFFFFF);
    HRGN visible = CreateRectRgn(10, 10, 30, 20);
    HDC dc = CreateSurfaceDC(surface, POINT{10, 10}, visible);
    DeleteObject(visible);
    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(surface->Row(10)[10], 0u);
    EXPECT_EQ(surface->Row(19)[29], 0u);
    EXPECT_EQ(surface->Row(20)[29], 0xFFFFFFu);
    EXPECT_EQ(surface->Row(10)[9], 0xFFFFFFu);
    // A clip region is in DC coordinates and only narrows the visible region.
    HRGN clip = CreateRectRgn(-5, -5, 2, 2);
    EXPECT_EQ(SelectClipRgn(dc, clip), SIMPLEREGION);
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 2);
    EXPECT_TRUE(PtVisible(dc, 1, 1));
    EXPECT_FALSE(PtVisible(dc, 3, 1));
    DeleteObject(clip);
    EXPECT_TRUE(DeleteSurfaceDC(dc));
}
