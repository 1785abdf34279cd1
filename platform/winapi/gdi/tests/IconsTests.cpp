#include "platform/winapi/gdi/Icons.h"
#include "platform/winapi/gdi/tests/GdiFixture.h"

#include <array>
#include <vector>

namespace {

constexpr COLORREF Yellow = RGB(255, 255, 0);

std::uint32_t Pixel(COLORREF c, BYTE alpha = 0)
{
    return (std::uint32_t(alpha) << 24) | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
           GetBValue(c);
}

// A 4 x 4 icon: red, with its left column masked out (and black in the image, as icons are made).
struct TestIcon {
    HBITMAP colour;
    HBITMAP mask;
    HICON icon;

    explicit TestIcon(BYTE alpha = 0)
    {
        std::array<std::uint32_t, 16> pixels{};
        for (int i = 0; i < 16; ++i)
            pixels[std::size_t(i)] = i % 4 == 0 ? 0 : Pixel(Red, alpha);
        colour = CreateBitmap(4, 4, 1, 32, pixels.data());
        const std::array<BYTE, 8> rows = {0x80, 0, 0x80, 0, 0x80, 0, 0x80, 0}; // one-bit rows, 2 bytes each
        mask = CreateBitmap(4, 4, 1, 1, rows.data());
        ICONINFO info{TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&info);
    }
    ~TestIcon()
    {
        DestroyIcon(icon);
        DeleteObject(colour);
        DeleteObject(mask);
    }
};

} // namespace

TEST(Icons, DrawFlagsUseMaskAndImage)
{
    TestIcon test;
    ASSERT_NE(test.icon, nullptr);
    struct Case {
        UINT flags;
        COLORREF left, rest;
    };
    const Case cases[] = {
        {DI_NORMAL, Blue, Red},  // mask ANDed, image XORed
        {DI_MASK, White, Black}, // the mask alone, copied
        {DI_IMAGE, Black, Red},  // the image alone, copied
    };
    for (const Case& c : cases) {
        Canvas canvas(6, 6, Blue);
        ASSERT_TRUE(DrawIconEx(canvas.Dc(), 1, 1, test.icon, 0, 0, 0, nullptr, c.flags));
        EXPECT_EQ(canvas.At(1, 2), c.left) << c.flags;
        EXPECT_EQ(canvas.At(3, 3), c.rest) << c.flags;
        EXPECT_EQ(canvas.At(5, 5), Blue) << c.flags;
        EXPECT_EQ(canvas.At(0, 0), Blue) << c.flags;
    }
}

TEST(Icons, StretchesFillsFlickerFreeAndDefaultSize)
{
    TestIcon test;
    Canvas canvas(40, 40, Blue);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, test.icon, 8, 8, 0, green, DI_NORMAL));
    EXPECT_EQ(canvas.At(1, 7), RGB(0, 255, 0)); // masked out: the flicker-free brush shows
    EXPECT_EQ(canvas.At(2, 7), Red);
    EXPECT_EQ(canvas.At(8, 8), Blue);
    DeleteObject(green);
    ASSERT_TRUE(DrawIcon(canvas.Dc(), 0, 0, test.icon));
    EXPECT_EQ(canvas.At(31, 31), Red);
    EXPECT_EQ(canvas.At(7, 31), Blue);
    EXPECT_EQ(canvas.At(32, 32), Blue);
}

TEST(Icons, MonochromeIconAndsThenXors)
{
    // AND mask above, XOR image below: (0,0) transparent, (0,1) inverts, (1,0) white, rest black.
    const std::array<BYTE, 8> rows = {0x80, 0, 0x80, 0, 0x40, 0, 0x80, 0};
    HBITMAP mask = CreateBitmap(2, 4, 1, 1, rows.data());
    ICONINFO info{FALSE, 1, 1, mask, nullptr};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    Canvas canvas(2, 2, Blue);
    DrawIconEx(canvas.Dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.At(0, 0), Blue);
    EXPECT_EQ(canvas.At(1, 0), White);
    EXPECT_EQ(canvas.At(0, 1), Yellow);
    EXPECT_EQ(canvas.At(1, 1), Black);
    ICONINFO back{};
    ASSERT_TRUE(GetIconInfo(icon, &back));
    EXPECT_EQ(back.hbmColor, nullptr);
    EXPECT_EQ(back.xHotspot, 1u); // a cursor keeps its hot spot
    DeleteObject(back.hbmMask);
    DestroyIcon(icon);
    DeleteObject(mask);
}

TEST(Icons, AlphaImageBlends)
{
    TestIcon test(128);
    Canvas canvas(4, 4, Blue);
    DrawIconEx(canvas.Dc(), 0, 0, test.icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.At(2, 2), RGB(128, 0, 127));
}

TEST(Icons, CopiesAreIndependentAndHandlesGoStale)
{
    auto* test = new TestIcon;
    HICON copy = CopyIcon(test->icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(test->icon, &info));
    EXPECT_TRUE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 2u); // an icon's hot spot is its centre
    EXPECT_NE(info.hbmColor, test->colour);
    BITMAP bm{};
    ASSERT_EQ(GetObject(info.hbmColor, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    ASSERT_EQ(GetObject(info.hbmMask, sizeof bm, &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    HICON original = test->icon;
    delete test; // destroys the icon and the bitmaps it was made from

    Canvas canvas(4, 4, Blue);
    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, original, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DestroyIcon(original));
    ASSERT_TRUE(DrawIconEx(canvas.Dc(), 0, 0, copy, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), Blue);
    EXPECT_EQ(canvas.At(1, 0), Red);
    EXPECT_TRUE(DestroyIcon(copy));

    ICONINFO noMask{TRUE, 0, 0, nullptr, nullptr};
    EXPECT_EQ(CreateIconIndirect(&noMask), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
}
