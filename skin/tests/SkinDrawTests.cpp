#include "skin/SkinDraw.h"

#include "SkinTestImages.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr TColor Background = 0x00FF00;
constexpr TColor ColourA = 0x102030;
constexpr TColor ColourB = 0x405060;

// Frame f (0-based) of a 6 x 6 nine-part source with margins 2: each of the nine parts has its
// own colour, so every pixel tells which part (column, row) of which frame it came from.
TColor Part(int frame, int column, int row)
{
    return RGB(static_cast<BYTE>(50 + 100 * frame), static_cast<BYTE>(40 + 80 * column),
               static_cast<BYTE>(40 + 80 * row));
}

int PartOf(int position) { return position < 2 ? 0 : position < 4 ? 1 : 2; }

std::unique_ptr<TBitmap> NinePartStrip(int frames)
{
    return MakeBitmap(6 * frames, 6, [](int x, int y) { return Part(x / 6, PartOf(x % 6), PartOf(y)); });
}

constexpr TSkinMargins Margins2{2, 2, 2, 2};

class SkinDrawTest : public testing::Test {
protected:
    void SetUp() override { m_target = SolidBitmap(40, 40, Background); }

    [[nodiscard]] HDC Dc() { return m_target->Canvas()->Handle(); }
    [[nodiscard]] TColor At(int x, int y) { return PixelAt(*m_target, x, y); }

    std::unique_ptr<TBitmap> m_target;
};

TEST_F(SkinDrawTest, NinePartBitmapKeepsCornersAndStretchesEdgesAndCentre)
{
    const auto source = NinePartStrip(2);
    for (int frame = 1; frame <= 2; ++frame) {
        auto image = BuildElementBitmap(RECT{0, 0, 20, 10}, *source, Margins2, false, false, 2, frame);
        ASSERT_EQ(image->Width(), 20);
        ASSERT_EQ(image->Height(), 10);
        const int f = frame - 1;
        struct Probe {
            int x, y, column, row;
        };
        const Probe probes[] = {{0, 0, 0, 0},  {1, 1, 0, 0},  {19, 0, 2, 0},  {0, 9, 0, 2},  {19, 9, 2, 2},
                                {10, 0, 1, 0}, {10, 9, 1, 2}, {0, 5, 0, 1},   {19, 5, 2, 1}, {10, 5, 1, 1},
                                {2, 2, 1, 1},  {17, 7, 1, 1}, {18, 2, 2, 1}};
        for (const Probe& p : probes)
            EXPECT_EQ(PixelAt(*image, p.x, p.y), Part(f, p.column, p.row)) << frame << " " << p.x << "," << p.y;
    }
}

TEST_F(SkinDrawTest, MarginsThatDoNotFitAreDroppedInThatDirectionOnly)
{
    const auto source = NinePartStrip(1);
    auto narrow = BuildElementBitmap(RECT{0, 0, 3, 10}, *source, Margins2, false, false, 1, 1);
    // Three columns from six: the frame is stretched whole across, the rows keep their margins.
    EXPECT_EQ(PixelAt(*narrow, 0, 0), Part(0, 0, 0));
    EXPECT_EQ(PixelAt(*narrow, 1, 0), Part(0, 1, 0));
    EXPECT_EQ(PixelAt(*narrow, 2, 9), Part(0, 2, 2));
    EXPECT_EQ(PixelAt(*narrow, 1, 5), Part(0, 1, 1));
}

TEST_F(SkinDrawTest, VerticalFramesAreCutFromTopToBottom)
{
    const auto source = MakeBitmap(4, 12, [](int, int y) { return y < 4 ? ColourA : y < 8 ? ColourB : Background; });
    auto image = BuildElementBitmap(RECT{0, 0, 8, 8}, *source, TSkinMargins{}, true, false, 3, 2);
    EXPECT_EQ(PixelAt(*image, 0, 0), ColourB);
    EXPECT_EQ(PixelAt(*image, 7, 7), ColourB);
}

