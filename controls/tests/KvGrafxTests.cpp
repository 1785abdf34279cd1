#include "controls/KvGrafx.h"

#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr TColor Sentinel = clFuchsia;
constexpr TColor Start = clWhite;
constexpr TColor Stop = clBlack;

// A 32-bit bitmap of the sentinel colour to paint on; pixels are read back through its canvas.
class PaintTest : public ::testing::Test {
protected:
    void Prepare(int width, int height, TColor fill = Sentinel)
    {
        m_bitmap.SetPixelFormat(pf32bit);
        m_bitmap.SetSize(width, height);
        Canvas().Brush()->SetColor(fill);
        Canvas().FillRect(Rect(0, 0, width, height));
    }
    TCanvas& Canvas() { return *m_bitmap.Canvas(); }
    TColor At(int x, int y) { return Canvas().Pixels(x, y); }
    // How far from the start colour (0) toward the stop colour (1) a white-to-black pixel is.
    double Progress(int x, int y) { return 1.0 - GetRValue(static_cast<COLORREF>(At(x, y))) / 255.0; }
    int Count(TColor colour)
    {
        int n = 0;
        for (int y = 0; y < m_bitmap.Height(); ++y)
            for (int x = 0; x < m_bitmap.Width(); ++x)
                n += At(x, y) == colour;
        return n;
    }

    TBitmap m_bitmap;
};

struct Spot {
    double fx, fy; // fractions of the last column and row
};
struct GradientCase {
    TGradientDirection direction;
    const char* name;
    Spot start;
    Spot stop;
};

// Where each style puts its start and stop colours.
const GradientCase GradientCases[] = {
    {gdDiagonalUp, "DiagonalUp", {0, 1}, {1, 0}},
    {gdDiagonalDown, "DiagonalDown", {0, 0}, {1, 1}},
    {gdHorizontalEnd, "HorizontalEnd", {0.5, 0}, {0.5, 1}},
    {gdHorizontalCenter, "HorizontalCenter", {0.5, 0}, {0.5, 0.5}},
    {gdHorizontalBox, "HorizontalBox", {0.5, 0}, {0.5, 0.5}},
    {gdVerticalEnd, "VerticalEnd", {0, 0.5}, {1, 0.5}},
    {gdVerticalCenter, "VerticalCenter", {1, 0.5}, {0.5, 0.5}},
    {gdVerticalBox, "VerticalBox", {0, 0.5}, {0.5, 0.5}},
    {gdSquareBox, "SquareBox", {0, 0}, {0.5, 0.5}},
    {gdBigSquareBox, "BigSquareBox", {1, 1}, {0.5, 0.5}},
};

TEST_F(PaintTest, EveryGradientCoversItsRectangleAndRunsFromStartToStop)
{
    for (const SIZE size : {SIZE{40, 30}, SIZE{41, 31}, SIZE{9, 7}, SIZE{120, 17}}) {
        for (const GradientCase& c : GradientCases) {
            SCOPED_TRACE(testing::Message() << c.name << " " << size.cx << "x" << size.cy);
            Prepare(size.cx, size.cy);
            DrawGradientRect(Canvas(), Rect(0, 0, size.cx, size.cy), c.direction, Start, Stop, 1);
            EXPECT_EQ(Count(Sentinel), 0);
            if (size.cy < 10)
                continue; // too few steps for the ends to come near their colours
            auto at = [&](Spot s) {
                return Progress(static_cast<int>(s.fx * (size.cx - 1)), static_cast<int>(s.fy * (size.cy - 1)));
            };
            EXPECT_LT(at(c.start), 0.3);
            EXPECT_GT(at(c.stop), 0.7);
        }
    }
}

