#include "modem/app/Pictures.h"

#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A picture of a strip shown in an image on a yellow form: where the picture is clear, the
// form shows through (the manager's skin, in the program).
TEST(PicturesTest, AFrameOfAStripKeepsItsTransparency)
{
    HeadlessDisplay& display = SelectHeadlessDisplay();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(10, 10, 200, 120);
    form->SetColor(clYellow);
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(20, 20, 24, 16);
    form->Show();
    // The signal strip: seven pictures of 24 x 16, the sixth of them every bar full, rising to the
    // right: its top-left corner is clear, its last bar solid.
    LoadPictureFrame(*image, "ILSIGNAL", 5, 7);
    Application->ProcessMessages();
    const auto shown = [&](POINT point) { return ShownPixel(display, form->Handle(), {20 + point.x, 20 + point.y}); };
    EXPECT_EQ(shown({0, 0}), RgbOf(ColorToRGB(clYellow)));
    EXPECT_EQ(shown({10, 3}), RgbOf(ColorToRGB(clYellow)));
    for (const POINT solid : {POINT{21, 1}, POINT{1, 14}}) {
        EXPECT_NE(shown(solid), RgbOf(ColorToRGB(clYellow)));
        EXPECT_NE(shown(solid), RgbOf(ColorToRGB(clBtnFace)));
    }
}

} // namespace
