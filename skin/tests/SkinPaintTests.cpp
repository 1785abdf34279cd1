#include "skin/SkinPaint.h"
#include "skin/SkinProps.h"

#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/Button.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

constexpr TColor White = 0xFFFFFF;

// The bounding box of every pixel that is not white.
RECT InkBox(TBitmap& bitmap)
{
    RECT box{bitmap.Width(), bitmap.Height(), -1, -1};
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if ((PixelAt(bitmap, x, y) & 0xFFFFFF) != White) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

std::set<std::pair<int, int>> Ink(TBitmap& bitmap)
{
    std::set<std::pair<int, int>> points;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if ((PixelAt(bitmap, x, y) & 0xFFFFFF) != White)
                points.emplace(x, y);
    return points;
}

SIZE TextSize(TCanvas& canvas, const std::string& text)
{
    RECT rect{0, 0, 1000, 1000};
    (void)DrawTextA(canvas.Handle(), text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    return SIZE{rect.right, rect.bottom};
}

} // namespace

TEST(SkinPropsTest, PropertiesByNameAnswerNeutrallyForMissingOrOtherKinds)
{
    TPanel parent(nullptr);
    auto* button = new TButton(&parent);
    button->SetTag(17);
    button->SetCaption("Send");
    struct Row {
        const TObject* object;
        const char* name;
        std::int64_t ord;
        const char* enumeration;
        const char* text;
    };
    const Row rows[] = {
        {button, "Tag", 17, "", ""},           {button, "Enabled", -1, "True", ""},
        {button, "Caption", -1, "", "Send"},   {button, "NoSuchThing", -1, "", ""},
        {nullptr, "Tag", -1, "", ""},          {button, "Font", -1, "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GetOrdPropByName(row.object, row.name), row.ord) << row.name;
        EXPECT_EQ(GetEnumPropByName(row.object, row.name), row.enumeration) << row.name;
        EXPECT_EQ(GetTextPropByName(row.object, row.name), row.text) << row.name;
    }
    EXPECT_EQ(GetObjectPropByName(button, "Font", TFont::StaticClass()), button->Font());
    EXPECT_EQ(GetObjectPropByName(button, "Font", TButton::StaticClass()), nullptr);
    EXPECT_EQ(GetObjectPropByName(button, "Caption", TFont::StaticClass()), nullptr);
    EXPECT_EQ(GetObjectPropByName(nullptr, "Font", TFont::StaticClass()), nullptr);
}

TEST(SkinPropsTest, SetPropByNameConvertsByKindAndLeavesOtherKindsAlone)
{
    TPanel parent(nullptr);
    auto* button = new TButton(&parent);
    TFont* font = button->Font();
    SetPropByName(button, "Tag", "42");
    SetPropByName(button, "Enabled", "False");
    SetPropByName(button, "Caption", "Call");
    SetPropByName(button, "Font", "Anything");
    SetPropByName(button, "NoSuchThing", "1");
    SetPropByName(nullptr, "Tag", "1");
    EXPECT_EQ(button->Tag(), 42);
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(button->Caption(), "Call");
    EXPECT_EQ(button->Font(), font);
    EXPECT_THROW(SetPropByName(button, "Tag", "forty"), EConvertError);
}

TEST(SkinPaintTest, ParentColourFallsBackWithoutAParent)
{
    TPanel parent(nullptr);
    parent.SetColor(0x123456);
    auto* button = new TButton(&parent);
    button->SetParent(&parent);
    EXPECT_EQ(ParentColor(button, clRed), 0x123456);
    TButton orphan(nullptr);
    EXPECT_EQ(ParentColor(&orphan, clRed), clRed);
    EXPECT_EQ(ParentColor(nullptr, clRed), clRed);
}

TEST(SkinPaintTest, CopyBitmapTakesSizeFormatAndPicture)
{
    const auto source = MakeBitmap(7, 5, [](int x, int y) { return RGB(x * 30, y * 40, 90); }, pf32bit);
    TBitmap dest;
    dest.SetSize(2, 2);
    CopyBitmap(*source, dest);
    ASSERT_EQ(dest.Width(), 7);
    ASSERT_EQ(dest.Height(), 5);
    EXPECT_EQ(dest.PixelFormat(), pf32bit);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(PixelAt(dest, x, y) & 0xFFFFFF, PixelAt(*source, x, y) & 0xFFFFFF) << x << "," << y;
}

// Windows need the display the skinned-form fixture sets up.
class SkinWindowTest : public SkinnedFormFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        RegisterButtonClass();
    }
};

