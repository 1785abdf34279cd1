#pragma once

#include "skin/SkinHook.h"

class TBitmap;
class TDataSkinObject;

// How far along the bar the filled part reaches: `length` scaled by the position's place within
// the range. Nothing is filled at or below the lower limit, or for a range that is empty or
// reversed; the fill never runs past the bar.
[[nodiscard]] int ProgressFillLength(int length, int position, int low, int high);

// Paints a progress bar from the skin's progress pictures: the bar body with its filled part
// (Progress style 0), or the body with a row of chunks (style 1). A vertical bar is drawn lying
// down and turned a quarter so that it fills from the bottom.
class TSkinProgress : public TSkinHook {
protected:
    bool BeforeMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    [[nodiscard]] TDataSkinObject* Body() const;
    // The filled length along a bar of `length` pixels.
    [[nodiscard]] int FillLength(int length) const;
    void DrawBar(TBitmap& work, TDataSkinObject& body) const;
    // False without a chunk picture: then nothing is drawn.
    [[nodiscard]] bool DrawChunks(TBitmap& work, TDataSkinObject& body) const;
};