TEST_F(PaintTest, DiagonalStripesRunAlongTheOtherDiagonal)
{
    const struct {
        TGradientDirection direction;
        Spot ends[2]; // the corners the stripes run between, half-way from start to stop
    } cases[] = {
        {gdDiagonalUp, {{0, 0}, {1, 1}}},
        {gdDiagonalDown, {{1, 0}, {0, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.direction);
        Prepare(60, 40);
        DrawGradientRect(Canvas(), Rect(0, 0, 60, 40), c.direction, Start, Stop, 1);
        for (const Spot s : c.ends) {
            const double progress = Progress(static_cast<int>(s.fx * 59), static_cast<int>(s.fy * 39));
            EXPECT_GT(progress, 0.35);
            EXPECT_LT(progress, 0.65);
        }
    }
}

TEST_F(PaintTest, StopColourLandsExactlyOnTheEndOrCentreLine)
{
    struct Case {
        TGradientDirection direction;
        int width, height;
        POINT stop;
        POINT before; // the line before it, already on the way
    } cases[] = {
        {gdHorizontalEnd, 20, 31, {3, 30}, {3, 29}},    {gdHorizontalCenter, 20, 31, {3, 15}, {3, 14}},
        {gdHorizontalCenter, 20, 30, {3, 15}, {3, 14}}, {gdVerticalEnd, 25, 10, {24, 4}, {23, 4}},
        {gdVerticalCenter, 25, 10, {12, 4}, {11, 4}},   {gdSquareBox, 21, 21, {10, 10}, {7, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        Prepare(c.width, c.height);
        DrawGradientRect(Canvas(), Rect(0, 0, c.width, c.height), c.direction, clRed, clBlue, 1);
        EXPECT_EQ(At(c.stop.x, c.stop.y), clBlue);
        EXPECT_NE(At(c.before.x, c.before.y), clBlue);
    }
}

TEST_F(PaintTest, EqualColoursAndSmallBoxesAreOneSolidFill)
{
    for (const GradientCase& c : GradientCases) {
        SCOPED_TRACE(c.name);
        Prepare(33, 21);
        DrawGradientRect(Canvas(), Rect(0, 0, 33, 21), c.direction, clTeal, clTeal, 16);
        EXPECT_EQ(Count(clTeal), 33 * 21);
    }
    for (const TGradientDirection box : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
        SCOPED_TRACE(box);
        Prepare(30, 4);
        DrawGradientRect(Canvas(), Rect(0, 0, 30, 4), box, clRed, clBlue, 1);
        EXPECT_EQ(Count(clRed), 30 * 4);
    }
}

TEST_F(PaintTest, GradientTakesItsSizeFromEitherCornerOrderAndSkipsEmptyRectangles)
{
    Prepare(60, 40);
    DrawGradientRect(Canvas(), Rect(10, 10, 10, 30), gdSquareBox, clRed, clBlue, 1);
    DrawGradientRect(Canvas(), Rect(10, 10, 30, 10), gdSquareBox, clRed, clBlue, 1);
    EXPECT_EQ(Count(Sentinel), 60 * 40);

    DrawGradientRect(Canvas(), Rect(30, 20, 10, 5), gdHorizontalEnd, clRed, clBlue, 1);
    EXPECT_EQ(At(29, 19), Sentinel);
    EXPECT_NE(At(30, 20), Sentinel);
    EXPECT_NE(At(49, 34), Sentinel);
    EXPECT_EQ(At(50, 34), Sentinel);
    EXPECT_EQ(At(49, 35), Sentinel);
}

TEST_F(PaintTest, ColorStepsDecideHowManyLinesABandMerges)
{
    struct Case {
        std::uint8_t colorSteps;
        int linesPerBand;
    } cases[] = {{0, 1}, {1, 1}, {255, 2}, {16, 16}, {8, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.colorSteps));
        Prepare(8, 64);
        FillLinearBands(Canvas().Handle(), 0, -1, 64, clWhite, clBlack, c.colorSteps);
        std::vector<int> runs{1};
        for (int y = 1; y < 64; ++y) {
            if (At(0, y) == At(0, y - 1))
                ++runs.back();
            else
                runs.push_back(1);
        }
        // The band at the top is what is left over.
        runs.erase(runs.begin());
        for (const int run : runs)
            EXPECT_EQ(run, c.linesPerBand);
    }
}

TEST_F(PaintTest, ReplicateBlockFillsTheAreaFromItsPattern)
{
    for (const SIZE size : {SIZE{8, 5}, SIZE{37, 3}, SIZE{8, 40}, SIZE{53, 29}}) {
        Prepare(size.cx, size.cy);
        Canvas().Brush()->SetColor(clGreen);
        Canvas().FillRect(Rect(0, 0, 3, 2));
        ReplicateBlock(Canvas().Handle(), 0, 0, size.cx, size.cy, 3, 2, SRCCOPY);
        EXPECT_EQ(Count(clGreen), size.cx * size.cy) << size.cx << "x" << size.cy;
    }
}

TEST_F(PaintTest, MaskedBitmapLeavesTheTransparentColourOut)
{
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(12, 10);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(Rect(0, 0, 12, 10));
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect(Rect(4, 3, 8, 6));

    Prepare(12, 10, clNavy);
    DrawMaskedBitmap(Canvas(), picture, Rect(0, 0, 12, 10), Rect(0, 0, 12, 10), clFuchsia);
    EXPECT_EQ(At(0, 0), clNavy);
    EXPECT_EQ(At(3, 3), clNavy);
    EXPECT_EQ(At(4, 3), clLime);
    EXPECT_EQ(At(7, 5), clLime);
    EXPECT_EQ(At(8, 5), clNavy);

    // A part of the picture lands at the origin.
    Prepare(12, 10, clNavy);
    DrawMaskedBitmap(Canvas(), picture, Rect(0, 0, 6, 5), Rect(4, 3, 10, 8), clFuchsia);
    EXPECT_EQ(At(0, 0), clLime);
    EXPECT_EQ(At(3, 2), clLime);
    EXPECT_EQ(At(4, 2), clNavy);
    EXPECT_EQ(At(0, 3), clNavy);
}

TEST_F(PaintTest, FlipBitmapRowsTurnsThePictureUpsideDown)
{
    const TColor rows[] = {clRed, clLime, clBlue, clYellow, clTeal};
    Prepare(3, 5);
    for (int y = 0; y < 5; ++y)
        Canvas().SetPixels(1, y, rows[y]);
    FlipBitmapRows(m_bitmap);
    ASSERT_EQ(m_bitmap.Width(), 3);
    ASSERT_EQ(m_bitmap.Height(), 5);
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(At(1, y), rows[4 - y]);
        EXPECT_EQ(At(0, y), Sentinel);
    }
}

// A parent that paints a blue square over its colour.
class PaintedParent : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(10, 10, 20, 20));
    }
};

