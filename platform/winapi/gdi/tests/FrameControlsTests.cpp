#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const COLORREF Face = GetSysColor(COLOR_3DFACE);
const COLORREF Hilight = GetSysColor(COLOR_3DHILIGHT);
const COLORREF Shadow = GetSysColor(COLOR_3DSHADOW);
const COLORREF DkShadow = GetSysColor(COLOR_3DDKSHADOW);
const COLORREF Window = GetSysColor(COLOR_WINDOW);
const COLORREF Text = GetSysColor(COLOR_WINDOWTEXT);
const COLORREF ButtonText = GetSysColor(COLOR_BTNTEXT);

void Draw(Canvas& canvas, RECT r, UINT kind, UINT state)
{
    ASSERT_TRUE(DrawFrameControl(canvas.Dc(), &r, kind, state));
}

// The pixels of `color` inside `r`, as rows of 'X' and '.'.
std::vector<std::string> Picture(const Canvas& canvas, RECT r, COLORREF color)
{
    std::vector<std::string> rows;
    for (int y = r.top; y < r.bottom; ++y) {
        std::string row;
        for (int x = r.left; x < r.right; ++x)
            row += canvas.At(x, y) == color ? 'X' : '.';
        rows.push_back(row);
    }
    return rows;
}

const std::vector<std::string> ClassicCheckMark = {
    "......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X....",
};

} // namespace

