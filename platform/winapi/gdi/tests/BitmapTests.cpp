#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <cstring>
#include <vector>

namespace {

struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

Info MakeInfo(int width, int height, int bpp)
{
    Info info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bpp), BI_RGB, 0, 0, 0, 0, 0};
    const int count = bpp <= 8 ? 1 << bpp : 0;
    for (int i = 0; i < count; ++i)
        info.colors[i] = {BYTE(i * 7), BYTE(255 - i), BYTE(i * 3), 0};
    return info;
}

} // namespace

TEST(Bitmaps, DibSectionLayoutsReadBackByteForByte)
{
    // Width 5 makes every depth need row padding.
    for (int bpp : {1, 4, 8, 24, 32})
        for (int height : {3, -3}) {
            Info info = MakeInfo(5, height, bpp);
            auto* bmi = reinterpret_cast<BITMAPINFO*>(&info);
            HDC dc = CreateCompatibleDC(nullptr);
            BYTE* bits = nullptr;
            HBITMAP dib = CreateDIBSection(dc, bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
            ASSERT_NE(dib, nullptr) << bpp;
            const int stride = ((5 * bpp + 31) / 32) * 4;
            DIBSECTION section{};
            ASSERT_EQ(GetObject(dib, sizeof section, &section), int(sizeof section));
            EXPECT_EQ(section.dsBm.bmWidthBytes, stride);
            EXPECT_EQ(section.dsBm.bmBits, bits);
            EXPECT_EQ(section.dsBmih.biHeight, height);
            // Valid pixel data (padding bits zero, alpha zero for 32 bits so it survives drawing).
            std::vector<BYTE> pattern(std::size_t(stride) * 3);
            for (int y = 0; y < 3; ++y)
                for (int b = 0; b < (5 * bpp + 7) / 8; ++b)
                    pattern[std::size_t(y * stride + b)] = BYTE((y * 37 + b * 11 + 5) & (bpp == 32 && b % 4 == 3 ? 0 : 0xFF));
            if (bpp < 8)
                for (int y = 0; y < 3; ++y) {
                    const int usedBits = 5 * bpp;
                    pattern[std::size_t(y * stride + usedBits / 8)] &= BYTE(0xFF00 >> (usedBits % 8));
                }
            std::memcpy(bits, pattern.data(), pattern.size());
            // Drawing through the DC keeps the memory layout.
            HGDIOBJ old = SelectObject(dc, dib);
            SetPixel(dc, 0, 0, GetPixel(dc, 0, 0));
            EXPECT_EQ(std::memcmp(bits, pattern.data(), pattern.size()), 0) << bpp << " " << height;
            // GetDIBits gives the same bytes and colour table.
            Info out = MakeInfo(5, height, bpp);
            std::memset(out.colors, 0, sizeof out.colors);
            std::vector<BYTE> copy(pattern.size());
            SelectObject(dc, old);
            EXPECT_EQ(GetDIBits(dc, dib, 0, 3, copy.data(), reinterpret_cast<BITMAPINFO*>(&out), DIB_RGB_COLORS), 3);
            EXPECT_EQ(copy, pattern) << bpp << " " << height;
            if (bpp <= 8) {
                EXPECT_EQ(std::memcmp(out.colors, info.colors, sizeof(RGBQUAD) << bpp), 0);
            }
            DeleteObject(dib);
            DeleteDC(dc);
        }
}

// A section's memory starts zeroed, and drawing and direct writes see each other whichever comes
// first, before or after the section was first drawn on.
TEST(Bitmaps, DibSectionMemoryAndDrawingStayInStep)
{
    Info info = MakeInfo(3, -2, 24);
    HDC dc = CreateCompatibleDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                   reinterpret_cast<void**>(&bits), nullptr, 0);
    ASSERT_NE(dib, nullptr);
    const std::vector<BYTE> zeros(24, 0);
    EXPECT_EQ(std::memcmp(bits, zeros.data(), zeros.size()), 0);
    bits[0] = 0x30; // blue of the top-left pixel, written before any drawing
    HGDIOBJ old = SelectObject(dc, dib);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0x30));
    SetPixel(dc, 2, 1, Red);
    EXPECT_EQ(bits[12 + 6 + 2], 0xFF);
    bits[3 + 1] = 0x40; // green of the second pixel, written after drawing
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0x40, 0));
    EXPECT_EQ(GetPixel(dc, 2, 1), Red);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
}

TEST(Bitmaps, BottomUpDibSectionFirstRowIsTheBottom)
{
    Info info = MakeInfo(1, 2, 32);
    HDC dc = CreateCompatibleDC(nullptr);
    std::uint32_t* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                   reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    SetPixel(dc, 0, 0, Red);
    EXPECT_EQ(bits[1], 0x00FF0000u);
    EXPECT_EQ(bits[0], 0u);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
}

TEST(Bitmaps, SetDIBitsAndCreateDIBitmapConvertFromPalettes)
{
    Info info = MakeInfo(2, -1, 8);
    info.colors[3] = {0, 0, 255, 0};
    const BYTE bits[4] = {3, 0, 0, 0};
    Canvas canvas(2, 1);
    HBITMAP copy = CreateDIBitmap(canvas.Dc(), &info.header, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(&info),
                                  DIB_RGB_COLORS);
    ASSERT_NE(copy, nullptr);
    BITMAP bm{};
    GetObject(copy, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmHeight, 1);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, copy);
    EXPECT_EQ(GetPixel(dc, 0, 0), Red);
    DeleteDC(dc);
    DeleteObject(copy);
}

TEST(Bitmaps, BadHeadersAreRefused)
{
    Info info = MakeInfo(4, 4, 16);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, nullptr, nullptr, 0),
              nullptr);
    info = MakeInfo(0, 4, 8);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, nullptr, nullptr, 0),
              nullptr);
    info = MakeInfo(100000, 4, 8);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, nullptr, nullptr, 0),
              nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), nullptr);
}

TEST(Bitmaps, PalettesFindNearestEntries)
{
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[2];
    } palette{{0x300, 3, {{0, 0, 0, 0}}}, {{255, 0, 0, 0}, {0, 0, 250, 0}}};
    HPALETTE hpal = CreatePalette(&palette.header);
    EXPECT_EQ(GetNearestPaletteIndex(hpal, RGB(10, 0, 240)), 2u);
    EXPECT_EQ(GetNearestPaletteIndex(hpal, RGB(200, 30, 0)), 1u);
    Canvas canvas(1, 1);
    EXPECT_EQ(SelectPalette(canvas.Dc(), hpal, FALSE), GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(canvas.Dc()), 0u);
    SetPixel(canvas.Dc(), 0, 0, PALETTEINDEX(1));
    EXPECT_EQ(canvas.At(0, 0), Red);
    SelectPalette(canvas.Dc(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    EXPECT_TRUE(DeleteObject(hpal));
}
