#include "platform/winapi/gdi/ImageLists.h"
#include "platform/winapi/gdi/Icons.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <vector>

namespace {

constexpr COLORREF Magenta = RGB(255, 0, 255);
constexpr COLORREF Green = RGB(0, 255, 0);

// A 32-bit bitmap of `width` x `height` from colours (top row first), with `alpha` on every pixel.
HBITMAP MakeBitmap(int width, int height, const std::vector<COLORREF>& colours, BYTE alpha = 0)
{
    std::vector<std::uint32_t> pixels;
    for (COLORREF c : colours)
        pixels.push_back((std::uint32_t(alpha) << 24) | (std::uint32_t(GetRValue(c)) << 16) |
                         (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c));
    return CreateBitmap(width, height, 1, 32, pixels.data());
}

// Two 2 x 2 images side by side, magenta marking the see-through pixels.
//   image 0: R M     image 1: B B
//            R R              M B
HBITMAP TwoImages()
{
    return MakeBitmap(4, 2, {Red, Magenta, Blue, Blue, Red, Red, Magenta, Blue});
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

class MaskedList : public ::testing::Test {
protected:
    void SetUp() override
    {
        list = ImageList_Create(2, 2, ILC_COLOR24 | ILC_MASK, 1, 1);
        ASSERT_NE(list, nullptr);
        HBITMAP strip = TwoImages();
        ASSERT_EQ(ImageList_AddMasked(list, strip, Magenta), 0);
        // The caller's bitmap is left as it was.
        EXPECT_EQ(PixelOf(strip, 1, 0), Magenta);
        DeleteObject(strip);
    }
    void TearDown() override { ImageList_Destroy(list); }

    HIMAGELIST list = nullptr;
};

} // namespace

TEST_F(MaskedList, AddMaskedMakesTheMaskAndBlackensTheKey)
{
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(list, 1, &info));
    EXPECT_EQ(info.rcImage.left, 2);
    EXPECT_EQ(info.rcImage.right, 4);
    const COLORREF expectedImage[2][4] = {{Red, Black, Blue, Blue}, {Red, Red, Black, Blue}};
    const COLORREF expectedMask[2][4] = {{Black, White, Black, Black}, {Black, Black, White, Black}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(PixelOf(info.hbmImage, x, y), expectedImage[y][x]) << x << "," << y;
            EXPECT_EQ(PixelOf(info.hbmMask, x, y), expectedMask[y][x]) << x << "," << y;
        }
}

TEST_F(MaskedList, BackgroundAndMaskStyles)
{
    struct Case {
        const char* name;
        COLORREF listBackground;
        COLORREF background;
        UINT style;
        COLORREF keyPixel, imagePixel;
    };
    const Case cases[] = {
        {"transparent", CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT, Green, Red},
        {"normal, no list background", CLR_NONE, CLR_DEFAULT, ILD_NORMAL, Green, Red},
        {"normal on the list background", White, CLR_DEFAULT, ILD_NORMAL, White, Red},
        {"transparent wins over the list background", White, CLR_DEFAULT, ILD_TRANSPARENT, Green, Red},
        {"explicit background", White, Blue, ILD_NORMAL, Blue, Red},
        {"explicit none", White, CLR_NONE, ILD_NORMAL, Green, Red},
        {"mask", CLR_NONE, CLR_DEFAULT, ILD_MASK, White, Black},
        {"mask ANDed", CLR_NONE, CLR_DEFAULT, ILD_MASK | ILD_TRANSPARENT, Green, Black},
        {"image without its mask", CLR_NONE, CLR_DEFAULT, ILD_IMAGE, Black, Red},
    };
    for (const Case& c : cases) {
        ImageList_SetBkColor(list, c.listBackground);
        Canvas canvas(4, 4, Green);
        ASSERT_TRUE(ImageList_DrawEx(list, 0, canvas.Dc(), 1, 1, 0, 0, c.background, CLR_DEFAULT, c.style)) << c.name;
        EXPECT_EQ(canvas.At(2, 1), c.keyPixel) << c.name;
        EXPECT_EQ(canvas.At(1, 2), c.imagePixel) << c.name;
        EXPECT_EQ(canvas.At(3, 3), Green) << c.name;
        EXPECT_EQ(canvas.At(0, 0), Green) << c.name;
    }
    EXPECT_EQ(ImageList_SetBkColor(list, Blue), CLR_NONE);
    EXPECT_EQ(ImageList_GetBkColor(list), Blue);
}

TEST_F(MaskedList, BlendsMixTheSelectionColourIntoTheImageOnly)
{
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const auto mix = [](COLORREF a, COLORREF b, int quarters) {
        const auto channel = [&](BYTE x, BYTE y) { return BYTE((x * (4 - quarters) + y * quarters + 2) / 4); };
        return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
                   channel(GetBValue(a), GetBValue(b)));
    };
    struct Case {
        UINT style;
        COLORREF foreground;
        COLORREF expected;
    };
    const Case cases[] = {
        {ILD_BLEND50 | ILD_TRANSPARENT, CLR_DEFAULT, mix(Red, highlight, 2)},
        {ILD_SELECTED | ILD_TRANSPARENT, CLR_DEFAULT, mix(Red, highlight, 2)},
        {ILD_BLEND25 | ILD_TRANSPARENT, CLR_DEFAULT, mix(Red, highlight, 1)},
        {ILD_BLEND50 | ILD_TRANSPARENT, Blue, mix(Red, Blue, 2)},
        {ILD_BLEND50 | ILD_TRANSPARENT, CLR_NONE, mix(Red, Green, 2)}, // with the destination
    };
    for (const Case& c : cases) {
        Canvas canvas(2, 2, Green);
        ASSERT_TRUE(ImageList_DrawEx(list, 0, canvas.Dc(), 0, 0, 0, 0, CLR_NONE, c.foreground, c.style));
        EXPECT_EQ(canvas.At(0, 0), c.expected) << c.style << " " << c.foreground;
        EXPECT_EQ(canvas.At(1, 0), Green) << c.style << " " << c.foreground;
    }
}

