#include "grid/core/DBGridGxTextDrawing.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int SurfaceWidth = 220;
constexpr int SurfaceHeight = 140;

[[nodiscard]] bool IsWellFormedUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

// A white surface with black 13-pixel Arial, painted and read back through its canvas.
class CellText : public ::testing::Test {
protected:
    CellText()
    {
        m_bitmap.SetSize(SurfaceWidth, SurfaceHeight);
        Canvas().Font()->SetName("Arial");
        Canvas().Font()->SetHeight(-13);
        Canvas().Font()->SetColor(clBlack);
        Clear();
    }

    TCanvas& Canvas() { return *m_bitmap.Canvas(); }
    void Clear()
    {
        Canvas().Brush()->SetStyle(bsSolid);
        Canvas().Brush()->SetColor(clWhite);
        Canvas().FillRect(Rect(0, 0, SurfaceWidth, SurfaceHeight));
    }
    [[nodiscard]] std::vector<COLORREF> Pixels()
    {
        const HDC dc = Canvas().Handle();
        std::vector<COLORREF> pixels;
        for (int y = 0; y < SurfaceHeight; ++y)
            for (int x = 0; x < SurfaceWidth; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        return pixels;
    }
    // How many pixels differ from `before`: one number to report instead of two surfaces.
    [[nodiscard]] int ChangedPixels(const std::vector<COLORREF>& before)
    {
        const std::vector<COLORREF> now = Pixels();
        int changed = 0;
        for (std::size_t i = 0; i < now.size(); ++i)
            changed += now[i] != before[i];
        return changed;
    }
    // The box around every pixel that is not the background; none when nothing was drawn.
    [[nodiscard]] std::optional<TRect> Ink(TColor background = clWhite)
    {
        std::optional<TRect> box;
        const std::vector<COLORREF> pixels = Pixels();
        const COLORREF backgroundRgb = ColorToRGB(background);
        for (int y = 0; y < SurfaceHeight; ++y) {
            for (int x = 0; x < SurfaceWidth; ++x) {
                if (pixels[static_cast<std::size_t>(y * SurfaceWidth + x)] == backgroundRgb)
                    continue;
                if (!box)
                    box = Rect(x, y, x + 1, y + 1);
                box->left = std::min<LONG>(box->left, x);
                box->top = std::min<LONG>(box->top, y);
                box->right = std::max<LONG>(box->right, x + 1);
                box->bottom = std::max<LONG>(box->bottom, y + 1);
            }
        }
        return box;
    }
    // The ink of one single-line drawing on a cleared surface.
    [[nodiscard]] TRect SingleLineInk(const TRect& cell, int dx, int dy, const std::string& text,
                                      TAlignment alignment, TTextLayout layout, bool endEllipsis = false)
    {
        Clear();
        DrawCellText(Canvas(), cell, false, dx, dy, text, alignment, layout, false, endEllipsis, 0, 0, false);
        const std::optional<TRect> ink = Ink();
        EXPECT_TRUE(ink.has_value()) << text;
        return ink.value_or(TRect{});
    }
    [[nodiscard]] TRect MultiLineInk(const TRect& cell, int dx, int dy, const std::string& text, TAlignment alignment,
                                     TTextLayout layout, int leftMargin = 0, bool endEllipsis = false)
    {
        Clear();
        DrawCellText(Canvas(), cell, false, dx, dy, text, alignment, layout, true, endEllipsis, leftMargin, 0, false);
        const std::optional<TRect> ink = Ink();
        EXPECT_TRUE(ink.has_value()) << text;
        return ink.value_or(TRect{});
    }

    TBitmap m_bitmap;
};

} // namespace

TEST_F(CellText, ShortenWithEllipsisKeepsWholeCharactersThatFit)
{
    TCanvas& canvas = Canvas();
    struct Case {
        std::string text;
        int maxWidth;
        std::string expected;
    };
    const std::string accented = "e\xCC\x81"; // e and a combining acute accent
    const Case cases[] = {
        {"abcdefgh", canvas.TextWidth("abcdefgh"), "abcdefgh"},
        {"abcdefgh", canvas.TextWidth("abc..."), "abc..."},
        {"abcdefgh", canvas.TextWidth("abc...") + 1, "abc..."},
        {"abcdefgh", canvas.TextWidth("abcdef...") + 100, "abcdefgh"},
        {"abcdefgh", canvas.TextWidth("abcdefgh") - 1, "abcdef..."},
        {"abcdefgh", canvas.TextWidth("...") - 1, "..."},
        {"abcdefgh", -5, "..."},
        {"W", 1, "..."},
        {"", -5, ""},
        {"ÄÖÜäöü€x", canvas.TextWidth("ÄÖ..."), "ÄÖ..."},
        {"€€€€€€", canvas.TextWidth("€€€...") + 1, "€€€..."},
        {accented + accented + accented + accented, canvas.TextWidth(accented + "..."), accented + "..."},
    };
    for (const Case& c : cases) {
        const std::string shortened = ShortenWithEllipsis(c.text, canvas, c.maxWidth);
        EXPECT_EQ(shortened, c.expected) << c.text << " in " << c.maxWidth;
        EXPECT_TRUE(IsWellFormedUtf8(shortened)) << c.text;
    }
}

