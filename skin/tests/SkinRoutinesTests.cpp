#include "skin/SkinRoutines.h"

#include "SkinTestImages.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Text.h"

#include <gtest/gtest.h>

namespace {

TColor Rgb(int r, int g, int b)
{
    return static_cast<TColor>(RGB(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b)));
}

TEST(BlendColorsTest, SharesArePercentagesBelowOneHundredAndPerMilleFromThere)
{
    struct Case {
        TColor c1, c2;
        int share;
        TColor expected;
    };
    const Case cases[] = {
        // 15 % grey and 85 % of the other colour.
        {0x808080, Rgb(0, 0, 200), 150, Rgb(19, 19, 189)},
        {Rgb(100, 0, 0), Rgb(0, 0, 100), 50, Rgb(50, 0, 50)},
        {Rgb(255, 255, 255), Rgb(0, 0, 0), 99, Rgb(252, 252, 252)},
        {Rgb(255, 255, 255), Rgb(0, 0, 0), 1000, Rgb(255, 255, 255)},
        {Rgb(10, 20, 30), Rgb(90, 80, 70), 0, Rgb(90, 80, 70)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendColors(c.c1, c.c2, c.share), c.expected) << c.share;
    const auto face = static_cast<TColor>(ColorToRGB(clBtnFace));
    EXPECT_EQ(BlendColors(clBtnFace, face, 50), face);
}

TEST(GradientTableTest, EntriesRunFromStartTowardEnd)
{
    EXPECT_EQ(GradientTable(1, Rgb(0, 0, 0), Rgb(100, 50, 11)), TGradientTable{Rgb(50, 25, 5)});
    EXPECT_EQ(GradientTable(3, Rgb(0, 0, 0), Rgb(100, 0, 0)), (TGradientTable{Rgb(0, 0, 0), Rgb(50, 0, 0), Rgb(100, 0, 0)}));
    // Division truncates toward zero, so a falling channel stops one short.
    EXPECT_EQ(GradientTable(3, Rgb(100, 0, 0), Rgb(0, 0, 0)), (TGradientTable{Rgb(100, 0, 0), Rgb(51, 0, 0), Rgb(1, 0, 0)}));
    EXPECT_THROW((void)GradientTable(0, 0, 0), EInvalidOperation);
}

TEST(GradientTableTest, SixteenSlotsAreReusedInRotation)
{
    const TGradientTable* first = &GradientTable(5, Rgb(1, 2, 3), Rgb(4, 5, 6));
    EXPECT_EQ(&GradientTable(5, Rgb(1, 2, 3), Rgb(4, 5, 6)), first);
    // A one-line and a falling gradient are found again although their entries differ from the ends.
    const TGradientTable* single = &GradientTable(1, Rgb(0, 0, 0), Rgb(9, 9, 9));
    EXPECT_EQ(&GradientTable(1, Rgb(0, 0, 0), Rgb(9, 9, 9)), single);
    for (int i = 0; i < GradientCacheSlots; ++i)
        (void)GradientTable(100 + i, 0, Rgb(255, 255, 255));
    EXPECT_EQ(GradientTable(5, Rgb(1, 2, 3), Rgb(4, 5, 6)).size(), 5u);
    EXPECT_NE(&GradientTable(100, 0, Rgb(255, 255, 255)), nullptr);
}

TEST(FillGradientTest, OnlyLinesInsideTheClipBoxAreDrawn)
{
    const auto bitmap = SolidBitmap(10, 10, clWhite);
    HDC dc = bitmap->Canvas()->Handle();
    IntersectClipRect(dc, 0, 3, 10, 6);
    FillGradient(dc, RECT{0, 0, 10, 10}, Rgb(0, 0, 0), true, Rgb(90, 0, 0));
    SelectClipRgn(dc, nullptr);
    const TGradientTable& table = GradientTable(10, Rgb(0, 0, 0), Rgb(90, 0, 0));
    for (int y = 0; y < 10; ++y) {
        const bool drawn = y >= 3 && y < 6;
        EXPECT_EQ(PixelAt(*bitmap, 0, y), drawn ? table[static_cast<std::size_t>(y)] : clWhite) << y;
        EXPECT_EQ(PixelAt(*bitmap, 9, y), drawn ? table[static_cast<std::size_t>(y)] : clWhite) << y;
    }

    FillGradient(dc, RECT{2, 0, 6, 10}, Rgb(0, 0, 0), false, Rgb(0, 90, 0));
    const TGradientTable& columns = GradientTable(4, Rgb(0, 0, 0), Rgb(0, 90, 0));
    for (int x = 2; x < 6; ++x)
        EXPECT_EQ(PixelAt(*bitmap, x, 8), columns[static_cast<std::size_t>(x - 2)]) << x;
    EXPECT_EQ(PixelAt(*bitmap, 6, 8), clWhite);
}

TEST(ColourSaturationTest, BrightColoursByTheirSpreadDarkOnesFixed)
{
    EXPECT_EQ(ColourSaturation(clWhite), 0);
    EXPECT_EQ(ColourSaturation(Rgb(159, 0, 0)), 200);
    EXPECT_EQ(ColourSaturation(Rgb(255, 0, 0)), 255);
    // 127.5 rounds to the even 128.
    EXPECT_EQ(ColourSaturation(Rgb(200, 100, 100)), 128);
}

// Pixel (x, y) of the 3 x 2 test picture.
TColor Source(int x, int y) { return Rgb(10 + 40 * x, 10 + 40 * y, 7); }

TEST(BitmapTransformTest, MirrorFlipAndRotateMovePixelsExactly)
{
    struct Case {
        const char* name;
        void (*transform)(TBitmap&);
        int width, height;
        TColor (*expected)(int x, int y);
    };
    const Case cases[] = {
        {"mirror", MirrorBitmap, 3, 2, [](int x, int y) { return Source(2 - x, y); }},
        {"flip", FlipBitmap, 3, 2, [](int x, int y) { return Source(x, 1 - y); }},
        // Left: old (row r, column c) lands on row 2 - c, column r.
        {"left", RotateLeft, 2, 3, [](int x, int y) { return Source(2 - y, x); }},
        // Right: old (row r, column c) lands on row c, column 1 - r.
        {"right", RotateRight, 2, 3, [](int x, int y) { return Source(y, 1 - x); }},
    };
    for (const Case& c : cases) {
        auto bitmap = MakeBitmap(3, 2, Source, pf32bit);
        c.transform(*bitmap);
        ASSERT_EQ(bitmap->Width(), c.width) << c.name;
        ASSERT_EQ(bitmap->Height(), c.height) << c.name;
        EXPECT_EQ(bitmap->PixelFormat(), pf24bit) << c.name;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                EXPECT_EQ(PixelAt(*bitmap, x, y), c.expected(x, y)) << c.name << " " << x << "," << y;
    }
}

TEST(BitmapTransformTest, KeyColourReplacement)
{
    auto bitmap = MakeBitmap(3, 1, [](int x, int) {
        return x == 0 ? Rgb(10, 20, 61) : x == 1 ? Rgb(255, 0, 255) : Rgb(255, 1, 255);
    });
    ReplaceKeyColour(*bitmap, Rgb(1, 2, 3));
    EXPECT_EQ(PixelAt(*bitmap, 0, 0), Rgb(10, 20, 61));
    EXPECT_EQ(PixelAt(*bitmap, 1, 0), Rgb(1, 2, 3));
    EXPECT_EQ(PixelAt(*bitmap, 2, 0), Rgb(255, 1, 255));
}

TEST(WideTextTest, PartNeverReadsPastTheText)
{
    const char16_t text[] = u"abc";
    EXPECT_EQ(WideTextPart(text, -1), u"abc");
    EXPECT_EQ(WideTextPart(text, 2), u"ab");
    EXPECT_EQ(WideTextPart(text, 0), u"");
    EXPECT_EQ(WideTextPart(text, 1000), u"abc");
    EXPECT_EQ(WideTextPart(nullptr, 3), u"");
    EXPECT_EQ(ToWideText("Gr\xC3\xB6\xC3\x9F" "e"), u"Gr\u00F6\u00DFe");
}

TEST(WideTextTest, BothFamiliesDrawTheSameText)
{
    const auto bitmap = SolidBitmap(200, 40, clWhite);
    HDC dc = bitmap->Canvas()->Handle();
    const std::u16string text = u"Connect";
    RECT wide{0, 0, 200, 40};
    const int wideHeight = DrawTextAuto(dc, text, wide, DT_CALCRECT | DT_SINGLELINE);
    SkinSystem().IsNT = false;
    RECT narrow{0, 0, 200, 40};
    const int narrowHeight = DrawTextAuto(dc, text, narrow, DT_CALCRECT | DT_SINGLELINE);
    SkinSystem().IsNT = true;
    EXPECT_GT(wideHeight, 0);
    EXPECT_EQ(wideHeight, narrowHeight);
    EXPECT_EQ(wide.right, narrow.right);
}

class SkinSystemTest : public testing::Test {
protected:
    void SetUp() override { m_saved = SkinSystem(); }
    void TearDown() override { SkinSystem() = m_saved; }

    static inline int s_calls = 0;
    static inline TRACKMOUSEEVENT s_track{};
    TSkinSystemFunctions m_saved;
};

TEST_F(SkinSystemTest, MissingFunctionsAreNeverCalled)
{
    SkinSystem().GetScrollBarInfo = nullptr;
    SkinSystem().TrackMouseEvent = nullptr;
    SCROLLBARINFO info{};
    EXPECT_FALSE(ScrollBarInfo(nullptr, OBJID_VSCROLL, info));
    TrackMouseLeave(nullptr);

    s_calls = 0;
    SkinSystem().GetScrollBarInfo = [](HWND, LONG id, PSCROLLBARINFO) -> BOOL {
        ++s_calls;
        return id == OBJID_HSCROLL;
    };
    SkinSystem().TrackMouseEvent = [](LPTRACKMOUSEEVENT track) -> BOOL {
        s_track = *track;
        return TRUE;
    };
    EXPECT_TRUE(ScrollBarInfo(nullptr, OBJID_HSCROLL, info));
    EXPECT_EQ(s_calls, 1);
    const auto window = reinterpret_cast<HWND>(0x1234);
    TrackMouseLeave(window);
    // The size the system checks: the structure of this build, not of the 32-bit original.
    EXPECT_EQ(s_track.cbSize, sizeof(TRACKMOUSEEVENT));
    EXPECT_EQ(s_track.dwFlags, TME_LEAVE);
    EXPECT_EQ(s_track.hwndTrack, window);
}

} // namespace