TEST_F(MaskedList, RemoveReplaceAndCounts)
{
    HBITMAP more = MakeBitmap(2, 2, {White, White, White, Magenta});
    ASSERT_EQ(ImageList_AddMasked(list, more, Magenta), 2); // grows past the initial capacity
    DeleteObject(more);
    const auto topLeft = [&](int index) {
        Canvas canvas(2, 2, Green);
        ImageList_Draw(list, index, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
        return canvas.At(0, 0);
    };
    EXPECT_EQ(topLeft(0), Red);
    EXPECT_EQ(topLeft(1), Blue);
    EXPECT_EQ(topLeft(2), White);

    ASSERT_TRUE(ImageList_Remove(list, 1));
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_EQ(topLeft(1), White);
    Canvas keyed(2, 2, Green);
    ImageList_Draw(list, 1, keyed.Dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(keyed.At(1, 1), Green); // the mask moved with its image

    HBITMAP replacement = MakeBitmap(2, 2, {Blue, Blue, Blue, Blue});
    ASSERT_TRUE(ImageList_Replace(list, 0, replacement, nullptr));
    EXPECT_FALSE(ImageList_Replace(list, 2, replacement, nullptr));
    DeleteObject(replacement);
    Canvas opaque(2, 2, Green);
    ImageList_Draw(list, 0, opaque.Dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(opaque.Count(Blue), 4);

    ASSERT_TRUE(ImageList_SetImageCount(list, 4));
    EXPECT_EQ(ImageList_GetImageCount(list), 4);
    EXPECT_EQ(topLeft(3), Black);
    ASSERT_TRUE(ImageList_SetImageCount(list, 1));
    EXPECT_EQ(topLeft(0), Blue);
    EXPECT_FALSE(ImageList_Draw(list, 1, opaque.Dc(), 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Remove(list, 1));

    ASSERT_TRUE(ImageList_Remove(list, -1));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    ASSERT_TRUE(ImageList_SetIconSize(list, 3, 5));
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 3);
    EXPECT_EQ(cy, 5);
}

TEST_F(MaskedList, IconOfAnImageDrawsLikeTheList)
{
    HICON icon = ImageList_GetIcon(list, 1, ILD_NORMAL);
    ASSERT_NE(icon, nullptr);
    Canvas fromIcon(2, 2, Green), fromList(2, 2, Green);
    DrawIconEx(fromIcon.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    ImageList_Draw(list, 1, fromList.Dc(), 0, 0, ILD_TRANSPARENT);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(fromIcon.At(x, y), fromList.At(x, y)) << x << "," << y;
    EXPECT_EQ(fromIcon.At(0, 1), Green);
    DestroyIcon(icon);
}

TEST(ImageLists, AddSplitsTheStripAndTakesAMaskBitmap)
{
    HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR24 | ILC_MASK, 4, 4);
    HBITMAP strip = MakeBitmap(5, 1, {Red, Blue, Green, White, Black}); // the odd column is no image
    const BYTE maskRow[2] = {0x48, 0};                                 // columns 1 and 4 see-through
    HBITMAP mask = CreateBitmap(5, 1, 1, 1, maskRow);
    ASSERT_EQ(ImageList_Add(list, strip, mask), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    Canvas canvas(4, 1, Black);
    ImageList_Draw(list, 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(list, 1, canvas.Dc(), 2, 0, ILD_TRANSPARENT);
    EXPECT_EQ(canvas.At(0, 0), Red);
    EXPECT_EQ(canvas.At(1, 0), Black);
    EXPECT_EQ(canvas.At(2, 0), Green);
    EXPECT_EQ(canvas.At(3, 0), White);
    // A bitmap narrower than one image adds nothing.
    HBITMAP narrow = MakeBitmap(1, 1, {Red});
    EXPECT_EQ(ImageList_Add(list, narrow, nullptr), -1);
    DeleteObject(narrow);
    DeleteObject(strip);
    DeleteObject(mask);
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_Add(list, strip, nullptr), -1);
}

TEST(ImageLists, Colour32KeepsAlphaOthersDropIt)
{
    HBITMAP half = MakeBitmap(1, 1, {Red}, 128);
    HIMAGELIST withAlpha = ImageList_Create(1, 1, ILC_COLOR32, 1, 1);
    HIMAGELIST without = ImageList_Create(1, 1, ILC_COLOR24, 1, 1);
    ImageList_Add(withAlpha, half, nullptr);
    ImageList_Add(without, half, nullptr);
    Canvas a(1, 1, Blue), b(1, 1, Blue);
    ImageList_Draw(withAlpha, 0, a.Dc(), 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(without, 0, b.Dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(a.At(0, 0), RGB(128, 0, 127));
    EXPECT_EQ(b.At(0, 0), Red);
    ImageList_Destroy(withAlpha);
    ImageList_Destroy(without);
    DeleteObject(half);
}