TEST_F(CellText, AVeryLongTextIsShortenedToTheLongestFittingPrefix)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += i % 3 == 0 ? "ж" : "a";
    const std::string shortened = ShortenWithEllipsis(text, Canvas(), 100);
    ASSERT_GT(shortened.size(), 3u);
    const std::string kept = shortened.substr(0, shortened.size() - 3);
    EXPECT_EQ(shortened.substr(kept.size()), "...");
    EXPECT_EQ(text.compare(0, kept.size(), kept), 0);
    EXPECT_TRUE(IsWellFormedUtf8(shortened));
    EXPECT_LE(Canvas().TextWidth(shortened), 100);
    const std::size_t next = kept.size() + (static_cast<unsigned char>(text[kept.size()]) >= 0x80 ? 2 : 1);
    EXPECT_GT(Canvas().TextWidth(text.substr(0, next) + "..."), 100) << "one more character would not fit";
}

TEST_F(CellText, SingleLineTextIsPlacedByAlignmentAndLayout)
{
    const TRect cell = Rect(10, 8, 190, 68);
    const int dx = 2;
    const int dy = 3;
    const std::string text = "Mg";
    const int width = Canvas().TextWidth(text);
    const int height = Canvas().TextHeight(text);
    const TRect reference = SingleLineInk(cell, dx, dy, text, taLeftJustify, tlTop);
    struct Case {
        TAlignment alignment;
        TTextLayout layout;
        int x;
        int y;
    };
    const Case cases[] = {
        {taLeftJustify, tlTop, cell.left + dx, cell.top + dy},
        {taRightJustify, tlTop, cell.right - width - 3, cell.top + dy},
        {taCenter, tlTop, cell.left + (cell.right - cell.left) / 2 - width / 2, cell.top + dy},
        {taLeftJustify, tlCenter, cell.left + dx, (cell.top + cell.bottom - height) / 2},
        {taLeftJustify, tlBottom, cell.left + dx, cell.bottom - height},
        {taCenter, tlBottom, cell.left + (cell.right - cell.left) / 2 - width / 2, cell.bottom - height},
    };
    for (const Case& c : cases) {
        const TRect ink = SingleLineInk(cell, dx, dy, text, c.alignment, c.layout);
        EXPECT_EQ(ink.left - reference.left, c.x - (cell.left + dx)) << c.alignment << "/" << c.layout;
        EXPECT_EQ(ink.top - reference.top, c.y - (cell.top + dy)) << c.alignment << "/" << c.layout;
    }
}

TEST_F(CellText, ALowCellKeepsBottomAndCentredTextAtItsTopMargin)
{
    const int height = Canvas().TextHeight("Mg");
    const int dy = 2;
    const TRect low = Rect(10, 10, 150, 10 + height + dy);
    const TRect top = SingleLineInk(low, 2, dy, "Mg", taLeftJustify, tlTop);
    EXPECT_EQ(SingleLineInk(low, 2, dy, "Mg", taLeftJustify, tlBottom).top, top.top);
    EXPECT_EQ(SingleLineInk(low, 2, dy, "Mg", taLeftJustify, tlCenter).top, top.top);
    TRect roomier = low;
    roomier.bottom += 2;
    EXPECT_EQ(SingleLineInk(roomier, 2, dy, "Mg", taLeftJustify, tlBottom).top, top.top + 2);
}

