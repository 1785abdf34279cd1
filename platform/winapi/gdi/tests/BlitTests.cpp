#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <cstring>

TEST(Blit, Rop3TableOverPatternSourceAndDestination)
{
    // One pixel each of every (P, S, D) combination per channel bit is too much; use whole-white
    // and whole-black pixels so the result shows the table bit directly.
    struct Case {
        DWORD rop;
    };
    const DWORD rops[] = {SRCCOPY,  SRCPAINT, SRCAND,   SRCINVERT, SRCERASE,  NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
                          MERGEPAINT, PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS, 0x00B8074A, 0x00E20746};
    for (DWORD rop : rops) {
        const int table = (rop >> 16) & 0xFF;
        for (int i = 0; i < 8; ++i) {
            const bool p = i & 4, s = i & 2, d = i & 1;
            Canvas src(1, 1, s ? White : Black);
            Canvas dest(1, 1, d ? White : Black);
            SelectObject(dest.Dc(), GetStockObject(p ? WHITE_BRUSH : BLACK_BRUSH));
            ASSERT_TRUE(BitBlt(dest.Dc(), 0, 0, 1, 1, src.Dc(), 0, 0, rop));
            EXPECT_EQ(dest.At(0, 0), ((table >> i) & 1) ? White : Black) << std::hex << rop << " case " << i;
        }
    }
}

TEST(Blit, MirroredStretch)
{
    Canvas src(4, 1);
    const COLORREF colours[4] = {Red, RGB(0, 255, 0), Blue, Black};
    for (int x = 0; x < 4; ++x)
        SetPixel(src.Dc(), x, 0, colours[x]);
    Canvas dest(8, 2);
    // Negative destination width: drawn right to left, each source pixel twice.
    ASSERT_TRUE(StretchBlt(dest.Dc(), 7, 0, -8, 2, src.Dc(), 0, 0, 4, 1, SRCCOPY));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(dest.At(x, 1), colours[3 - x / 2]) << x;
    // Mirroring the source instead gives the same picture.
    Canvas again(8, 2);
    StretchBlt(again.Dc(), 0, 0, 8, 2, src.Dc(), 3, 0, -4, 1, SRCCOPY);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(again.At(x, 0), dest.At(x, 0)) << x;
}

TEST(Blit, OverlappingCopyWithinOneBitmap)
{
    Canvas canvas(10, 1);
    for (int x = 0; x < 10; ++x)
        SetPixel(canvas.Dc(), x, 0, RGB(x, 0, 0));
    BitBlt(canvas.Dc(), 2, 0, 8, 1, canvas.Dc(), 0, 0, SRCCOPY);
    for (int x = 2; x < 10; ++x)
        EXPECT_EQ(canvas.At(x, 0), RGB(x - 2, 0, 0));
}

TEST(Blit, MonochromeConversionsBothWays)
{
    // Colour to monochrome: the source's background colour becomes white, the rest black.
    Canvas colour(2, 1, Red);
    SetPixel(colour.Dc(), 1, 0, Blue);
    HDC maskDc = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(maskDc, mask);
    SetBkColor(colour.Dc(), Blue);
    BitBlt(maskDc, 0, 0, 2, 1, colour.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(maskDc, 0, 0), Black);
    EXPECT_EQ(GetPixel(maskDc, 1, 0), White);
    BYTE packed[2] = {};
    EXPECT_EQ(GetBitmapBits(mask, 2, packed), 2);
    EXPECT_EQ(packed[0], 0x40);
    // Monochrome to colour: 0 bits take the text colour, 1 bits the background colour.
    Canvas target(2, 1);
    SetTextColor(target.Dc(), RGB(0, 128, 0));
    SetBkColor(target.Dc(), RGB(200, 100, 50));
    BitBlt(target.Dc(), 0, 0, 2, 1, maskDc, 0, 0, SRCCOPY);
    EXPECT_EQ(target.At(0, 0), RGB(0, 128, 0));
    EXPECT_EQ(target.At(1, 0), RGB(200, 100, 50));
    SelectObject(maskDc, old);
    DeleteObject(mask);
    DeleteDC(maskDc);
}

TEST(Blit, TransparentBltSkipsTheKey)
{
    Canvas src(3, 1, RGB(255, 0, 255));
    SetPixel(src.Dc(), 1, 0, Blue);
    Canvas dest(6, 2, Red);
    ASSERT_TRUE(TransparentBlt(dest.Dc(), 0, 0, 6, 2, src.Dc(), 0, 0, 3, 1, RGB(255, 0, 255)));
    EXPECT_EQ(dest.Count(Blue), 4);
    EXPECT_EQ(dest.At(0, 0), Red);
    EXPECT_EQ(dest.At(2, 1), Blue);
}

TEST(Blit, AlphaBlendConstantAndPerPixel)
{
    Canvas src(2, 1, RGB(200, 100, 0));
    Canvas dest(2, 1, RGB(0, 0, 200));
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(dest.Dc(), 0, 0, 2, 1, src.Dc(), 0, 0, 2, 1, half));
    const COLORREF c = dest.At(0, 0);
    EXPECT_NEAR(GetRValue(c), 100, 1);
    EXPECT_NEAR(GetGValue(c), 50, 1);
    EXPECT_NEAR(GetBValue(c), 100, 1);
    // Per-pixel alpha: premultiplied source; alpha 0 keeps the destination, 255 replaces it.
    Canvas premultiplied(2, 1);
    premultiplied.Bits()[0] = 0x00000000u;
    premultiplied.Bits()[1] = 0xFF00FF00u;
    Canvas under(2, 1, Red);
    BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(under.Dc(), 0, 0, 2, 1, premultiplied.Dc(), 0, 0, 2, 1, perPixel));
    EXPECT_EQ(under.At(0, 0), Red);
    EXPECT_EQ(under.At(1, 0), RGB(0, 255, 0));
    // A source rectangle outside the source fails.
    EXPECT_FALSE(AlphaBlend(under.Dc(), 0, 0, 2, 1, premultiplied.Dc(), 1, 0, 2, 1, perPixel));
}

TEST(Blit, MaskBltPicksRopPerMaskBit)
{
    Canvas src(2, 1, Blue);
    Canvas dest(2, 1, Red);
    const WORD bits[1] = {0x80}; // first pixel 1, second 0
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, bits);
    ASSERT_TRUE(MaskBlt(dest.Dc(), 0, 0, 2, 1, src.Dc(), 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029)));
    EXPECT_EQ(dest.At(0, 0), Blue);
    EXPECT_EQ(dest.At(1, 0), Red);
    DeleteObject(mask);
}

TEST(Blit, StretchDIBitsReadsBottomUpRows)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info{{sizeof(BITMAPINFOHEADER), 2, 2, 1, 1, BI_RGB, 0, 0, 0, 2, 0}, {{0, 0, 255, 0}, {255, 0, 0, 0}}};
    // Bottom row first: row 0 (bottom) = 1,0 ; row 1 (top) = 0,1. Rows padded to 4 bytes.
    const BYTE bits[8] = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
    Canvas dest(2, 2);
    ASSERT_EQ(StretchDIBits(dest.Dc(), 0, 0, 2, 2, 0, 0, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS, SRCCOPY),
              2);
    EXPECT_EQ(dest.At(0, 0), Red);
    EXPECT_EQ(dest.At(1, 0), Blue);
    EXPECT_EQ(dest.At(0, 1), Blue);
    EXPECT_EQ(dest.At(1, 1), Red);
}