TEST_F(SkinDrawTest, TiledCentreRepeatsAtThePartSize)
{
    // Centre columns alternate A and B; a stretched centre would show runs of A then B.
    const auto source = MakeBitmap(6, 6, [](int x, int) { return x == 2 ? ColourA : x == 3 ? ColourB : Background; });
    auto tiled = BuildElementBitmap(RECT{0, 0, 10, 6}, *source, Margins2, false, true, 1, 1);
    for (int x = 2; x < 8; ++x)
        EXPECT_EQ(PixelAt(*tiled, x, 3), x % 2 == 0 ? ColourA : ColourB) << x;
    auto stretched = BuildElementBitmap(RECT{0, 0, 10, 6}, *source, Margins2, false, false, 1, 1);
    EXPECT_EQ(PixelAt(*stretched, 3, 3), ColourA);
    EXPECT_EQ(PixelAt(*stretched, 6, 3), ColourB);
}

TEST_F(SkinDrawTest, TileBitmapStaysInsideItsTarget)
{
    const auto source = MakeBitmap(2, 1, [](int x, int) { return x == 0 ? ColourA : ColourB; });
    TileBitmap(*m_target->Canvas(), RECT{1, 1, 8, 3}, *source, RECT{0, 0, 2, 1});
    for (int x = 1; x < 8; ++x) {
        EXPECT_EQ(At(x, 1), (x - 1) % 2 == 0 ? ColourA : ColourB) << x;
        EXPECT_EQ(At(x, 2), (x - 1) % 2 == 0 ? ColourA : ColourB) << x;
    }
    EXPECT_EQ(At(8, 1), Background);
    EXPECT_EQ(At(1, 3), Background);
    EXPECT_EQ(At(0, 1), Background);
}

TEST_F(SkinDrawTest, TransparentDrawingLeavesTheKeyColourOut)
{
    const auto source = MakeBitmap(6, 6, [](int x, int y) {
        return (x >= 2 && x < 4 && y >= 2 && y < 4) ? SkinKeyColour : ColourA;
    });
    DrawElement(Dc(), RECT{4, 4, 16, 16}, *source, false, false, true, 1, 1, Margins2);
    EXPECT_EQ(At(4, 4), ColourA);
    EXPECT_EQ(At(15, 15), ColourA);
    EXPECT_EQ(At(10, 10), Background);
    EXPECT_EQ(At(3, 3), Background);

    DrawElement(Dc(), RECT{20, 20, 32, 32}, *source, false, false, false, 1, 1, Margins2);
    EXPECT_EQ(At(26, 26), SkinKeyColour);
}

TEST_F(SkinDrawTest, ThreePartKeepsTheEndsOrStretchesANarrowTarget)
{
    const auto source = NinePartStrip(1);
    DrawElementThreePart(Dc(), RECT{0, 0, 12, 4}, *source, false, 1, 1, Margins2);
    EXPECT_EQ(At(1, 0), Part(0, 0, 0));
    EXPECT_EQ(At(6, 0), Part(0, 1, 0));
    EXPECT_EQ(At(10, 0), Part(0, 2, 0));
    EXPECT_EQ(At(11, 3), Part(0, 2, 2));

    DrawElementThreePart(Dc(), RECT{20, 0, 23, 6}, *source, false, 1, 1, Margins2);
    EXPECT_EQ(At(21, 3), Part(0, 1, 1));
}

TEST_F(SkinDrawTest, HorzRepeatsTheMiddleAndEndsWithTheRightPart)
{
    const auto source = MakeBitmap(6, 2, [](int x, int) {
        return x < 2 ? Background : x == 2 ? ColourA : x == 3 ? ColourB : SkinKeyColour;
    });
    DrawElementHorz(*m_target->Canvas(), RECT{0, 0, 11, 4}, *source, false, false, 1, 1, Margins2);
    for (int x = 2; x < 9; ++x)
        EXPECT_EQ(At(x, 3), x % 2 == 0 ? ColourA : ColourB) << x;
    EXPECT_EQ(At(9, 0), SkinKeyColour);
    EXPECT_EQ(At(10, 3), SkinKeyColour);
}

