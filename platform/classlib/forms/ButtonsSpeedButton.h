#pragma once

#include "platform/classlib/forms/ButtonsBitBtnGlyph.h"
#include "platform/classlib/forms/Controls.h"

// A windowless button with a glyph. Speed buttons of one parent with the same non-zero
// GroupIndex work together: pressing one holds it down and lets the others up.

// A speed button tells its siblings that it went down (wParam: GroupIndex, lParam: the button).
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;

class TSpeedButton : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    [[nodiscard]] TBitmap* Glyph() const { return m_glyph.Glyph(); }
    void SetGlyph(TBitmap* glyph) { m_glyph.SetGlyph(glyph); }
    [[nodiscard]] int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(int numGlyphs) { m_glyph.SetNumGlyphs(numGlyphs); }
    [[nodiscard]] int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int groupIndex);
    // Only a grouped button stays down; the last one of a group comes up only with AllowAllUp.
    [[nodiscard]] bool Down() const { return m_down; }
    void SetDown(bool down);
    [[nodiscard]] bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool allowAllUp);
    // A flat button shows its edge only while the mouse is over it or it is down.
    [[nodiscard]] bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    [[nodiscard]] TButtonLayout Layout() const { return m_params.layout; }
    void SetLayout(TButtonLayout layout);
    [[nodiscard]] int Margin() const { return m_params.margin; }
    void SetMargin(int margin);
    [[nodiscard]] int Spacing() const { return m_params.spacing; }
    void SetSpacing(int spacing);

protected:
    // The face the button shows: up, held down by the mouse, latched down, or disabled.
    [[nodiscard]] TButtonState State() const { return m_state; }
    void SetState(TButtonState state);
    void Paint() override;
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void ButtonPressed(TMessage& message);
    void TellGroup();
    [[nodiscard]] bool Inside(int x, int y) const { return x >= 0 && x < Width() && y >= 0 && y < Height(); }

    TButtonGlyph m_glyph;
    TButtonGlyph::TLayoutParams m_params;
    TButtonState m_state = bsUp;
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    bool m_flat = false;
    bool m_dragging = false;
    bool m_mouseInControl = false;
};
