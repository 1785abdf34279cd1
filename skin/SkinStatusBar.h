#pragma once

#include "skin/SkinHook.h"

// Paints a status bar wholly from the skin: the face colour, each panel framed by its bevel's frame
// of the StatusBarEdges picture (lowered, raised, flat) with its text, and the size grip from the
// ExtraImages picture; the bar's windowless children and its OnDrawPanel handler then draw over
// that. A skin without StatusBarEdges gets one-pixel 3-D frames in the system's colours.
class TSkinStatusBar : public TSkinHook {
protected:
    bool BeforeMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    // Frame 1 lowered, 2 raised, 3 flat.
    void DrawPanelFrame(HDC dc, const RECT& rect, int frame) const;
    void DrawGrip(HDC dc, const RECT& rect) const;
};