TEST_F(SkinDrawTest, FrameIsStretchedOrCentredAtItsOwnSize)
{
    const auto source = StripBitmap(4, 4, {ColourA, ColourB});
    DrawElementFrame(Dc(), RECT{0, 0, 10, 10}, *source, false, 2, 2);
    EXPECT_EQ(At(0, 0), ColourB);
    EXPECT_EQ(At(9, 9), ColourB);
    EXPECT_EQ(At(10, 10), Background);

    DrawElementFrameCentred(Dc(), RECT{20, 20, 30, 31}, *source, false, 2, 1);
    EXPECT_EQ(At(23, 23), ColourA);
    EXPECT_EQ(At(26, 26), ColourA);
    EXPECT_EQ(At(22, 23), Background);
    EXPECT_EQ(At(27, 23), Background);
}

TEST_F(SkinDrawTest, ANegativeRectangleDrawsNothing)
{
    const auto source = SolidBitmap(4, 4, ColourA);
    DrawElement(Dc(), RECT{10, 10, 5, 20}, *source, false, false, false, 1, 1, Margins2);
    DrawElementFrame(Dc(), RECT{10, 10, 20, 5}, *source, false, 1, 1);
    DrawTransparent(Dc(), RECT{10, 10, 5, 5}, *source, SkinKeyColour);
    for (int y = 0; y < 40; y += 3)
        for (int x = 0; x < 40; x += 3)
            ASSERT_EQ(At(x, y), Background) << x << "," << y;
}

TEST_F(SkinDrawTest, FrameCountsBelowOneAndIndexesPastTheEndStayInsideTheBitmap)
{
    const auto source = StripBitmap(4, 4, {ColourA, ColourB});
    struct Case {
        int count, index;
        RECT expected;
    };
    const Case cases[] = {
        {0, 1, {0, 0, 8, 4}}, {-3, 1, {0, 0, 8, 4}}, {2, 9, {4, 0, 8, 4}}, {2, 0, {0, 0, 4, 4}}, {1, 1, {0, 0, 8, 4}},
    };
    for (const Case& c : cases) {
        const RECT frame = SkinFrameRect(*source, false, c.count, c.index);
        EXPECT_EQ(frame.left, c.expected.left) << c.count << "/" << c.index;
        EXPECT_EQ(frame.right, c.expected.right) << c.count << "/" << c.index;
        DrawElement(Dc(), RECT{0, 0, 10, 10}, *source, false, true, true, c.count, c.index, Margins2);
    }
    TBitmap empty;
    DrawElement(Dc(), RECT{0, 0, 10, 10}, empty, true, true, false, 0, 1, Margins2);
    DrawElementHorz(*m_target->Canvas(), RECT{0, 0, 10, 10}, empty, false, true, 0, 1, Margins2);
    DrawElementFrameCentred(Dc(), RECT{0, 0, 10, 10}, empty, true, -1, 1);
}

bool InRegion(HRGN region, int x, int y) { return PtInRegion(region, x, y) != FALSE; }

TEST(SkinRegionTest, KeyRangeWithToleranceIsCutOut)
{
    const TColor row[] = {RGB(255, 0, 255), RGB(255, 1, 255), RGB(254, 0, 255), RGB(255, 2, 255), RGB(255, 0, 254)};
    const auto bitmap = MakeBitmap(5, 1, [&](int x, int) { return row[x]; });
    HRGN region = RegionFromBitmap(*bitmap, 0, 0, 1, 1, 1, SkinKeyColour);
    EXPECT_FALSE(InRegion(region, 0, 0));
    EXPECT_FALSE(InRegion(region, 1, 0));
    EXPECT_TRUE(InRegion(region, 2, 0));
    EXPECT_TRUE(InRegion(region, 3, 0));
    EXPECT_TRUE(InRegion(region, 4, 0));
    DeleteObject(region);
}

TEST(SkinRegionTest, RegionFollowsTheShapeAtTheOffset)
{
    // A plus sign: the corners are key colour.
    const auto bitmap = MakeBitmap(3, 3, [](int x, int y) { return (x != 1 && y != 1) ? SkinKeyColour : ColourA; });
    HRGN region = RegionFromBitmap(*bitmap, 10, 20, 0, 0, 0, SkinKeyColour);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(InRegion(region, 10 + x, 20 + y), x == 1 || y == 1) << x << "," << y;
    EXPECT_FALSE(InRegion(region, 1, 1));
    DeleteObject(region);
}