TEST_F(CellText, SingleLineTextIsClippedToItsCellAndShortenedWithAnEllipsis)
{
    const TRect cell = Rect(20, 10, 80, 40);
    const std::string text = "A long caption that cannot fit";
    const TRect clipped = SingleLineInk(cell, 2, 2, text, taLeftJustify, tlTop);
    EXPECT_GE(clipped.left, cell.left);
    EXPECT_EQ(clipped.right, cell.right) << "cut off at the cell's edge";
    const TRect shortened = SingleLineInk(cell, 2, 2, text, taLeftJustify, tlTop, true);
    EXPECT_LT(shortened.right, cell.right);
    const std::vector<COLORREF> withEllipsis = Pixels();
    (void)SingleLineInk(cell, 2, 2, ShortenWithEllipsis(text, Canvas(), 60 - 2), taLeftJustify, tlTop);
    EXPECT_EQ(ChangedPixels(withEllipsis), 0) << "the ellipsis form is what a cell 2 pixels narrower holds";
}

TEST_F(CellText, EmptyAndInvertedCellsDrawNothing)
{
    const std::vector<COLORREF> blank = Pixels();
    const TRect cells[] = {Rect(50, 10, 50, 40), Rect(80, 10, 40, 40), Rect(10, 40, 90, 10), Rect(0, 0, 0, 0)};
    for (const TRect& cell : cells) {
        for (const TAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
            for (const bool multiLine : {false, true})
                DrawCellText(Canvas(), cell, true, 2, 2, "text", alignment, tlCenter, multiLine, true, 0, 0, false);
            (void)DrawCellTextVertical(Canvas(), cell, true, 2, 2, "text", alignment, tlCenter, false);
        }
        EXPECT_EQ(ChangedPixels(blank), 0) << cell.left << "," << cell.top << " " << cell.right << "," << cell.bottom;
    }
    DrawCellText(Canvas(), Rect(10, 10, 90, 40), true, 2, 2, "", taCenter, tlCenter, false, true, 0, 0, false);
    EXPECT_EQ(Canvas().Pixels(50, 25), clWhite) << "empty text on a white brush";
}

TEST_F(CellText, TheFillFlagDecidesWhetherTheCellIsPaintedFirst)
{
    const TRect cell = Rect(10, 10, 100, 50);
    for (const bool multiLine : {false, true}) {
        for (const bool fill : {false, true}) {
            Clear();
            Canvas().Brush()->SetColor(clRed);
            DrawCellText(Canvas(), cell, fill, 2, 2, "Fill", taLeftJustify, tlTop, multiLine, false, 0, 0, false);
            EXPECT_EQ(Canvas().Pixels(95, 45), fill ? clRed : clWhite) << "multi-line " << multiLine;
            EXPECT_EQ(Canvas().Pixels(105, 45), clWhite) << "outside the cell";
            EXPECT_EQ(Canvas().Brush()->Style(), bsSolid) << "the brush style is put back";
            EXPECT_TRUE(Ink(fill ? clRed : clWhite).has_value());
        }
    }
}

TEST_F(CellText, MultiLineTextWrapsAtBlanksInsideTheMargins)
{
    const int lineHeight = Canvas().TextHeight("Mg");
    const TRect cell = Rect(10, 10, 90, 130);
    const std::string text = "alpha beta gamma delta";
    const TRect wrapped = MultiLineInk(cell, 2, 2, text, taLeftJustify, tlTop);
    EXPECT_GT(wrapped.bottom - wrapped.top, lineHeight + lineHeight / 2) << "several lines";
    EXPECT_GE(wrapped.left, cell.left + 2);
    EXPECT_LE(wrapped.right, cell.right - 2);
    const TRect single = SingleLineInk(cell, 2, 2, text, taLeftJustify, tlTop);
    EXPECT_LE(single.bottom - single.top, lineHeight);

    EXPECT_EQ(MultiLineInk(cell, 2, 2, text, taLeftJustify, tlTop, 10).left, wrapped.left + 10) << "left margin";
    const TRect bottom = MultiLineInk(cell, 2, 2, text, taLeftJustify, tlBottom);
    EXPECT_GT(bottom.top, wrapped.top);
    EXPECT_LE(bottom.bottom, cell.bottom - 2 + 1);
    EXPECT_GE(bottom.bottom, cell.bottom - 2 - lineHeight / 2);
    const TRect centred = MultiLineInk(cell, 2, 2, text, taLeftJustify, tlCenter);
    EXPECT_NEAR((centred.top + centred.bottom) / 2.0, (cell.top + cell.bottom) / 2.0, lineHeight / 2.0);
    const TRect right = MultiLineInk(cell, 2, 2, "alpha", taRightJustify, tlTop);
    EXPECT_LE(right.right, cell.right - 2);
    EXPECT_GE(right.right, cell.right - 2 - 2);
}

