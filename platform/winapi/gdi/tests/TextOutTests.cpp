#include "TextFixture.h"

using TextOutTest = TextFixture;

TEST_F(TextOutTest, PiecesDrawnAtTheirExtentsMatchTheWholeString)
{
    // The strongest form of "extents agree with drawing": glyph by glyph placement at the
    // measured advances gives exactly the pixels of one call.
    for (const char* face : {"Arial", "Tahoma", "MS Sans Serif", "Verdana", "Courier New"}) {
        Use(Font(face, -11));
        Clear();
        const std::string text = "Wave fly, 42%";
        TextOutA(m_dc, 5, 5, text.c_str(), static_cast<int>(text.size()));
        const auto whole = Snapshot();
        Clear();
        int x = 5;
        for (char c : text) {
            TextOutA(m_dc, x, 5, &c, 1);
            x += Extent(std::string(1, c)).cx;
        }
        EXPECT_LE(MaxDifference(Snapshot(), whole), 1) << face;
        EXPECT_EQ(x - 5, Extent(text).cx) << face;
    }
}

TEST_F(TextOutTest, InkStaysWithinTheExtentAndTheCell)
{
    const std::string text = "Hello World";
    TextOutA(m_dc, 10, 20, text.c_str(), static_cast<int>(text.size()));
    const RECT ink = InkBox();
    const SIZE extent = Extent(text);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + extent.cx);
    EXPECT_GT(ink.right, 10 + extent.cx - 3); // the last glyph's ink ends near the advance
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.bottom, 20 + extent.cy);
    EXPECT_EQ(extent.cy, Metrics().tmHeight);
}

TEST_F(TextOutTest, TextAlignmentPlacesTheReferencePoint)
{
    const std::string text = "HHHH";
    const SIZE extent = Extent(text);
    const TEXTMETRICA tm = Metrics();
    struct Case {
        UINT align;
        int left;   // expected left of the cell relative to x
        int top;    // expected top of the cell relative to y
    } cases[] = {
        {TA_LEFT | TA_TOP, 0, 0},
        {TA_RIGHT | TA_TOP, -extent.cx, 0},
        {TA_CENTER | TA_TOP, -(extent.cx / 2), 0},
        {TA_LEFT | TA_BASELINE, 0, -tm.tmAscent},
        {TA_LEFT | TA_BOTTOM, 0, -tm.tmHeight},
    };
    SetBkMode(m_dc, OPAQUE);
    SetBkColor(m_dc, RGB(0, 0, 255));
    for (const Case& c : cases) {
        Clear();
        SetTextAlign(m_dc, c.align);
        TextOutA(m_dc, 100, 60, text.c_str(), 4);
        const RECT cell = InkBox(); // the opaque background shows the cell exactly
        EXPECT_EQ(cell.left, 100 + c.left) << c.align;
        EXPECT_EQ(cell.top, 60 + c.top) << c.align;
        EXPECT_EQ(cell.right - cell.left, extent.cx) << c.align;
        EXPECT_EQ(cell.bottom - cell.top, tm.tmHeight) << c.align;
    }
}

TEST_F(TextOutTest, UpdateCpContinuesFromTheCurrentPosition)
{
    SetTextAlign(m_dc, TA_UPDATECP);
    MoveToEx(m_dc, 7, 9, nullptr);
    TextOutA(m_dc, 100, 100, "Ab", 2); // the coordinates are ignored
    POINT cp{};
    GetCurrentPositionEx(m_dc, &cp);
    EXPECT_EQ(cp.x, 7 + Extent("Ab").cx);
    EXPECT_EQ(cp.y, 9);
    TextOutA(m_dc, 0, 0, "cd", 2);
    const auto continued = Snapshot();

    Clear();
    SetTextAlign(m_dc, TA_LEFT | TA_TOP);
    TextOutA(m_dc, 7, 9, "Abcd", 4);
    EXPECT_EQ(Snapshot(), continued);
}

