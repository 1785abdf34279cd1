#pragma once

#include "skin/SkinHook.h"

struct NMCUSTOMDRAW;

// Paints a track bar's channel and thumb from the skin through the control's custom-draw
// notifications; the tick marks stay the control's own.
class TSkinTrackBar : public TSkinHook {
public:
    // Repaints by taking the focus for a moment (the focus goes back at once).
    void SkinChanged() override;

protected:
    bool BeforeMessage(TMessage& message) override;

private:
    [[nodiscard]] LRESULT CustomDraw(const NMCUSTOMDRAW& draw);
    void DrawChannel(HDC dc);
    void DrawThumb(HDC dc);
    [[nodiscard]] bool Vertical() const;
};
