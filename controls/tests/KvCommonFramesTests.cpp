#include "controls/KvCommon.h"

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

// Rectangles compare and print field by field (found by argument-dependent lookup).
static bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
[[maybe_unused]] static void PrintTo(const RECT& r, std::ostream* os) { *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")"; }

namespace {

constexpr TColor Sentinel = clFuchsia;

[[nodiscard]] TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(RGB(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b)));
}

[[nodiscard]] TColor Sys(TColor color) { return static_cast<TColor>(ColorToRGB(color)); }

// A bitmap of the sentinel colour to draw frames on.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The screen's colour depth and the glyph probe need a display.
        (void)SelectHeadlessDisplay();
        Prepare(30, 20);
    }
    void Prepare(int width, int height, TColor brush = Sentinel)
    {
        m_bitmap.SetPixelFormat(pf32bit);
        m_bitmap.SetSize(width, height);
        Canvas().Brush()->SetColor(Sentinel);
        Canvas().FillRect(Rect(0, 0, width, height));
        Canvas().Brush()->SetColor(brush);
    }
    TCanvas& Canvas() { return *m_bitmap.Canvas(); }
    TColor At(int x, int y) { return Canvas().Pixels(x, y); }
    [[nodiscard]] std::set<std::pair<int, int>> PixelsOf(TColor colour)
    {
        std::set<std::pair<int, int>> found;
        for (int y = 0; y < m_bitmap.Height(); ++y)
            for (int x = 0; x < m_bitmap.Width(); ++x)
                if (At(x, y) == colour)
                    found.insert({x, y});
        return found;
    }
    // The smallest rectangle holding every pixel of the colour.
    [[nodiscard]] TRect BoundsOf(TColor colour)
    {
        TRect box{1000, 1000, -1, -1};
        for (const auto& [x, y] : PixelsOf(colour))
            box = Rect(std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1));
        return box;
    }
    [[nodiscard]] int Count(TColor colour) { return static_cast<int>(PixelsOf(colour).size()); }

    TBitmap m_bitmap;
};

[[nodiscard]] TRect Shrunk(TRect rect, int by, TSides sides)
{
    if (sides.Contains(sdLeft))
        rect.left += by;
    if (sides.Contains(sdTop))
        rect.top += by;
    if (sides.Contains(sdRight))
        rect.right -= by;
    if (sides.Contains(sdBottom))
        rect.bottom -= by;
    return rect;
}


TEST_F(FrameTest, EveryFrameStyleReturnsTheRectangleInsideIt)
{
    const struct {
        TFrameStyleEx style;
        int width;
    } styles[] = {{fsNone, 0},   {fsFlat, 1},       {fsGroove, 2}, {fsBump, 2},   {fsLowered, 2},  {fsButtonDown, 2},
                  {fsRaised, 2}, {fsButtonUp, 2},   {fsStatus, 1}, {fsPopup, 1},  {fsFlatBold, 2}, {fsFlatRounded, 2}};
    const TSides sideSets[] = {AllSides, {sdLeft, sdTop}, {sdRight, sdBottom}, {sdTop}, {}};
    for (const auto& s : styles) {
        for (const TSides sides : sideSets) {
            SCOPED_TRACE(testing::Message() << "style " << s.style << " sides " << sides.Bits());
            const TRect start = Rect(3, 2, 27, 18);
            TRect plain = start;
            DrawFrameStyleSides(Canvas(), plain, s.style, sides);
            EXPECT_EQ(plain, Shrunk(start, s.width, sides));
            TRect tinted = start;
            DrawTintedFrameStyleSides(Canvas(), tinted, clTeal, s.style, sides);
            EXPECT_EQ(tinted, Shrunk(start, s.width, sides));
        }
    }
    TRect none = Rect(3, 2, 27, 18);
    Prepare(30, 20);
    DrawFrameStyle(Canvas(), none, fsNone);
    DrawTintedFrameStyle(Canvas(), none, clTeal, fsNone);
    EXPECT_EQ(Count(Sentinel), 30 * 20);
}