TEST(DrawFrameControl, PushButtonStates)
{
    Canvas normal(20, 20, Red), pushed(20, 20, Red), latched(20, 20, Red), flat(20, 20, Red);
    Draw(normal, {0, 0, 20, 20}, DFC_BUTTON, DFCS_BUTTONPUSH);
    Draw(pushed, {0, 0, 20, 20}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    Draw(latched, {0, 0, 20, 20}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_CHECKED);
    Draw(flat, {0, 0, 20, 20}, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT);
    // Raised: light top left, dark bottom right; pushed: the other way round.
    EXPECT_EQ(normal.At(0, 10), Hilight);
    EXPECT_EQ(normal.At(19, 10), DkShadow);
    EXPECT_EQ(normal.At(18, 10), Shadow);
    EXPECT_EQ(normal.At(10, 10), Face);
    EXPECT_EQ(pushed.At(0, 10), DkShadow);
    EXPECT_EQ(pushed.At(19, 10), Hilight);
    EXPECT_EQ(pushed.At(10, 10), Face);
    EXPECT_EQ(flat.At(0, 10), Shadow);
    EXPECT_EQ(flat.At(19, 10), Shadow);
    // A latched button's face is the highlight half-tone.
    EXPECT_NE(latched.At(10, 10), latched.At(11, 10));
    EXPECT_EQ(latched.At(10, 10) == Hilight ? latched.At(11, 10) : latched.At(10, 10), Face);
    EXPECT_EQ(normal.Count(Red), 0);

    Canvas canvas(20, 20);
    RECT r{0, 0, 20, 10};
    DrawFrameControl(canvas.Dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 18);
    EXPECT_EQ(r.bottom, 8);
}

TEST(DrawFrameControl, CheckBoxDrawsTheClassicMarkOnlyWhenChecked)
{
    Canvas unchecked(13, 13, Red), checked(13, 13, Red);
    Draw(unchecked, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONCHECK);
    Draw(checked, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    // A two-pixel sunken edge round a window-coloured inside.
    EXPECT_EQ(unchecked.At(0, 6), Shadow);
    EXPECT_EQ(unchecked.At(1, 6), DkShadow);
    EXPECT_EQ(unchecked.At(12, 6), Hilight);
    EXPECT_EQ(unchecked.Count(Window), 9 * 9 + 13 + 12);
    EXPECT_EQ(unchecked.Count(Text), 0);
    EXPECT_EQ(Picture(checked, {3, 3, 10, 10}, Text), ClassicCheckMark);
    EXPECT_EQ(checked.Count(Text), 21);
}

TEST(DrawFrameControl, CheckBoxGreyStates)
{
    Canvas inactive(13, 13), indeterminate(13, 13), pushed(13, 13);
    Draw(inactive, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    Draw(indeterminate, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED);
    Draw(pushed, {0, 0, 13, 13}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_PUSHED);
    EXPECT_EQ(Picture(inactive, {3, 3, 10, 10}, Shadow), ClassicCheckMark);
    EXPECT_EQ(inactive.At(9, 9), Face);
    EXPECT_EQ(Picture(indeterminate, {3, 3, 10, 10}, Shadow), ClassicCheckMark);
    EXPECT_NE(indeterminate.At(9, 9), indeterminate.At(9, 8)); // dithered inside
    EXPECT_EQ(pushed.At(6, 6), Face);
    EXPECT_EQ(pushed.Count(Text), 0);
}

TEST(DrawFrameControl, CheckBoxKeepsItsShapeInAWideRectangleAndScales)
{
    Canvas canvas(33, 13, Red);
    Draw(canvas, {0, 0, 33, 13}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(canvas.At(9, 6), Red);
    EXPECT_EQ(canvas.At(10, 6), Shadow);
    EXPECT_EQ(Picture(canvas, {13, 3, 20, 10}, Text), ClassicCheckMark);
    Canvas big(26, 26);
    Draw(big, {0, 0, 26, 26}, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_GT(big.Count(Text), 4 * 21 / 2);
}

TEST(DrawFrameControl, RadioButtonDotOnlyWhenChecked)
{
    Canvas unchecked(12, 12, Red), checked(12, 12, Red), inactive(12, 12, Red);
    Draw(unchecked, {0, 0, 12, 12}, DFC_BUTTON, DFCS_BUTTONRADIO);
    Draw(checked, {0, 0, 12, 12}, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    Draw(inactive, {0, 0, 12, 12}, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE);
    // Round: the corners stay as they were; the ring is shadowed above and lit below.
    EXPECT_EQ(unchecked.At(0, 0), Red);
    EXPECT_EQ(unchecked.At(11, 11), Red);
    EXPECT_EQ(unchecked.At(5, 0), Shadow);
    EXPECT_EQ(unchecked.At(5, 1), DkShadow);
    EXPECT_EQ(unchecked.At(6, 11), Hilight);
    EXPECT_EQ(unchecked.At(5, 5), Window);
    EXPECT_EQ(unchecked.Count(Text), 0);
    EXPECT_EQ(Picture(checked, {4, 4, 8, 8}, Text), (std::vector<std::string>{".XX.", "XXXX", "XXXX", ".XX."}));
    EXPECT_EQ(checked.Count(Text), 12);
    EXPECT_EQ(inactive.At(5, 5), Shadow);
    EXPECT_EQ(inactive.At(4, 4), Face);
}

TEST(DrawFrameControl, ScrollArrowsPointTheirWay)
{
    struct Case {
        UINT part;
        int dx, dy; // from the arrow's base towards its point
    };
    const Case cases[] = {{DFCS_SCROLLUP, 0, -1},
                          {DFCS_SCROLLDOWN, 0, 1},
                          {DFCS_SCROLLLEFT, -1, 0},
                          {DFCS_SCROLLRIGHT, 1, 0},
                          {DFCS_SCROLLCOMBOBOX, 0, 1}};
    for (const Case& c : cases) {
        Canvas canvas(16, 16, Red);
        Draw(canvas, {0, 0, 16, 16}, DFC_SCROLL, c.part);
        // Classic size: 7 pixels across, 4 deep, widest row or column furthest from the point.
        EXPECT_EQ(canvas.Count(ButtonText), 16) << c.part;
        int widest = -1, narrowest = -1, widestCount = 0, narrowestCount = 99;
        for (int i = 0; i < 16; ++i) {
            int n = 0;
            for (int j = 0; j < 16; ++j)
                n += canvas.At(c.dx ? i : j, c.dx ? j : i) == ButtonText;
            if (n > widestCount)
                widest = i, widestCount = n;
            if (n > 0 && n < narrowestCount)
                narrowest = i, narrowestCount = n;
        }
        EXPECT_EQ(widestCount, 7) << c.part;
        EXPECT_EQ(narrowestCount, 1) << c.part;
        EXPECT_EQ((narrowest - widest) * (c.dx + c.dy), 3) << c.part;
        EXPECT_EQ(canvas.At(0, 5), GetSysColor(COLOR_3DLIGHT)) << c.part;
        EXPECT_EQ(canvas.At(15, 5), DkShadow) << c.part;
    }
}

TEST(DrawFrameControl, ArrowGrowsWithItsButton)
{
    struct Case {
        int width, height;
        int across, deep;
    };
    // A scroll button, the halves of an up-down beside a 21-pixel edit, and a small button.
    const Case cases[] = {{16, 16, 7, 4}, {16, 10, 5, 3}, {16, 11, 5, 3}, {8, 8, 3, 2}};
    for (const Case& c : cases) {
        Canvas canvas(c.width, c.height, Red);
        Draw(canvas, {0, 0, c.width, c.height}, DFC_SCROLL, DFCS_SCROLLUP);
        int top = c.height, bottom = -1, left = c.width, right = -1;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                if (canvas.At(x, y) == ButtonText)
                    top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
        EXPECT_EQ(right - left + 1, c.across) << c.width << "x" << c.height;
        EXPECT_EQ(bottom - top + 1, c.deep) << c.width << "x" << c.height;
    }
}

TEST(DrawFrameControl, PushedArrowMovesAndInactiveIsEmbossed)
{
    Canvas normal(16, 16), pushed(16, 16), inactive(16, 16);
    Draw(normal, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLDOWN);
    Draw(pushed, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    Draw(inactive, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
    for (int y = 2; y < 13; ++y)
        for (int x = 2; x < 13; ++x)
            EXPECT_EQ(normal.At(x, y) == ButtonText, pushed.At(x + 1, y + 1) == ButtonText) << x << "," << y;
    EXPECT_EQ(pushed.At(0, 5), Shadow);
    EXPECT_EQ(pushed.At(15, 5), Shadow);
    EXPECT_EQ(inactive.Count(ButtonText), 0);
    EXPECT_EQ(inactive.Count(Shadow) - normal.Count(Shadow), 16);
}

TEST(DrawFrameControl, CaptionButtonsAndMenuGlyphs)
{
    const UINT captions[] = {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE,
                             DFCS_CAPTIONHELP};
    std::vector<std::vector<std::string>> pictures;
    for (UINT part : captions) {
        Canvas canvas(16, 14, Red);
        Draw(canvas, {0, 0, 16, 14}, DFC_CAPTION, part);
        EXPECT_EQ(canvas.Count(Red), 0) << part;
        EXPECT_EQ(canvas.At(0, 7), Hilight) << part;
        pictures.push_back(Picture(canvas, {2, 2, 14, 12}, ButtonText));
        for (const auto& earlier : std::vector(pictures.begin(), pictures.end() - 1))
            EXPECT_NE(earlier, pictures.back()) << part;
    }
    // The close cross is symmetric about the button's middle.
    const auto& cross = pictures[0];
    for (const std::string& row : cross)
        EXPECT_EQ(row, std::string(row.rbegin(), row.rend()));

    Canvas menu(13, 13, Red);
    Draw(menu, {0, 0, 13, 13}, DFC_MENU, DFCS_MENUCHECK);
    EXPECT_EQ(Picture(menu, {3, 3, 10, 10}, Black), ClassicCheckMark);
    EXPECT_EQ(menu.Count(White), 13 * 13 - 21);
    RECT r{0, 0, 13, 13};
    EXPECT_FALSE(DrawFrameControl(menu.Dc(), &r, DFC_CAPTION, 0x77));
    EXPECT_FALSE(DrawFrameControl(menu.Dc(), &r, 9, 0));
}
