#include "skin/SkinObjImage.h"

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinProps.h"

#include <string>

namespace {

// The skin frame (1-based) each cell of the strip comes from.
constexpr int CheckCells[9] = {1, 2, 5, 1, 2, 5, 3, 4, 5};
constexpr int RadioCells[6] = {1, 2, 1, 2, 3, 4};

} // namespace

void BuildGlyphStrip(TBitmap& source, int frames, bool radio, TBitmap& strip)
{
    const int width = frames > 0 ? source.Width() / frames : 0;
    const int height = source.Height();
    const int cells = radio ? 6 : 9;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(width * cells, height);
    if (strip.Empty())
        return;
    const HDC dc = strip.Canvas()->Handle();
    const HBRUSH key = CreateSolidBrush(ColorToRGB(SkinKeyColour));
    const RECT all{0, 0, strip.Width(), height};
    (void)FillRect(dc, &all, key);
    (void)DeleteObject(key);
    // Pictures grouped by mark (12 check frames, 8 radio frames) are read as a check box reads them.
    const bool grouped = radio ? frames == 8 : frames == 12;
    const int marks = radio ? 2 : 3;
    for (int cell = 0; cell < cells; ++cell) {
        int frame = radio ? RadioCells[cell] : CheckCells[cell];
        if (grouped)
            frame = CheckFrameIndex(static_cast<TCheckMark>(cell % marks), cell >= 2 * marks, frames, radio);
        // The fifth frame (greyed) only when the skin draws exactly five.
        else if (frame > frames || (frame == 5 && frames != 5))
            continue;
        const RECT from = SkinFrameRect(source, false, frames, frame);
        (void)BitBlt(dc, cell * width, 0, width, height, source.Canvas()->Handle(), from.left, from.top, SRCCOPY);
    }
}

void TSkinObjImage::ControlAttached()
{
    GiveGlyphs();
}

void TSkinObjImage::GiveGlyphs()
{
    if (!m_control || !m_data)
        return;
    TDataSkinButton& buttons = m_data->Elements().Buttons();
    const bool radio = m_glyphMode == RadioItems;
    TBitmap& source = radio ? buttons.RadioButton : buttons.CheckButton;
    if (source.Empty())
        return;
    BuildGlyphStrip(source, radio ? buttons.RadioButtonFrame : buttons.CheckButtonFrame, radio, m_strip);
    if (auto* glyphs = dynamic_cast<TBitmap*>(GetObjectPropByName(m_control, "CustomGlyphs", TBitmap::StaticClass())))
        glyphs->Assign(&m_strip);
    SetPropByName(m_control, "transparentcolor", std::to_string(SkinKeyColour));
    // Off and on again, so that the item reads its glyphs anew.
    SetPropByName(m_control, "UseCustomGlyphs", "false");
    SetPropByName(m_control, "UseCustomGlyphs", "true");
}

void TSkinObjImage::SkinChanged()
{
    GiveGlyphs();
    TSkinHook::SkinChanged();
}

void TSkinObjImage::Detach()
{
    SetPropByName(m_control, "UseCustomGlyphs", "false");
    TSkinHook::Detach();
}
