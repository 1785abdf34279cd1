#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A white 32-bit bitmap to draw on; pixels are read back through the canvas.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_bitmap.SetPixelFormat(pf32bit);
        m_bitmap.SetSize(40, 30);
    }
    TCanvas& Canvas() { return *m_bitmap.Canvas(); }
    TColor At(int x, int y) { return Canvas().Pixels(x, y); }
    int Count(TColor color, const TRect& area)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += At(x, y) == color;
        return n;
    }

    TBitmap m_bitmap;
};

TEST_F(CanvasTest, NewBitmapIsWhite)
{
    EXPECT_EQ(Count(clWhite, Rect(0, 0, 40, 30)), 40 * 30);
}

TEST_F(CanvasTest, RectangleUsesPenAndBrushAndClearBrushLeavesTheInside)
{
    Canvas().Pen()->SetColor(clRed);
    Canvas().Brush()->SetColor(clBlue);
    Canvas().Rectangle(2, 2, 10, 10);
    EXPECT_EQ(At(2, 2), clRed);
    EXPECT_EQ(At(9, 9), clRed);
    EXPECT_EQ(At(5, 5), clBlue);
    EXPECT_EQ(At(10, 10), clWhite) << "right and bottom are exclusive";

    Canvas().Brush()->SetStyle(bsClear);
    Canvas().Pen()->SetColor(clLime);
    Canvas().Rectangle(20, 2, 30, 10);
    EXPECT_EQ(At(20, 2), clLime);
    EXPECT_EQ(At(25, 5), clWhite);
}

TEST_F(CanvasTest, PenWidthAndLineEndPoint)
{
    Canvas().Pen()->SetWidth(3);
    Canvas().Pen()->SetColor(clNavy);
    Canvas().MoveTo(5, 10);
    Canvas().LineTo(30, 10);
    EXPECT_EQ(Count(clNavy, Rect(15, 0, 16, 30)), 3) << "a three-pixel-wide horizontal line";
    EXPECT_EQ(Canvas().PenPos().x, 30);

    Canvas().Pen()->SetWidth(1);
    Canvas().MoveTo(5, 20);
    Canvas().LineTo(10, 20);
    EXPECT_EQ(At(9, 20), clNavy);
    EXPECT_EQ(At(10, 20), clWhite) << "LineTo leaves out its end point";
}

TEST_F(CanvasTest, PenModeXorDrawsAndErases)
{
    Canvas().Brush()->SetColor(clYellow);
    Canvas().FillRect(Rect(0, 0, 40, 30));
    Canvas().Pen()->SetColor(clWhite);
    Canvas().Pen()->SetMode(pmXor);
    for (int pass = 0; pass < 2; ++pass) {
        Canvas().MoveTo(0, 5);
        Canvas().LineTo(40, 5);
        EXPECT_EQ(At(3, 5), pass == 0 ? clBlue : clYellow);
    }
}

TEST_F(CanvasTest, ChangesToSelectedObjectsTakeEffectAtOnce)
{
    Canvas().Brush()->SetColor(clRed);
    Canvas().FillRect(Rect(0, 0, 5, 5));
    Canvas().Brush()->SetColor(clGreen);
    Canvas().FillRect(Rect(5, 0, 10, 5));
    Canvas().Brush()->SetColor(clBtnFace);
    Canvas().FillRect(Rect(10, 0, 15, 5));
    EXPECT_EQ(At(1, 1), clRed);
    EXPECT_EQ(At(6, 1), clGreen);
    EXPECT_EQ(At(11, 1), TColor(GetSysColor(COLOR_BTNFACE)));

    Canvas().Brush()->SetColor(clBlack);
    Canvas().FrameRect(Rect(20, 10, 30, 20));
    EXPECT_EQ(At(20, 10), clBlack);
    EXPECT_EQ(At(29, 19), clBlack);
    EXPECT_EQ(At(25, 15), clWhite);
}

