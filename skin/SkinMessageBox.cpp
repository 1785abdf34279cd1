#include "skin/SkinMessageBox.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinButton.h"
#include "skin/SkinData.h"
#include "skin/SkinPaint.h"
#include "skin/WinSkinForm.h"
#include "skin/SkinManage.h"

namespace {

TSkinData* SkinOfBox(HWND box)
{
    TSkinManage* manager = SkinManager();
    const TWinSkinForm* skinner = manager && box ? manager->FindFormSkinner(box) : nullptr;
    TSkinData* data = skinner && !skinner->IsDead() ? skinner->SkinData() : nullptr;
    return data && !data->Pending() && !data->Elements().Buttons().Image.Empty() ? data : nullptr;
}

TColor LabelColour(const TDataSkinButton& buttons, TButtonFrame frame, TColor text)
{
    if (frame == bfPressed && buttons.HasPressedColour2)
        return buttons.PressedColour2;
    if (frame != bfPressed && buttons.HasNormalColour2)
        return buttons.NormalColour2;
    return text;
}

} // namespace

bool PaintSkinnedBoxButton(HDC dc, const MessageBoxButtonLook& button)
{
    TSkinData* data = SkinOfBox(WindowFromDC(dc));
    if (!data)
        return false;
    TSkinElements& skin = data->Elements();
    const TButtonFrame frame = button.Pressed ? bfPressed : button.Focused ? bfFocused : bfNormal;
    FillRectColor(dc, button.Rect, skin.Colours().ButtonFace);
    DrawSkinElement(dc, button.Rect, 5, frame, skin.Buttons());
    RECT label = button.Rect;
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, ColorToRGB(LabelColour(skin.Buttons(), frame, skin.Colours().ButtonText)));
    (void)DrawTextA(dc, button.Label.c_str(), static_cast<int>(button.Label.size()), &label,
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    if (button.Focused && !data->Options().Contains(xoNoFocusRect)) {
        RECT focus = button.Rect;
        InflateRect(&focus, -4, -4);
        (void)DrawFocusRect(dc, &focus);
    }
    return true;
}
