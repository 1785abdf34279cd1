#include "EditFixture.h"

#include "platform/winapi/controls/RichEdit.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <cstring>

namespace {

using RichEditTest = EditFixture;

CHARFORMATA ColorFormat(COLORREF color)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = color;
    return format;
}

void Colour(HWND rich, LONG from, LONG to, COLORREF color)
{
    const CHARRANGE range{from, to};
    (void)SendMessageA(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format = ColorFormat(color);
    (void)SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

class RichEditPixels : public RichEditTest {
protected:
    bool Has(HWND rich, int fromX, int toX, std::uint32_t color) const
    {
        for (int x = fromX; x < toX; ++x)
            for (int y = 0; y < 20; ++y)
                if (Pixel(rich, POINT{x, y}) == color)
                    return true;
        return false;
    }
};

TEST_F(RichEditPixels, ColouredRunsAreDrawnInTheirColours)
{
    const HWND rich = MakeEdit(ES_MULTILINE, "", {10, 10, 310, 60}, RICHEDIT_CLASSA);
    (void)SetWindowTextA(rich, "MMMMMMMMWWWWWWWW");
    Colour(rich, 0, 8, RGB(255, 0, 0));
    Colour(rich, 8, 16, RGB(0, 128, 0));
    const CHARRANGE end{16, 16};
    (void)SendMessageA(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    (void)SetFocus(m_main);
    const int middle = LOWORD(static_cast<DWORD>(SendMessageA(rich, EM_POSFROMCHAR, 8, 0)));
    EXPECT_TRUE(Has(rich, 0, middle, 0xFF0000));
    EXPECT_FALSE(Has(rich, 0, middle, 0x008000));
    EXPECT_TRUE(Has(rich, middle, middle * 2 + 4, 0x008000));
    EXPECT_FALSE(Has(rich, middle, middle * 2 + 4, 0xFF0000));

    (void)SendMessageA(rich, EM_SETBKGNDCOLOR, 0, RGB(0, 0, 255));
    EXPECT_EQ(Pixel(rich, {280, 30}), 0x0000FFu);
}

TEST_F(RichEditTest, CharFormatReportsWhatTheSelectionShares)
{
    const HWND rich = MakeEdit(ES_MULTILINE, "", {10, 10, 310, 60}, RICHEDIT_CLASSA);
    (void)SetWindowTextA(rich, "redgreen");
    Colour(rich, 0, 3, RGB(255, 0, 0));
    Colour(rich, 3, 8, RGB(0, 128, 0));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    const CHARRANGE red{0, 3};
    (void)SendMessageA(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&red));
    (void)SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwMask & CFM_COLOR);
    EXPECT_EQ(format.crTextColor, RGB(255, 0, 0));
    const CHARRANGE both{1, 5};
    (void)SendMessageA(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&both));
    (void)SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_FALSE(format.dwMask & CFM_COLOR);
    EXPECT_TRUE(format.dwMask & CFM_FACE);

    // Text typed after a coloured run takes its colour; an empty selection's format is for the
    // next text only.
    const CHARRANGE end{8, 8};
    (void)SendMessageA(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    CHARFORMATA bold{};
    bold.cbSize = sizeof bold;
    bold.dwMask = CFM_BOLD;
    bold.dwEffects = CFE_BOLD;
    (void)SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold));
    (void)SendMessageA(rich, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("!"));
    const CHARRANGE last{8, 9};
    (void)SendMessageA(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&last));
    (void)SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.crTextColor, RGB(0, 128, 0));
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
}

TEST_F(RichEditTest, ChangeIsReportedOnlyWhenTheEventMaskAsks)
{
    const HWND rich = MakeEdit(ES_MULTILINE, "", {10, 10, 310, 60}, RICHEDIT_CLASSA);
    Type("a");
    EXPECT_EQ(Count(EN_CHANGE), 0);
    EXPECT_EQ(SendMessageA(rich, EM_SETEVENTMASK, 0, ENM_CHANGE), ENM_NONE);
    Type("b");
    EXPECT_EQ(Count(EN_CHANGE), 1);
    EXPECT_EQ(Count(EN_UPDATE), 0);
    EXPECT_EQ(SendMessageA(rich, EM_GETEVENTMASK, 0, 0), ENM_CHANGE);
}

} // namespace

// The class library gives a rich edit its font as a point size; 8 pt must be the same 11 pixels
// that the other controls draw with, coloured runs included.
TEST_F(RichEditTest, APointSizeGivesTheFontOfThePlainEdit)
{
    const GdiObject<HFONT> font(
        CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif"));
    const HWND plain = MakeEdit(0, "Red, green and blue", {10, 10, 310, 30});
    (void)SendMessageA(plain, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    const HWND rich = MakeEdit(ES_MULTILINE, "", {10, 40, 310, 60}, RICHEDIT_CLASSA);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE;
    std::strcpy(format.szFaceName, "MS Sans Serif");
    format.yHeight = 8 * 20;
    (void)SendMessageA(rich, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    (void)SetWindowTextA(rich, "Red, green and blue");
    Colour(rich, 0, 3, RGB(255, 0, 0));

    for (const WPARAM position : {3, 10, 19})
        EXPECT_EQ(LOWORD(SendMessageA(rich, EM_POSFROMCHAR, position, 0)),
                  LOWORD(SendMessageA(plain, EM_POSFROMCHAR, position, 0)))
            << "at " << position;
}