TEST_F(CellText, MultiLineTextWithAnEllipsisStaysInsideTheCell)
{
    const TRect cell = Rect(10, 10, 70, 40);
    const TRect ink = MultiLineInk(cell, 2, 2, "Incomprehensibilities", taLeftJustify, tlTop, 0, true);
    EXPECT_LE(ink.right, cell.right - 2);
    const TRect utf8 = MultiLineInk(cell, 2, 2, "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", taLeftJustify, tlTop, 0, true);
    EXPECT_LE(utf8.right, cell.right - 2);
}

TEST_F(CellText, TheSharedBitmapLivesWhileHeldAndOnlyGrows)
{
    ASSERT_EQ(SharedDrawBitmap(), nullptr);
    ReleaseDrawBitmap(); // no holder: nothing happens
    EXPECT_EQ(SharedDrawBitmap(), nullptr);
    {
        const TDrawBitmapHoldGx first;
        const TDrawBitmapHoldGx second;
        TBitmap* bitmap = SharedDrawBitmap();
        ASSERT_NE(bitmap, nullptr);
        {
            const TDrawBitmapHoldGx third;
            EXPECT_EQ(SharedDrawBitmap(), bitmap);
        }
        EXPECT_EQ(SharedDrawBitmap(), bitmap);

        // A monochrome surface can only dither a light grey, so the cell goes off-screen.
        TBitmap mono;
        mono.SetMonochrome(true);
        mono.SetSize(200, 60);
        TCanvas& canvas = *mono.Canvas();
        canvas.Brush()->SetColor(clBlack);
        canvas.FillRect(Rect(0, 0, 200, 60));
        canvas.Font()->SetColor(clBlack);
        canvas.Brush()->SetColor(TColor(0xF0F0F0));
        DrawCellText(canvas, Rect(10, 10, 150, 50), false, 2, 2, "Grey", taLeftJustify, tlTop, false, false, 0, 0,
                     false);
        EXPECT_EQ(canvas.Pixels(148, 48), clWhite) << "off-screen cells are always filled";
        EXPECT_EQ(canvas.Pixels(152, 48), clBlack);
        EXPECT_EQ(canvas.Brush()->Style(), bsSolid);
        EXPECT_EQ(bitmap->Width(), 140);
        EXPECT_EQ(bitmap->Height(), 40);
        EXPECT_EQ(bitmap->Canvas()->LockCount(), 0);
        DrawCellText(canvas, Rect(0, 0, 30, 50), false, 2, 2, "G", taLeftJustify, tlTop, true, false, 0, 0, false);
        EXPECT_EQ(bitmap->Width(), 140) << "never shrinks";
        EXPECT_EQ(bitmap->Height(), 50);
    }
    EXPECT_EQ(SharedDrawBitmap(), nullptr);
}

TEST_F(CellText, ADitheredCellIsDrawnEvenWhenNoGridHoldsTheBitmap)
{
    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(100, 40);
    TCanvas& canvas = *mono.Canvas();
    canvas.Brush()->SetColor(clBlack);
    canvas.FillRect(Rect(0, 0, 100, 40));
    canvas.Brush()->SetColor(TColor(0xF0F0F0));
    DrawCellText(canvas, Rect(0, 0, 100, 40), false, 2, 2, "x", taLeftJustify, tlTop, false, false, 0, 0, false);
    (void)DrawCellTextVertical(canvas, Rect(0, 0, 100, 40), true, 2, 2, "x", taLeftJustify, tlTop, false);
    EXPECT_EQ(canvas.Pixels(98, 38), clWhite);
    EXPECT_EQ(SharedDrawBitmap(), nullptr);
}