TEST(SkinRegionTest, WithoutKeyPixelsTheRegionIsTheWholeRectangle)
{
    const auto bitmap = SolidBitmap(7, 5, ColourA);
    HRGN region = RegionFromBitmap(*bitmap, 3, 4, 0, 0, 0, SkinKeyColour);
    HRGN expected = CreateRectRgn(3, 4, 10, 9);
    EXPECT_TRUE(EqualRgn(region, expected));
    DeleteObject(expected);
    DeleteObject(region);
}

// Over 2000 runs: the region is joined from several batches.
TEST(SkinRegionTest, ACheckerboardGivesOneRectanglePerRun)
{
    constexpr int Width = 61;
    constexpr int Height = 70;
    const auto bitmap =
        MakeBitmap(Width, Height, [](int x, int y) { return (x + y) % 2 == 0 ? SkinKeyColour : ColourA; });
    HRGN region = RegionFromBitmap(*bitmap, 0, 0, 0, 0, 0, SkinKeyColour);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            ASSERT_EQ(InRegion(region, x, y), (x + y) % 2 != 0) << x << "," << y;
    DeleteObject(region);
}

// A windowless control filled with one colour.
class TFilledGraphic : public TGraphicControl {
public:
    TFilledGraphic(TWinControl* parent, const TRect& bounds, TColor fill) : TGraphicControl(nullptr), m_fill(fill)
    {
        SetBoundsRect(bounds);
        SetParent(parent);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(m_fill);
        Canvas()->FillRect(ClientRect());
        if (OnPaint)
            OnPaint(*this);
    }

public:
    std::function<void(TFilledGraphic&)> OnPaint;

private:
    TColor m_fill;
};

class PaintControlBackgroundTest : public testing::Test {
protected:
    PaintControlBackgroundTest()
    {
        m_parent.SetBounds(0, 0, 100, 100);
        m_parent.SetColor(ColourA);
        m_control.SetBounds(20, 25, 30, 20);
        m_control.SetParent(&m_parent);
    }

    TWinControl m_parent{nullptr};
    TWinControl m_control{nullptr};
    std::unique_ptr<TBitmap> m_target = SolidBitmap(40, 30, Background);
};

TEST_F(PaintControlBackgroundTest, DrawsTheParentBehindTheControlAndNothingBeyondIt)
{
    // A stripe across the parent at lines 30 to 39: lines 5 to 14 of the control.
    TFilledGraphic stripe(&m_parent, Rect(0, 30, 100, 40), ColourB);
    PaintControlBackground(&m_control, m_target->Canvas()->Handle());
    struct Probe {
        int x, y;
        TColor colour;
    };
    const Probe probes[] = {{0, 0, ColourA},      {29, 4, ColourA},      {0, 5, ColourB},      {29, 14, ColourB},
                            {15, 15, ColourA},    {29, 19, ColourA},     {30, 0, Background},  {30, 10, Background},
                            {0, 20, Background},  {39, 29, Background}};
    for (const Probe& p : probes)
        EXPECT_EQ(PixelAt(*m_target, p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST_F(PaintControlBackgroundTest, ControlWithoutParentOrPaintedByItsParentDrawsNothingMore)
{
    TWinControl orphan(nullptr);
    orphan.SetBounds(0, 0, 30, 20);
    PaintControlBackground(&orphan, m_target->Canvas()->Handle());
    PaintControlBackground(nullptr, m_target->Canvas()->Handle());
    EXPECT_EQ(PixelAt(*m_target, 0, 0), Background);

    // A windowless control asking for its background while its parent paints it: one level only.
    TFilledGraphic graphic(&m_parent, Rect(20, 25, 50, 45), ColourB);
    int paints = 0;
    graphic.OnPaint = [&](TFilledGraphic& self) {
        if (++paints < 10)
            PaintControlBackground(&self, m_target->Canvas()->Handle());
    };
    PaintControlBackground(&graphic, m_target->Canvas()->Handle());
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(PixelAt(*m_target, 0, 0), ColourB);
}

} // namespace