TEST_F(SkinWindowTest, PopupWindowsAreToldFromChildren)
{
    const HWND popup = CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const HWND child = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 5, 5, Window(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(popup && child);
    EXPECT_TRUE(IsPopupWindow(popup));
    EXPECT_FALSE(IsPopupWindow(child));
    (void)DestroyWindow(popup);
}

TEST_F(SkinWindowTest, WindowTextIsWholeWhateverItsLength)
{
    const std::string text(1500, 'x');
    const HWND window = CreateWindowExA(0, "BUTTON", text.c_str(), WS_CHILD, 0, 0, 10, 10, Window(), nullptr, nullptr,
                                        nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(WindowText(window), text);
    (void)SetWindowTextA(window, "");
    EXPECT_EQ(WindowText(window), "");
}

class SkinTextTest : public testing::Test {
protected:
    void SetUp() override { m_target = SolidBitmap(Width, 24, White); }
    TCanvas& Canvas() { return *m_target->Canvas(); }

    static constexpr int Width = 120;
    static constexpr RECT Box{0, 0, Width, 24};
    const std::string m_text = "Menu";
    std::unique_ptr<TBitmap> m_target;
};

TEST_F(SkinTextTest, ImageTextStartsByAlignmentWithoutAnImage)
{
    const int textWidth = TextSize(Canvas(), m_text).cx;
    // The ink lies within the text's cell; the cell's start is the routine's choice.
    const int starts[] = {3, (Width - textWidth) / 2, Width - textWidth - 2};
    for (int align = 0; align < 3; ++align) {
        SetUp();
        DrawImageText(Canvas(), Box, align, m_text, -1, nullptr, true, 0);
        const RECT ink = InkBox(*m_target);
        EXPECT_GE(ink.left, starts[align]) << align;
        EXPECT_LE(ink.left, starts[align] + 2) << align;
        EXPECT_LE(ink.right, starts[align] + textWidth) << align;
    }
}

TEST_F(SkinTextTest, ImageTextPutsTheImageBeforeTheTextOnlyWhenItFits)
{
    const HIMAGELIST images = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
    const auto red = SolidBitmap(8, 8, clRed);
    ASSERT_EQ(ImageList_Add(images, red->ReleaseHandle(), nullptr), 0);
    DrawImageText(Canvas(), Box, 0, m_text, 0, images, true, 0);
    EXPECT_EQ(PixelAt(*m_target, 3, 8) & 0xFFFFFF, static_cast<TColor>(clRed));
    EXPECT_EQ(PixelAt(*m_target, 10, 15) & 0xFFFFFF, static_cast<TColor>(clRed));
    EXPECT_EQ(PixelAt(*m_target, 2, 8) & 0xFFFFFF, White);
    auto text = Ink(*m_target);
    std::erase_if(text, [](const auto& p) { return p.first < 11; });
    ASSERT_FALSE(text.empty());
    EXPECT_GE(text.begin()->first, 11);

    // An image as wide as the rectangle is left out and the text starts at 3.
    SetUp();
    DrawImageText(Canvas(), RECT{0, 0, 8, 24}, 0, "", 0, images, true, 0);
    EXPECT_EQ(InkBox(*m_target).right, -1);
    (void)ImageList_Destroy(images);
}

TEST_F(SkinTextTest, DisabledTextIsShadowColoured)
{
    Canvas().Font()->SetColor(clBlack);
    DrawTextAligned(Canvas(), Box, DT_CENTER, false, m_text);
    std::set<TColor> colours;
    for (const auto& [x, y] : Ink(*m_target))
        colours.insert(PixelAt(*m_target, x, y) & 0xFFFFFF);
    EXPECT_TRUE(colours.contains(ColorToRGB(clBtnShadow) & 0xFFFFFF));
    EXPECT_FALSE(colours.contains(0));
}

TEST_F(SkinTextTest, AlignedAndCentredTextSitInTheMiddle)
{
    const SIZE size = TextSize(Canvas(), m_text);
    DrawTextAligned(Canvas(), Box, DT_CENTER, true, m_text);
    const RECT aligned = InkBox(*m_target);
    SetUp();
    DrawCenteredText(Canvas(), Box, m_text, taLeftJustify, true);
    const RECT centred = InkBox(*m_target);
    const int left = (Width - size.cx) / 2;
    for (const RECT& ink : {aligned, centred}) {
        EXPECT_GE(ink.left, left);
        EXPECT_LE(ink.right, left + size.cx);
    }
    // The aligned text sits one pixel higher than the exactly centred one.
    EXPECT_EQ(aligned.top, centred.top - 1);
}

TEST_F(SkinTextTest, FocusRectangleSurroundsTheTextByItsAlignment)
{
    const SIZE size = TextSize(Canvas(), m_text);
    struct Row {
        UINT flags;
        int left;
        int top;
    };
    const Row rows[] = {
        {DT_LEFT | DT_SINGLELINE, -2, -1},
        {DT_RIGHT | DT_SINGLELINE, Width - size.cx - 2, -1},
        {DT_CENTER | DT_SINGLELINE, (Width - size.cx) / 2 - 2, (24 - size.cy) / 2 - 2},
    };
    for (const Row& row : rows) {
        SetUp();
        DrawTextFocus(Canvas().Handle(), m_text, row.flags, Box);
        RECT expected{row.left, row.top, row.left + size.cx + 4, row.top + size.cy + 2};
        RECT clipped{};
        (void)IntersectRect(&clipped, &expected, &Box);
        const RECT ink = InkBox(*m_target);
        EXPECT_EQ(ink.left, clipped.left) << row.flags;
        EXPECT_EQ(ink.top, clipped.top) << row.flags;
        EXPECT_LE(ink.right, clipped.right) << row.flags;
        EXPECT_GE(ink.right, clipped.right - 1) << row.flags;
    }
}

TEST(SkinArrowTest, ArrowsAreFilledTrianglesAndMirrorEachOther)
{
    const auto draw = [](int kind) {
        auto target = SolidBitmap(21, 21, White);
        target->Canvas()->Pen()->SetColor(clBlack);
        DrawArrowGlyph(*target->Canvas(), 10, 10, kind);
        return Ink(*target);
    };
    // A triangle with its apex at (10, 10) and a notch in the middle of its base.
    std::set<std::pair<int, int>> up;
    for (int row = 0; row < 4; ++row)
        for (int x = 10 - row; x <= 10 + row; ++x)
            if (row < 3 || x != 10)
                up.emplace(x, 10 + row);
    EXPECT_EQ(draw(0), up);
    std::set<std::pair<int, int>> down;
    for (const auto& [x, y] : up)
        down.emplace(x, 23 - y);
    EXPECT_EQ(draw(1), down);
    const auto left = draw(2);
    std::set<std::pair<int, int>> mirrored;
    for (const auto& [x, y] : left)
        mirrored.emplace(20 - x, y);
    EXPECT_FALSE(left.empty());
    EXPECT_EQ(draw(3), mirrored);
    EXPECT_TRUE(draw(4).empty());
}
