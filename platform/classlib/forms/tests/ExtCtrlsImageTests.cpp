#include "ControlsTestClasses.h"

#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/gdi/Gdi.h"

#include <memory>

namespace {

// A bitmap whose left half is red and right half blue, with a fuchsia bottom-left corner pixel
// (the colour transparent bitmaps leave out).
std::unique_ptr<TBitmap> HalvesBitmap(int width, int height)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, width / 2, height));
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(width / 2, 0, width, height));
    canvas->SetPixels(0, height - 1, clFuchsia);
    return bitmap;
}

struct DestCase {
    const char* name;
    bool stretch, center, proportional;
    int pictureWidth, pictureHeight;
    TRect expected;
};

TEST(ImageLayout, ThePictureIsPlacedByStretchCenterAndProportional)
{
    for (const DestCase& test : {
             DestCase{"own size", false, false, false, 10, 10, Rect(0, 0, 10, 10)},
             DestCase{"centred", false, true, false, 10, 10, Rect(15, 15, 25, 25)},
             DestCase{"stretched", true, false, false, 10, 10, Rect(0, 0, 40, 40)},
             DestCase{"stretched keeping shape", true, true, true, 20, 10, Rect(0, 10, 40, 30)},
             DestCase{"tall keeping shape", true, false, true, 10, 20, Rect(0, 0, 20, 40)},
             DestCase{"too big shrinks when proportional", false, false, true, 80, 40, Rect(0, 0, 40, 20)},
             DestCase{"small stays small when proportional", false, false, true, 8, 4, Rect(0, 0, 8, 4)},
         }) {
        TImage image(nullptr);
        image.SetBounds(0, 0, 40, 40);
        const auto bitmap = HalvesBitmap(test.pictureWidth, test.pictureHeight);
        image.Picture()->SetGraphic(bitmap.get());
        image.SetStretch(test.stretch);
        image.SetCenter(test.center);
        image.SetProportional(test.proportional);
        const TRect actual = image.DestRect();
        EXPECT_TRUE(EqualRect(&actual, &test.expected))
            << test.name << ": " << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom;
    }
}

TEST(ImageLayout, AutoSizeFitsThePictureAndCanvasNeedsABitmap)
{
    TImage image(nullptr);
    image.SetAutoSize(true);
    const auto bitmap = HalvesBitmap(12, 7);
    image.Picture()->SetGraphic(bitmap.get());
    EXPECT_EQ(image.Width(), 12);
    EXPECT_EQ(image.Height(), 7);

    TImage blank(nullptr);
    blank.SetBounds(0, 0, 30, 20);
    (void)blank.Canvas();
    EXPECT_EQ(blank.Picture()->Width(), 30) << "an empty picture becomes a bitmap of the control's size";
    blank.Picture()->SetGraphic(nullptr);
    TIcon icon;
    const HBITMAP colour = CreateBitmap(4, 4, 1, 32, nullptr);
    const HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
    const ICONINFO info{TRUE, 0, 0, mask, colour};
    icon.SetHandle(CreateIconIndirect(&info));
    (void)DeleteObject(colour);
    (void)DeleteObject(mask);
    blank.Picture()->SetGraphic(&icon);
    EXPECT_THROW((void)blank.Canvas(), EInvalidOperation);
}

class ImageControlTest : public ControlsFixture {};

TEST_F(ImageControlTest, PaintsStretchedCentredAndTransparentPicturesAndClicks)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    form.SetColor(clNavy);
    auto* plain = new TImage(&form);
    plain->SetBounds(10, 10, 40, 40);
    auto* stretched = new TImage(&form);
    stretched->SetBounds(60, 10, 40, 40);
    stretched->SetStretch(true);
    auto* clear = new TImage(&form);
    clear->SetBounds(110, 10, 40, 40);
    clear->SetCenter(true);
    clear->SetTransparent(true);
    const auto bitmap = HalvesBitmap(10, 10);
    for (TImage* image : {plain, stretched, clear}) {
        image->Picture()->SetGraphic(bitmap.get());
        image->SetParent(&form);
    }
    int clicks = 0;
    stretched->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) { ++clicks; }));
    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return Shown(*plain, POINT{7, 2}) == Rgb(clBlue); }));

    EXPECT_EQ(Shown(*plain, POINT{20, 20}), Rgb(clNavy)) << "beyond the picture";
    EXPECT_EQ(Shown(*plain, POINT{0, 9}), Rgb(clFuchsia)) << "opaque pictures keep every colour";
    EXPECT_EQ(Shown(*stretched, POINT{5, 35}), Rgb(clRed));
    EXPECT_EQ(Shown(*stretched, POINT{35, 5}), Rgb(clBlue));
    EXPECT_EQ(Shown(*clear, POINT{16, 16}), Rgb(clRed));
    EXPECT_EQ(Shown(*clear, POINT{23, 16}), Rgb(clBlue));
    EXPECT_EQ(Shown(*clear, POINT{15, 24}), Rgb(clNavy)) << "the transparent colour shows the form";
    EXPECT_EQ(Shown(*clear, POINT{5, 5}), Rgb(clNavy));

    m_display->InjectClick(Id(form), InTopLevel(*stretched, POINT{20, 20}));
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }));

    // Drawing on the canvas shows at once.
    plain->Canvas()->Brush()->SetColor(clYellow);
    plain->Canvas()->FillRect(Rect(0, 0, 10, 10));
    ASSERT_TRUE(PumpUntil([&] { return Shown(*plain, POINT{2, 2}) == Rgb(clYellow); }));
}

} // namespace