// A see-through child: its background is whatever the parent shows, then one pixel of its own.
class SeeThroughChild : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        PaintParentBackgroundOnCanvas(*this, *Canvas(), false);
        Canvas()->SetPixels(Width() - 1, Height() - 1, clLime);
    }
};

TEST_F(PaintTest, ParentBackgroundIsPaintedAtTheControlsOffsetAndClippedToTheParent)
{
    PaintedParent parent(nullptr);
    parent.SetBounds(0, 0, 30, 30);
    parent.SetColor(clRed);
    SeeThroughChild child(nullptr);
    child.SetBounds(5, 5, 20, 20);
    child.SetParent(&parent);

    Prepare(40, 40);
    PaintParentBackground(child, Canvas().Handle(), false);
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(4, 4), clRed);
    EXPECT_EQ(At(5, 5), clBlue);
    EXPECT_EQ(At(14, 14), clBlue);
    EXPECT_EQ(At(15, 15), clRed);
    EXPECT_EQ(At(24, 24), clRed);
    EXPECT_EQ(At(25, 25), Sentinel); // beyond the parent's client area
    // The parent painted the child too, and the child's own request from inside that paint
    // did not start another round.
    EXPECT_EQ(child.Paints, 1);
    EXPECT_EQ(At(19, 19), clLime);
    child.SetParent(nullptr);
}

TEST_F(PaintTest, NoParentMeansNoBackground)
{
    SeeThroughChild orphan(nullptr);
    orphan.SetBounds(0, 0, 10, 10);
    Prepare(10, 10);
    PaintParentBackground(orphan, Canvas().Handle(), true);
    EXPECT_EQ(Count(Sentinel), 100);
}

} // namespace