TEST_F(CanvasTest, PixelsReadAndWriteIncludingSystemColours)
{
    Canvas().SetPixels(3, 4, clPurple);
    Canvas().SetPixels(4, 4, clHighlight);
    EXPECT_EQ(At(3, 4), clPurple);
    EXPECT_EQ(At(4, 4), TColor(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST_F(CanvasTest, PolygonFillsWithBrushAndPolylineDoesNot)
{
    Canvas().Pen()->SetColor(clBlack);
    Canvas().Brush()->SetColor(clRed);
    const std::vector<TPoint> triangle{{2, 2}, {20, 2}, {2, 20}};
    Canvas().Polygon(triangle);
    EXPECT_EQ(At(5, 5), clRed);
    EXPECT_EQ(At(2, 10), clBlack);

    const std::vector<TPoint> open{{25, 2}, {38, 2}, {38, 20}};
    Canvas().Polyline(open);
    EXPECT_EQ(At(30, 2), clBlack);
    EXPECT_EQ(At(37, 5), clWhite);
}

TEST_F(CanvasTest, FocusRectInvertsAndDrawingItTwiceRestores)
{
    Canvas().DrawFocusRect(Rect(5, 5, 25, 15));
    const int changed = 40 * 30 - Count(clWhite, Rect(0, 0, 40, 30));
    EXPECT_GT(changed, 10);
    EXPECT_LT(changed, 2 * (20 + 10)) << "dotted, and only on the frame";
    EXPECT_EQ(At(15, 10), clWhite);
    Canvas().DrawFocusRect(Rect(5, 5, 25, 15));
    EXPECT_EQ(Count(clWhite, Rect(0, 0, 40, 30)), 40 * 30);
}

TEST_F(CanvasTest, TextOutDrawsWithinTextWidthAndMovesThePen)
{
    Canvas().Font()->SetName("Arial");
    Canvas().Font()->SetHeight(-13);
    Canvas().Font()->SetColor(clRed);
    Canvas().Brush()->SetStyle(bsClear);
    const int width = Canvas().TextWidth("HH");
    const int height = Canvas().TextHeight("HH");
    ASSERT_GT(width, 4);
    ASSERT_GT(height, 8);
    EXPECT_EQ(Canvas().TextExtent("HHHH").cx, 2 * width);

    Canvas().TextOut(3, 2, "HH");
    EXPECT_GT(Count(clRed, Rect(3, 2, 3 + width, 2 + height)), 5);
    EXPECT_EQ(Count(clRed, Rect(3 + width, 0, 40, 30)), 0);
    EXPECT_EQ(Canvas().PenPos().x, 3 + width);

    // TextRect clips to its rectangle and fills it while the brush is solid.
    Canvas().Brush()->SetColor(clYellow);
    Canvas().TextRect(Rect(0, 16, 6, 30), 3, 16, "HHHH");
    EXPECT_EQ(At(0, 28), clYellow);
    EXPECT_EQ(Count(clRed, Rect(6, 16, 40, 30)), 0);
}

TEST_F(CanvasTest, DrawingFiresOnChangingAndOnChange)
{
    std::vector<std::string> log;
    Canvas().SetOnChanging(TNotifyEvent::FromFunction([&](TObject*) { log.push_back("changing"); }));
    Canvas().SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { log.push_back("change"); }));
    Canvas().FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "change"}));
}

TEST_F(CanvasTest, CopyRectStretchesAndHonoursCopyMode)
{
    TBitmap source;
    source.SetPixelFormat(pf32bit);
    source.SetSize(2, 1);
    source.Canvas()->SetPixels(0, 0, clRed);
    source.Canvas()->SetPixels(1, 0, clBlue);
    Canvas().CopyRect(Rect(0, 0, 8, 4), source.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(At(3, 3), clRed);
    EXPECT_EQ(At(4, 0), clBlue);

    Canvas().SetCopyMode(cmNotSrcCopy);
    Canvas().CopyRect(Rect(10, 0, 12, 1), source.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(At(10, 0), clAqua);
}

TEST_F(CanvasTest, BrushCopyPaintsOneColourWithTheBrush)
{
    TBitmap source;
    source.SetPixelFormat(pf32bit);
    source.SetSize(3, 1);
    source.Canvas()->SetPixels(0, 0, clFuchsia);
    source.Canvas()->SetPixels(1, 0, clGreen);
    source.Canvas()->SetPixels(2, 0, clFuchsia);
    Canvas().Brush()->SetColor(clSilver);
    Canvas().BrushCopy(Rect(0, 0, 3, 1), &source, Rect(0, 0, 3, 1), clFuchsia);
    EXPECT_EQ(At(0, 0), clSilver);
    EXPECT_EQ(At(1, 0), clGreen);
    EXPECT_EQ(At(2, 0), clSilver);
}

// A 3 x 2 picture: top row red, green, blue; bottom row yellow, yellow, black.
void FillSample(TBitmap& bitmap)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 2);
    const TColor colours[2][3] = {{clRed, clGreen, clBlue}, {clYellow, clYellow, clBlack}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            bitmap.Canvas()->SetPixels(x, y, colours[y][x]);
}

TEST_F(CanvasTest, DrawAndStretchDrawABitmap)
{
    TBitmap sample;
    FillSample(sample);
    Canvas().Draw(10, 10, &sample);
    EXPECT_EQ(At(10, 10), clRed);
    EXPECT_EQ(At(12, 10), clBlue);
    EXPECT_EQ(At(12, 11), clBlack);
    EXPECT_EQ(At(13, 10), clWhite);

    Canvas().StretchDraw(Rect(20, 20, 26, 24), &sample);
    EXPECT_EQ(At(20, 20), clRed);
    EXPECT_EQ(At(21, 21), clRed);
    EXPECT_EQ(At(25, 23), clBlack);
}

TEST_F(CanvasTest, TransparentDrawLeavesOutTheTransparentColour)
{
    TBitmap sample;
    FillSample(sample);
    sample.SetTransparent(true);
    EXPECT_EQ(sample.TransparentMode(), tmAuto);
    EXPECT_EQ(sample.TransparentColor(), clYellow) << "the bottom-left pixel";
    Canvas().Draw(0, 0, &sample);
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(0, 1), clWhite);
    EXPECT_EQ(At(1, 1), clWhite);
    EXPECT_EQ(At(2, 1), clBlack);

    sample.SetTransparentColor(clGreen);
    EXPECT_EQ(sample.TransparentMode(), tmFixed);
    Canvas().Draw(10, 0, &sample);
    EXPECT_EQ(At(11, 0), clWhite);
    EXPECT_EQ(At(10, 1), clYellow);

    sample.SetTransparentMode(tmAuto);
    EXPECT_EQ(sample.TransparentColor(), clYellow);
}

TEST(CanvasWithoutDcTest, DrawingRaises)
{
    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidGraphicOperation);
}

} // namespace