TEST_F(FrameTest, EdgeLinesColourTheirSidesAndClNoneOnlyShrinks)
{
    TRect rect = Rect(2, 2, 12, 10);
    DrawEdgeLines(Canvas(), rect, clRed, clBlue, AllSides);
    EXPECT_EQ(rect, Rect(3, 3, 11, 9));
    EXPECT_EQ(At(2, 2), clRed);
    EXPECT_EQ(At(2, 8), clRed);
    EXPECT_EQ(At(10, 2), clRed);
    EXPECT_EQ(At(11, 2), clBlue); // the right side is drawn over the top one's end
    EXPECT_EQ(At(2, 9), clBlue);  // and the bottom over the left one's end
    EXPECT_EQ(At(11, 9), clBlue);
    EXPECT_EQ(At(12, 5), Sentinel);
    EXPECT_EQ(At(5, 10), Sentinel);

    Prepare(30, 20);
    TRect unseen = Rect(2, 2, 12, 10);
    DrawEdgeLines(Canvas(), unseen, clNone, clNone, AllSides);
    EXPECT_EQ(unseen, Rect(3, 3, 11, 9));
    EXPECT_EQ(Count(Sentinel), 30 * 20);
}

TEST_F(FrameTest, BevelsUseTheirOuterAndInnerColours)
{
    const TColor tint = Rgb(90, 140, 200);
    const struct {
        const char* name;
        void (*draw)(TCanvas&, TRect&, TColor);
        TColor outerUL, innerUL, innerLR, outerLR;
    } cases[] = {
        {"raised", [](TCanvas& c, TRect& r, TColor) { DrawSunkenRaisedEdges(c, r, false, AllSides); }, cl3DLight,
         clBtnHighlight, clBtnShadow, cl3DDkShadow},
        {"sunken", [](TCanvas& c, TRect& r, TColor) { DrawSunkenRaisedEdges(c, r, true, AllSides); }, clBtnShadow,
         cl3DDkShadow, cl3DLight, clBtnHighlight},
        {"button up", [](TCanvas& c, TRect& r, TColor) { DrawButtonEdge(c, r, false); }, clBtnHighlight, cl3DLight,
         clBtnShadow, cl3DDkShadow},
        {"button down", [](TCanvas& c, TRect& r, TColor) { DrawButtonEdge(c, r, true); }, clBtnText, clBtnShadow,
         clBtnShadow, clBtnText},
        {"tinted up", [](TCanvas& c, TRect& r, TColor t) { DrawTintedButtonEdge(c, r, t, false); },
         LightenLuminance(tint, 100), LightenLuminance(tint, 40), DarkenLuminance(tint, 50), DarkenLuminance(tint, 100)},
        {"tinted down", [](TCanvas& c, TRect& r, TColor t) { DrawTintedButtonEdge(c, r, t, true); },
         DarkenLuminance(tint, 100), DarkenLuminance(tint, 50), DarkenLuminance(tint, 50), DarkenLuminance(tint, 100)},
        {"tinted lowered", [](TCanvas& c, TRect& r, TColor t) { DrawTintedFrameStyle(c, r, t, fsLowered); },
         DarkenLuminance(tint, 50), DarkenLuminance(tint, 100), LightenLuminance(tint, 50), LightenLuminance(tint, 100)},
        {"tinted raised", [](TCanvas& c, TRect& r, TColor t) { DrawTintedFrameStyle(c, r, t, fsRaised); },
         LightenLuminance(tint, 50), LightenLuminance(tint, 100), DarkenLuminance(tint, 50), DarkenLuminance(tint, 100)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(30, 20);
        TRect rect = Rect(0, 0, 20, 12);
        c.draw(Canvas(), rect, tint);
        EXPECT_EQ(rect, Rect(2, 2, 18, 10));
        EXPECT_EQ(At(0, 5), Sys(c.outerUL));
        EXPECT_EQ(At(1, 5), Sys(c.innerUL));
        EXPECT_EQ(At(18, 5), Sys(c.innerLR));
        EXPECT_EQ(At(19, 5), Sys(c.outerLR));
        EXPECT_EQ(At(5, 0), Sys(c.outerUL));
        EXPECT_EQ(At(5, 11), Sys(c.outerLR));
        EXPECT_EQ(At(2, 2), Sentinel);
    }
}

TEST_F(FrameTest, EtchedFrameClosesItsCornersWithSinglePixels)
{
    TRect all = Rect(0, 0, 20, 12);
    DrawFrameStyle(Canvas(), all, fsGroove);
    EXPECT_EQ(At(0, 5), Sys(clBtnShadow));
    EXPECT_EQ(At(1, 5), Sys(clBtnHighlight));
    EXPECT_EQ(At(18, 5), Sys(clBtnShadow));
    EXPECT_EQ(At(19, 5), Sys(clBtnHighlight));
    EXPECT_EQ(At(19, 0), Sys(clBtnHighlight));

    // Top and left only: the far ends of the two sides are closed in the upper-left colour.
    Prepare(30, 20);
    TRect topLeft = Rect(0, 0, 20, 12);
    DrawFrameStyleSides(Canvas(), topLeft, fsGroove, {sdLeft, sdTop});
    EXPECT_EQ(topLeft, Rect(2, 2, 20, 12));
    EXPECT_EQ(At(19, 0), Sys(clBtnShadow));
    EXPECT_EQ(At(0, 11), Sys(clBtnShadow));
    EXPECT_EQ(At(19, 1), Sys(clBtnHighlight));
    EXPECT_EQ(At(1, 11), Sys(clBtnHighlight));
    EXPECT_EQ(At(19, 5), Sentinel);

    // fsBump is the groove turned inside out.
    Prepare(30, 20);
    TRect bump = Rect(0, 0, 20, 12);
    DrawFrameStyle(Canvas(), bump, fsBump);
    EXPECT_EQ(At(0, 5), Sys(clBtnHighlight));
    EXPECT_EQ(At(1, 5), Sys(clBtnShadow));
}

TEST_F(FrameTest, DottedOutlineSetsEverySecondPixelFromOneIn)
{
    Prepare(6, 6);
    TRect rect = Rect(0, 0, 4, 4);
    DrawDottedOutline(Canvas(), rect);
    EXPECT_EQ(rect, Rect(1, 1, 3, 3));
    const std::set<std::pair<int, int>> expected{{1, 0}, {3, 0}, {0, 1}, {0, 3}, {1, 3}, {3, 3}, {3, 1}};
    EXPECT_EQ(PixelsOf(clBlack), expected);
}

TEST_F(FrameTest, RoundedOutlineCutsItsCornersAndKeepsOnePixelAtTheTop)
{
    const struct {
        TSides sides;
        TRect inside;
    } cases[] = {
        {AllSides, Rect(2, 1, 18, 10)},
        {{sdLeft}, Rect(2, 0, 20, 12)},
        {{sdTop, sdRight}, Rect(0, 1, 18, 12)},
        {{}, Rect(0, 0, 20, 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sides.Bits());
        Prepare(30, 20);
        TRect rect = Rect(0, 0, 20, 12);
        DrawRoundedOutline(Canvas(), rect, clGreen, c.sides);
        EXPECT_EQ(rect, c.inside);
    }
    Prepare(30, 20);
    TRect rect = Rect(0, 0, 20, 12);
    DrawRoundedOutline(Canvas(), rect, clGreen, AllSides);
    for (const POINT cut : {POINT{0, 0}, POINT{19, 0}, POINT{0, 11}, POINT{19, 11}, POINT{1, 0}, POINT{0, 10}})
        EXPECT_EQ(At(cut.x, cut.y), Sentinel) << cut.x << "," << cut.y;
    for (const POINT drawn : {POINT{1, 1}, POINT{18, 1}, POINT{18, 10}, POINT{1, 10}, POINT{2, 0}, POINT{0, 1},
                              POINT{0, 9}, POINT{17, 0}, POINT{2, 11}, POINT{19, 9}})
        EXPECT_EQ(At(drawn.x, drawn.y), clGreen) << drawn.x << "," << drawn.y;
}

TEST_F(FrameTest, FramedBordersStackOuterFrameBorderAndInnerFrame)
{
    const auto with = [](auto change) {
        TFramedBorders b;
        change(b);
        return b;
    };
    const struct {
        const char* name;
        TFramedBorders borders;
        TRect inside;
    } cases[] = {
        {"nothing", TFramedBorders{}, Rect(0, 0, 30, 20)},
        {"popup bevel 3", with([](TFramedBorders& b) { b.BorderOuter = fsPopup; b.BevelWidth = 3; }), Rect(3, 3, 27, 17)},
        {"flat, border 2, lowered",
         with([](TFramedBorders& b) { b.BorderOuter = fsFlat; b.BorderWidth = 2; b.BorderInner = fsLowered; }),
         Rect(5, 5, 25, 15)},
        {"top only",
         with([](TFramedBorders& b) { b.BorderOuter = fsFlatBold; b.BorderWidth = 1; b.BorderSides = {sdTop}; }),
         Rect(0, 3, 30, 20)},
        {"soft inner flat on every side",
         with([](TFramedBorders& b) { b.BorderInner = fsFlat; b.SoftInnerFlatBorder = true; b.BorderSides = {sdTop}; }),
         Rect(1, 1, 29, 19)},
        {"rounded outer", with([](TFramedBorders& b) { b.BorderOuter = fsFlatRounded; }), Rect(2, 2, 28, 18)},
        {"rounded outer, transparent",
         with([](TFramedBorders& b) { b.BorderOuter = fsFlatRounded; b.Transparent = true; }), Rect(2, 2, 28, 18)},
        {"rounded inner, transparent",
         with([](TFramedBorders& b) { b.BorderInner = fsFlatRounded; b.Transparent = true; }), Rect(1, 1, 29, 19)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(30, 20);
        TRect rect = Rect(0, 0, 30, 20);
        DrawFramedBorders(Canvas(), rect, c.borders);
        EXPECT_EQ(rect, c.inside);
    }
    Prepare(30, 20);
    TRect rect = Rect(0, 0, 30, 20);
    DrawFramedBorders(Canvas(), rect, TFramedBorders{});
    EXPECT_EQ(Count(Sentinel), 30 * 20);
}

TEST_F(FrameTest, FramedBordersUseTheAdjustedFlatColourAndTheBorderColour)
{
    TFramedBorders b;
    b.BorderOuter = fsFlat;
    b.BorderWidth = 2;
    b.BorderColor = clYellow;
    b.FlatColor = clNavy;
    b.FlatColorAdjustment = 60;
    b.BorderInner = fsFlat;
    b.SoftInnerFlatBorder = true;
    TRect rect = Rect(0, 0, 30, 20);
    DrawFramedBorders(Canvas(), rect, b);
    const TColor flat = LightenLuminance(clNavy, 60);
    EXPECT_EQ(At(0, 5), flat);
    EXPECT_EQ(At(1, 5), clYellow);
    EXPECT_EQ(At(2, 5), clYellow);
    EXPECT_EQ(At(3, 5), flat);
    EXPECT_EQ(At(3, 3), Sentinel); // the soft border stops short of its corners
    EXPECT_EQ(At(4, 3), flat);
    EXPECT_EQ(rect, Rect(4, 4, 26, 16));
}

TEST_F(FrameTest, StyleFrameFillsTwoPixelsOfColourUnderTheFrame)
{
    DrawStyleFrame(Canvas(), 30, 20, fsFlat, clWindow, clRed, AllSides, false);
    EXPECT_EQ(At(0, 5), clRed);
    EXPECT_EQ(At(1, 5), Sys(clWindow));
    EXPECT_EQ(At(2, 5), Sentinel);

    Prepare(30, 20);
    DrawStyleFrame(Canvas(), 30, 20, fsLowered, clWindow, clRed, AllSides, true);
    EXPECT_EQ(At(0, 5), Sys(clBtnShadow));
    EXPECT_EQ(At(1, 5), Sys(cl3DDkShadow));

    Prepare(30, 20);
    DrawStyleFrame(Canvas(), 30, 20, fsLowered, clTeal, clRed, AllSides, false);
    EXPECT_EQ(At(0, 5), DarkenLuminance(clTeal, 50));
}

TEST_F(FrameTest, HotFrameIsATwoPixelGradientRingOnFullColourScreensOnly)
{
    const bool saved = FullColourScreen;
    FullColourScreen = false;
    DrawHotFrame(Canvas(), Rect(0, 0, 30, 20), gdDiagonalDown, clWhite, clBlack);
    EXPECT_EQ(Count(Sentinel), 30 * 20);

    FullColourScreen = true;
    DrawHotFrame(Canvas(), Rect(0, 0, 30, 20), gdDiagonalDown, clWhite, clBlack);
    EXPECT_EQ(Count(Sentinel), 26 * 16);
    EXPECT_EQ(At(2, 2), Sentinel);
    EXPECT_NE(At(1, 1), Sentinel);
    // The canvas draws everywhere again afterwards.
    Canvas().SetPixels(10, 10, clRed);
    EXPECT_EQ(At(10, 10), clRed);
    FullColourScreen = saved;
}

[[nodiscard]] std::set<std::pair<int, int>> CheckMark(int left, int top)
{
    const int mark[][2] = {{2, 4}, {2, 5}, {2, 6}, {3, 5}, {3, 6}, {3, 7}, {4, 6}, {4, 7}, {4, 8}, {5, 5}, {5, 6},
                           {5, 7}, {6, 4}, {6, 5}, {6, 6}, {7, 3}, {7, 4}, {7, 5}, {8, 2}, {8, 3}, {8, 4}};
    std::set<std::pair<int, int>> pixels;
    for (const auto& p : mark)
        pixels.insert({left + p[0], top + p[1]});
    return pixels;
}

TEST_F(FrameTest, CheckGlyphFillsByStateAndMarksTheTick)
{
    const struct {
        const char* name;
        TCheckDrawState drawState;
        bool focused, readOnly, readOnlyOnFocus;
        TColor fill;
    } cases[] = {
        {"normal", cdsNormal, false, false, false, clWhite},
        {"read-only", cdsNormal, false, true, false, clYellow},
        {"focused", cdsNormal, true, false, false, clAqua},
        {"focused read-only", cdsNormal, true, true, false, clAqua},
        {"focused read-only coloured on focus", cdsNormal, true, true, true, clYellow},
        {"pressed", cdsPressed, true, false, false, DarkenLuminance(clAqua, 20)},
        {"disabled", cdsDisabled, false, false, false, clSilver},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(20, 20);
        TCheckGlyph g;
        g.State = cbChecked;
        g.FillColor = clWhite;
        g.ReadOnlyColor = clYellow;
        g.FocusColor = clAqua;
        g.DisabledColor = clSilver;
        g.CheckColor = clGreen;
        g.FrameColor = clNavy;
        g.DrawState = c.drawState;
        g.Focused = c.focused;
        g.ReadOnly = c.readOnly;
        g.ReadOnlyColorOnFocus = c.readOnlyOnFocus;
        DrawCheckGlyph(Canvas(), Rect(2, 3, 15, 16), g);
        EXPECT_EQ(At(2, 3), clNavy);
        EXPECT_EQ(At(14, 15), clNavy);
        EXPECT_EQ(At(4, 4), c.fill);
        const TColor tick = c.drawState == cdsDisabled ? Sys(clBtnShadow) : clGreen;
        EXPECT_EQ(PixelsOf(tick), CheckMark(3, 4));
    }
}

TEST_F(FrameTest, GrayedAndHotCheckGlyphs)
{
    TCheckGlyph g;
    g.State = cbGrayed;
    g.FillColor = clWhite;
    g.CheckColor = clGreen;
    g.FrameColor = clNavy;
    DrawCheckGlyph(Canvas(), Rect(0, 0, 13, 13), g);
    EXPECT_EQ(BoundsOf(clGreen), Rect(3, 3, 10, 10));
    EXPECT_EQ(Count(clGreen), 49);

    Prepare(20, 20);
    g.State = cbUnchecked;
    g.DrawState = cdsHot;
    g.HotTrackStyle = htsFrame;
    g.HotDark = clMaroon;
    DrawCheckGlyph(Canvas(), Rect(0, 0, 13, 13), g);
    EXPECT_EQ(At(0, 6), clMaroon);
    EXPECT_EQ(At(1, 6), clMaroon);
    EXPECT_EQ(At(2, 6), clWhite);
}

TEST_F(FrameTest, ClassicArrowsAreFourRowTrianglesPointingTheirWay)
{
    const struct {
        TArrowDirection direction;
        LONG width, height;
        POINT apexOffset; // from the bounds' top-left corner
    } cases[] = {
        {adDown, 7, 4, {3, 3}},
        {adUp, 7, 4, {3, 0}},
        {adLeft, 4, 7, {0, 3}},
        {adRight, 4, 7, {3, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.direction);
        for (const bool pressed : {false, true}) {
            Prepare(20, 20, clWhite);
            DrawScrollArrow(Canvas(), Rect(0, 0, 16, 16), false, true, pressed, c.direction);
            const TRect box = BoundsOf(clBlack);
            EXPECT_EQ(box.right - box.left, c.width);
            EXPECT_EQ(box.bottom - box.top, c.height);
            EXPECT_EQ(Count(clBlack), 16);
            EXPECT_EQ(At(box.left + c.apexOffset.x, box.top + c.apexOffset.y), clBlack);
            if (c.width == 7)
                EXPECT_NE(At(box.left, box.top + c.apexOffset.y), clBlack);
            else
                EXPECT_NE(At(box.left + c.apexOffset.x, box.top), clBlack);
            if (pressed) {
                Prepare(20, 20, clWhite);
                DrawScrollArrow(Canvas(), Rect(0, 0, 16, 16), false, true, false, c.direction);
                const TRect unpressed = BoundsOf(clBlack);
                EXPECT_EQ(box.left, unpressed.left + 1);
                EXPECT_EQ(box.top, unpressed.top + 1);
            }
        }
    }
}

TEST_F(FrameTest, GlyphColourFollowsStateAndBackground)
{
    Prepare(20, 20, clWhite);
    DrawDropArrow(Canvas(), Rect(0, 0, 16, 16), false, false, false);
    EXPECT_EQ(Count(Sys(clBtnShadow)), 16);

    Prepare(20, 20, Rgb(10, 10, 10));
    DrawDropArrow(Canvas(), Rect(0, 0, 16, 16), false, true, false);
    EXPECT_EQ(Count(Sys(cl3DDkShadow)), 16);
    EXPECT_EQ(Canvas().Brush()->Color(), Rgb(10, 10, 10));

    // A disabled scroll arrow does not move when pressed.
    Prepare(20, 20, clWhite);
    DrawScrollArrow(Canvas(), Rect(0, 0, 16, 16), false, false, false, adUp);
    const TRect still = BoundsOf(Sys(clBtnShadow));
    Prepare(20, 20, clWhite);
    DrawScrollArrow(Canvas(), Rect(0, 0, 16, 16), false, false, true, adUp);
    EXPECT_EQ(BoundsOf(Sys(clBtnShadow)), still);
}

TEST_F(FrameTest, ThemedChevronsAndTheCloseCrossKeepTheirSize)
{
    for (const TArrowDirection direction : {adDown, adUp, adLeft, adRight}) {
        Prepare(24, 24, clWhite);
        DrawScrollArrow(Canvas(), Rect(0, 0, 20, 20), true, true, false, direction);
        const TRect chevron = BoundsOf(Count(clBlack) > 0 ? clBlack : Sys(cl3DDkShadow));
        const int across = std::max(chevron.right - chevron.left, chevron.bottom - chevron.top);
        EXPECT_GE(across, 7) << direction;
        EXPECT_LE(across, 10) << direction;
    }
    Prepare(24, 24, clWhite);
    DrawCloseCross(Canvas(), Rect(0, 0, 20, 20), false, true, false);
    const TRect cross = BoundsOf(clBlack);
    EXPECT_GE(cross.right - cross.left, 7);
    EXPECT_LE(cross.right - cross.left, 10);
    EXPECT_GE(cross.bottom - cross.top, 6);
    EXPECT_LE(cross.bottom - cross.top, 8);

    Prepare(24, 24, clWhite);
    DrawCloseCross(Canvas(), Rect(0, 0, 20, 20), false, true, true);
    const TRect pressed = BoundsOf(clBlack);
    EXPECT_EQ(pressed.left, cross.left + 1);
    EXPECT_EQ(pressed.top, cross.top + 1);
}

class Fonts : public ::testing::Test {
protected:
    void SetUp() override { (void)SelectHeadlessDisplay(); }
};

TEST_F(Fonts, RotatedFontCarriesTheAngleAndTheStyle)
{
    TFont font;
    font.SetName("Verdana");
    font.SetHeight(-13);
    font.SetStyle({fsBold, fsItalic});
    const GdiObject rotated(CreateRotatedFont(font, 90));
    ASSERT_TRUE(rotated.Get());
    LOGFONTA logFont{};
    ASSERT_GT(GetObjectA(rotated.Get(), sizeof(logFont), &logFont), 0);
    EXPECT_EQ(logFont.lfEscapement, 900);
    EXPECT_EQ(logFont.lfOrientation, 0);
    EXPECT_EQ(logFont.lfHeight, -13);
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_EQ(logFont.lfItalic, 1);
    EXPECT_EQ(logFont.lfUnderline, 0);
    EXPECT_STREQ(logFont.lfFaceName, "Verdana");
}

TEST_F(Fonts, ScalableFacesCountAsTrueType)
{
    TFont font;
    EXPECT_TRUE(FontIsTrueType(font));
}

} // namespace
