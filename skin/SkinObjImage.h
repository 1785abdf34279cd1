#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "skin/SkinHook.h"

// The glyph strip a check item (9 cells) or a radio item (6 cells) of the control library reads
// its pictures from, filled from the skin's check-box or radio-button frames (`frames` of them,
// side by side in `source`; grouped by mark when there are 12 check or 8 radio frames). Cells the
// skin has no frame for are left in the key colour.
void BuildGlyphStrip(TBitmap& source, int frames, bool radio, TBitmap& strip);

// Gives the check and radio items of the control library the skin's glyphs through their own
// custom-glyph properties (CustomGlyphs, TransparentColor, UseCustomGlyphs); the items keep
// painting themselves.
class TSkinObjImage : public TSkinHook {
public:
    enum TMode : int { CheckItems = 1, RadioItems = 2 };

    explicit TSkinObjImage(TMode mode) : m_glyphMode(mode) {}

    void Detach() override;
    void SkinChanged() override;

protected:
    void ControlAttached() override;

private:
    void GiveGlyphs();

    TMode m_glyphMode;
    TBitmap m_strip;
};
