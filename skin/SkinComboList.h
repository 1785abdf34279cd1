#pragma once

#include "skin/SkinHook.h"

// The list position for the thumb `offset` pixels below the first arrow, on a track of `track`
// pixels with a thumb of `thumbLength`: from nMin with the thumb at the first arrow to the last
// position (nMax - nPage + 1 with a page, nMax without) with the thumb at the second, never
// beyond either. A track no longer than the thumb gives nMin.
[[nodiscard]] int ComboListThumbPosition(int offset, int track, int thumbLength, const SCROLLINFO& info);

// Paints the vertical scroll bar of a combo box's drop-down list from the skin, straight into the
// list's window, and drags its thumb itself. The bar keeps no hot or pressed part.
class TComboxScrollBar : public TSkinHook {
public:
    TComboxScrollBar();

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    // Follows the mouse from a press at `press` (screen) on the thumb until the button comes up,
    // the list loses the mouse or goes, Escape is pressed or the program quits; false when the
    // press was not on the thumb.
    bool DragThumb(POINT press);

    int m_arrowSize;
};
