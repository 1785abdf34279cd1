// Images through the clipboard: out as a bitmap, back from the bitmap or from the DIB the
// clipboard makes of it, into a PNG image or a picture.
#include "PngTestSupport.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/Clipboard.h"

#include <gtest/gtest.h>

namespace {

struct TPixel {
    std::uint8_t r, g, b, a;
};

// A 3 x 2 image of colour type 2 (RGB) or 6 (RGBA).
TBytes SmallPng(const std::vector<TPixel>& pixels, bool alpha)
{
    TBytes rows;
    for (std::size_t y = 0; y < 2; ++y) {
        rows.push_back(0);
        for (std::size_t x = 0; x < 3; ++x) {
            const TPixel& p = pixels[y * 3 + x];
            rows.insert(rows.end(), {p.r, p.g, p.b});
            if (alpha)
                rows.push_back(p.a);
        }
    }
    return TPngBuilder().Signature().Header(3, 2, 8, alpha ? 6 : 2).ImageData(rows).End().Bytes();
}

TColor ColorOf(const TPixel& p)
{
    return static_cast<TColor>(RGB(p.r, p.g, p.b));
}

const std::vector<TPixel> Pixels = {{10, 20, 30, 255},  {200, 100, 50, 0}, {0, 255, 0, 128},
                                    {255, 255, 255, 255}, {1, 2, 3, 255},   {90, 80, 70, 0}};

class PngClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "PngClipboardOwner";
        (void)RegisterClassA(&windowClass);
        m_owner = CreateWindowExA(0, "PngClipboardOwner", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
    }

    void TearDown() override
    {
        (void)CloseClipboard();
        (void)DestroyWindow(m_owner);
    }

    // Puts the graphic on the clipboard and leaves the clipboard open for reading.
    void Copy(TGraphic& graphic)
    {
        UINT format = 0;
        HANDLE data = nullptr;
        HPALETTE palette = nullptr;
        graphic.SaveToClipboardFormat(format, data, palette);
        ASSERT_EQ(format, CF_BITMAP);
        ASSERT_NE(data, nullptr);
        ASSERT_TRUE(OpenClipboard(m_owner));
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_EQ(SetClipboardData(format, data), data);
    }

    HWND m_owner = nullptr;
};

TEST_F(PngClipboardTest, ImageComesBackFromTheBitmapAndFromTheDib)
{
    TPNGObject image;
    LoadFromBytes(image, SmallPng(Pixels, false));
    Copy(image);
    for (const UINT format : {CF_BITMAP, CF_DIB}) {
        TPNGObject pasted;
        pasted.LoadFromClipboardFormat(format, GetClipboardData(format), nullptr);
        ASSERT_EQ(pasted.Width(), 3) << format;
        ASSERT_EQ(pasted.Height(), 2) << format;
        EXPECT_FALSE(pasted.Transparent()) << format;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(pasted.PixelColor(i % 3, i / 3), ColorOf(Pixels[i])) << format << " pixel " << i;
    }
}

TEST_F(PngClipboardTest, TranslucentImageGoesOutBlendedOverWhite)
{
    TPNGObject image;
    LoadFromBytes(image, SmallPng(Pixels, true));
    Copy(image);
    TPicture picture;
    picture.LoadFromClipboardFormat(CF_DIB, GetClipboardData(CF_DIB), nullptr);
    auto* bitmap = dynamic_cast<TBitmap*>(picture.Graphic());
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(bitmap->Width(), 3);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), ColorOf(Pixels[0]));
    EXPECT_EQ(bitmap->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 1), ColorOf(Pixels[3]));
    EXPECT_EQ(bitmap->Canvas()->Pixels(2, 1), clWhite);
    // Half of green over white.
    const COLORREF half = static_cast<COLORREF>(bitmap->Canvas()->Pixels(2, 0));
    EXPECT_NEAR(GetRValue(half), 127, 1);
    EXPECT_EQ(GetGValue(half), 255);
}

TEST_F(PngClipboardTest, FormatsNobodyReadsAreRefused)
{
    TPNGObject image;
    EXPECT_THROW(image.LoadFromClipboardFormat(CF_TEXT, m_owner, nullptr), EInvalidGraphic);
    EXPECT_THROW(image.LoadFromClipboardFormat(CF_BITMAP, nullptr, nullptr), EInvalidGraphic);
    TPicture picture;
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_DIB));
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(CF_TEXT));
    EXPECT_THROW(picture.LoadFromClipboardFormat(CF_TEXT, m_owner, nullptr), EInvalidGraphic);
    // A packed DIB whose header claims more pixels than the block holds.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + 4);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    *header = {sizeof(BITMAPINFOHEADER), 100, 100, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    (void)GlobalUnlock(block);
    EXPECT_THROW(picture.LoadFromClipboardFormat(CF_DIB, block, nullptr), EInvalidGraphic);
    (void)GlobalFree(block);
}

} // namespace