TEST(VerticalFont, MirrorsTheFontTurnedByNinetyDegrees)
{
    struct Case {
        const char* name;
        TFontStyles style;
        TFontPitch pitch;
        const char* face;
        LONG weight;
        BYTE pitchAndFamily;
    };
    const Case cases[] = {
        {"Arial", TFontStyles{}, fpDefault, "Arial", FW_NORMAL, 0},
        {"Default", TFontStyles{fsBold}, fpVariable, "MS Sans Serif", FW_BOLD, VARIABLE_PITCH},
        {"Courier New", TFontStyles{fsItalic, fsUnderline, fsStrikeOut}, fpFixed, "Courier New", FW_NORMAL,
         FIXED_PITCH},
    };
    for (const Case& c : cases) {
        TFont font;
        font.SetName(c.name);
        font.SetHeight(-15);
        font.SetStyle(c.style);
        font.SetPitch(c.pitch);
        font.SetCharset(204);
        const GdiObject<HFONT> vertical = MakeVerticalFont(font);
        LOGFONTA logFont{};
        ASSERT_EQ(GetObjectA(vertical.Get(), sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
        EXPECT_EQ(logFont.lfHeight, -15);
        EXPECT_EQ(logFont.lfWidth, 0);
        EXPECT_EQ(logFont.lfEscapement, 900);
        EXPECT_EQ(logFont.lfOrientation, 900);
        EXPECT_EQ(logFont.lfWeight, c.weight) << c.name;
        EXPECT_EQ(logFont.lfItalic != 0, c.style.Contains(fsItalic));
        EXPECT_EQ(logFont.lfUnderline != 0, c.style.Contains(fsUnderline));
        EXPECT_EQ(logFont.lfStrikeOut != 0, c.style.Contains(fsStrikeOut));
        EXPECT_EQ(logFont.lfCharSet, 204);
        EXPECT_EQ(logFont.lfOutPrecision, OUT_TT_ONLY_PRECIS);
        EXPECT_EQ(logFont.lfPitchAndFamily, c.pitchAndFamily);
        EXPECT_STREQ(logFont.lfFaceName, c.face);
    }
}

TEST_F(CellText, MeasuringVerticalTextDrawsNothingAndKeepsTheFont)
{
    const LOGFONTA before = Canvas().Font()->LogFont();
    const std::vector<COLORREF> blank = Pixels();
    const int shortExtent = DrawCellTextVertical(Canvas(), Rect(10, 10, 40, 130), true, 2, 2, "Ab", taLeftJustify,
                                                 tlTop, true);
    const int longExtent = DrawCellTextVertical(Canvas(), Rect(10, 10, 40, 130), true, 2, 2, "Abcdef", taLeftJustify,
                                                tlTop, true);
    EXPECT_GT(shortExtent, 0);
    EXPECT_GT(longExtent, shortExtent);
    EXPECT_EQ(DrawCellTextVertical(Canvas(), Rect(10, 10, 40, 130), true, 2, 2, "", taLeftJustify, tlTop, true), 0);
    EXPECT_EQ(ChangedPixels(blank), 0);
    const LOGFONTA after = Canvas().Font()->LogFont();
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST_F(CellText, VerticalTextRunsUpwardFromItsPlace)
{
    const TRect cell = Rect(20, 10, 60, 130);
    const int dx = 2;
    const int dy = 3;
    const std::string text = "Title";
    const int height = Canvas().TextHeight(text);
    struct Case {
        TAlignment alignment;
        TTextLayout layout;
    };
    for (const Case c : {Case{taLeftJustify, tlTop}, Case{taRightJustify, tlBottom}, Case{taCenter, tlCenter}}) {
        Clear();
        const int extent = DrawCellTextVertical(Canvas(), cell, false, dx, dy, text, c.alignment, c.layout, false);
        const std::optional<TRect> ink = Ink();
        ASSERT_TRUE(ink.has_value());
        EXPECT_GT(ink->bottom - ink->top, ink->right - ink->left) << "turned upright";
        EXPECT_GT(ink->bottom - ink->top, extent / 2);
        EXPECT_LE(ink->bottom - ink->top, extent + 1);
        if (c.alignment == taLeftJustify) {
            EXPECT_GE(ink->left, cell.left + dx);
            EXPECT_LE(ink->right, cell.left + dx + height);
        } else if (c.alignment == taRightJustify) {
            EXPECT_GE(ink->left, cell.right - height);
            EXPECT_LE(ink->right, cell.right);
        }
        if (c.layout == tlTop) {
            EXPECT_GE(ink->top, cell.top);
            EXPECT_LE(ink->bottom, cell.top + extent + 1);
        } else if (c.layout == tlBottom) {
            EXPECT_LE(ink->bottom, cell.bottom - dy);
            EXPECT_GE(ink->top, cell.bottom - dy - extent - 1);
        } else {
            EXPECT_NEAR((ink->top + ink->bottom) / 2.0, (cell.top + cell.bottom) / 2.0, 3);
            EXPECT_NEAR((ink->left + ink->right) / 2.0, (cell.left + cell.right) / 2.0, 4);
        }
        EXPECT_EQ(Canvas().Font()->Orientation(), 0);
        EXPECT_EQ(Canvas().Brush()->Style(), bsSolid);
    }
    Clear();
    Canvas().Brush()->SetColor(clBlue);
    (void)DrawCellTextVertical(Canvas(), cell, true, dx, dy, text, taLeftJustify, tlTop, false);
    EXPECT_EQ(Canvas().Pixels(cell.right - 1, cell.bottom - 1), clBlue) << "filled";
    EXPECT_EQ(Canvas().Pixels(cell.right, cell.bottom - 1), clWhite);
}

namespace {

// A white surface and a red 16 x 16 image, in an image list and as a bitmap.
class ClippedImage : public ::testing::Test {
protected:
    ClippedImage()
    {
        m_surface.SetSize(100, 60);
        Canvas().Brush()->SetColor(clWhite);
        Canvas().FillRect(Rect(0, 0, 100, 60));
        m_image.SetSize(16, 16);
        m_image.Canvas()->Brush()->SetColor(clRed);
        m_image.Canvas()->FillRect(Rect(0, 0, 16, 16));
        m_list.Add(&m_image, nullptr);
    }
    TCanvas& Canvas() { return *m_surface.Canvas(); }
    [[nodiscard]] std::optional<TRect> ClipBox()
    {
        const GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
        if (GetClipRgn(Canvas().Handle(), region.Get()) != 1)
            return std::nullopt;
        TRect box{};
        (void)GetRgnBox(region.Get(), &box);
        return box;
    }

    TBitmap m_surface;
    TBitmap m_image;
    TCustomImageList m_list{nullptr, 16, 16};
};

} // namespace

TEST_F(ClippedImage, ImagesAreAlignedAcrossAndCentredDown)
{
    struct Case {
        TAlignment alignment;
        int xOffset;
        int left;
    };
    for (const Case c : {Case{taLeftJustify, 0, 0}, Case{taRightJustify, -2, 42}, Case{taCenter, 1, 23}}) {
        Canvas().FillRect(Rect(0, 0, 100, 60));
        DrawImageClipped(&m_list, nullptr, Canvas(), Rect(0, 0, 60, 20), c.alignment, c.xOffset, 0);
        EXPECT_EQ(Canvas().Pixels(c.left, 2), clRed) << c.alignment;
        EXPECT_EQ(Canvas().Pixels(c.left + 15, 17), clRed);
        if (c.left > 0) {
            EXPECT_EQ(Canvas().Pixels(c.left - 1, 10), clWhite);
        }
        EXPECT_EQ(Canvas().Pixels(c.left + 16, 10), clWhite);
        EXPECT_EQ(Canvas().Pixels(c.left, 1), clWhite) << "centred: (20 - 16) / 2 = 2";
    }
    Canvas().FillRect(Rect(0, 0, 100, 60));
    DrawImageClipped(nullptr, &m_image, Canvas(), Rect(40, 20, 80, 60), taLeftJustify, 0, 0);
    EXPECT_EQ(Canvas().Pixels(40, 32), clRed) << "a graphic, centred in 40 rows";
    EXPECT_EQ(Canvas().Pixels(40, 31), clWhite);
    DrawImageClipped(nullptr, nullptr, Canvas(), Rect(0, 0, 100, 60), taLeftJustify, 0, 0);
}

TEST_F(ClippedImage, ALargerImageIsClippedAndThePreviousClipComesBack)
{
    const TRect cell = Rect(20, 20, 30, 30);
    ASSERT_FALSE(ClipBox().has_value());
    DrawImageClipped(&m_list, nullptr, Canvas(), cell, taLeftJustify, 0, 0);
    EXPECT_EQ(Canvas().Pixels(20, 20), clRed);
    EXPECT_EQ(Canvas().Pixels(29, 29), clRed);
    EXPECT_EQ(Canvas().Pixels(30, 25), clWhite);
    EXPECT_EQ(Canvas().Pixels(25, 17), clWhite) << "the image starts 3 rows above the cell";
    EXPECT_FALSE(ClipBox().has_value()) << "no clip region before, none after";

    const GdiObject<HRGN> clip(CreateRectRgn(5, 5, 95, 55));
    ASSERT_NE(SelectClipRgn(Canvas().Handle(), clip.Get()), ERROR);
    DrawImageClipped(nullptr, &m_image, Canvas(), Rect(60, 20, 70, 30), taCenter, 0, 0);
    EXPECT_EQ(Canvas().Pixels(70, 25), clWhite);
    const std::optional<TRect> box = ClipBox();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->left, 5);
    EXPECT_EQ(box->top, 5);
    EXPECT_EQ(box->right, 95);
    EXPECT_EQ(box->bottom, 55);
}