TEST_F(TextOutTest, OpaqueAndClippedRectangles)
{
    SetBkColor(m_dc, RGB(255, 0, 0));
    RECT rect{20, 10, 60, 30};
    // ETO_OPAQUE fills the rectangle even in transparent mode and with no text.
    ExtTextOutA(m_dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
    EXPECT_EQ(InkBox().left, 20);
    EXPECT_EQ(InkBox().bottom, 30);
    EXPECT_EQ(Pixel(20, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(59, 29), 0xFF0000u);

    // ETO_CLIPPED keeps the ink inside the rectangle.
    Clear();
    const std::string text = "WWWWWWWWWWWW";
    ExtTextOutA(m_dc, 10, 12, ETO_CLIPPED, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    const RECT ink = InkBox();
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 60);
    EXPECT_GT(ink.right, 55);
    EXPECT_LE(ink.bottom, 30);
}

TEST_F(TextOutTest, OpaqueModeFillsOnlyTheCellInTheBackgroundColour)
{
    SetBkMode(m_dc, OPAQUE);
    SetBkColor(m_dc, RGB(0, 255, 0));
    SetTextColor(m_dc, RGB(0, 0, 0));
    TextOutA(m_dc, 30, 40, "Ok", 2);
    const SIZE extent = Extent("Ok");
    EXPECT_EQ(InkBox().left, 30);
    EXPECT_EQ(InkBox().right, 30 + extent.cx);
    EXPECT_EQ(InkBox().bottom, 40 + extent.cy);
    EXPECT_EQ(Pixel(30, 40), 0x00FF00u); // a corner of the cell has no glyph
    bool black = false;
    for (int y = 40; y < 40 + extent.cy; ++y)
        for (int x = 30; x < 30 + extent.cx; ++x)
            black = black || Pixel(x, y) == 0;
    EXPECT_TRUE(black) << "fully covered glyph pixels take the text colour";
}

TEST_F(TextOutTest, SpacingArrayPlacesEveryCharacter)
{
    const int dx[] = {30, 30, 30};
    ExtTextOutA(m_dc, 10, 10, 0, nullptr, "lll", 3, dx);
    // Three narrow strokes, 30 pixels apart.
    std::vector<int> strokes;
    for (int x = 0; x < 120; ++x)
        if (Inked(x, 15) && (strokes.empty() || x - strokes.back() > 5))
            strokes.push_back(x);
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[1] - strokes[0], 30);
    EXPECT_EQ(strokes[2] - strokes[1], 30);
}

TEST_F(TextOutTest, ClipRegionAndLogicalCoordinates)
{
    HRGN clip = CreateRectRgn(0, 0, 50, 120);
    SelectClipRgn(m_dc, clip);
    DeleteObject(clip);
    TextOutA(m_dc, 20, 10, "MMMMMMMMMM", 10);
    EXPECT_LE(InkBox().right, 50);

    Clear();
    SelectClipRgn(m_dc, nullptr);
    SetViewportOrgEx(m_dc, 30, 40, nullptr);
    TextOutA(m_dc, 0, 0, "M", 1);
    EXPECT_GE(InkBox().left, 30);
    EXPECT_LT(InkBox().left, 33);
    EXPECT_GE(InkBox().top, 40);
}

TEST_F(TextOutTest, RotatedTextRunsInTheDirectionOfTheEscapement)
{
    Reset(200, 200);
    const std::string text = "HHHHHH";
    Use(Font("Arial", -16));
    const int length = Extent(text).cx;
    struct Case {
        int escapement;
        int dx, dy; // direction the text runs in on screen
    } cases[] = {{900, 0, -1}, {2700, 0, 1}, {1800, -1, 0}};
    for (const Case& c : cases) {
        Use(Font("Arial", -16, FW_NORMAL, c.escapement));
        Clear();
        SetTextAlign(m_dc, TA_LEFT | TA_BASELINE);
        TextOutA(m_dc, 100, 100, text.c_str(), static_cast<int>(text.size()));
        const RECT ink = InkBox();
        const int inkWidth = ink.right - ink.left;
        const int inkHeight = ink.bottom - ink.top;
        if (c.dx == 0) {
            EXPECT_GT(inkHeight, inkWidth * 2) << c.escapement;
            EXPECT_NEAR(inkHeight, length, 3) << c.escapement;
            // Upward text ends above the reference point, downward text below it.
            EXPECT_TRUE(c.dy < 0 ? ink.bottom <= 101 && ink.top < 100 - length + 3
                                 : ink.top >= 99 && ink.bottom > 100 + length - 3)
                << c.escapement;
        } else {
            EXPECT_GT(inkWidth, inkHeight * 2) << c.escapement;
            EXPECT_LE(ink.right, 101) << c.escapement;
            EXPECT_GE(ink.top, 99) << c.escapement; // upside down: glyphs hang below the baseline
        }
    }
}

TEST_F(TextOutTest, BadInputFailsWithoutDrawing)
{
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_FALSE(TextOutA(stale, 0, 0, "x", 1));
    EXPECT_FALSE(TextOutA(m_dc, 0, 0, nullptr, 3));
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(stale, "x", 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(m_dc, "x", -1, &size));
    EXPECT_TRUE(NoInk());

    // Bytes that are not UTF-8 still draw and measure, one character each.
    const std::string latin1 = "caf\xE9\xFF";
    EXPECT_TRUE(TextOutA(m_dc, 0, 0, latin1.c_str(), static_cast<int>(latin1.size())));
    EXPECT_FALSE(NoInk());
    EXPECT_EQ(Extent(latin1).cx, Extent("caf").cx + Extent("\xC3\xA9").cx + Extent("\xC3\xBF").cx);
}
