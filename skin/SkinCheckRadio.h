#pragma once

#include "skin/SkinHook.h"

class TBitmap;

enum TCheckMark { cmUnchecked, cmChecked, cmIndeterminate };

// The frame of a check-box or radio picture for a mark. The layouts: 12 frames (check boxes)
// in groups of four for unchecked, checked and indeterminate; 8 frames (radio buttons) in groups
// of four for unchecked and checked; the last frame of each group is the disabled one. Any
// other count: 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled or
// indeterminate. The answer always lies within the picture's frames.
[[nodiscard]] int CheckFrameIndex(TCheckMark mark, bool disabled, int frameCount, bool radio);

// Paints a check box or a radio button: one frame of the skin's check or radio picture as its
// box, the caption beside it, on the skin's face colour (or the parent's picture in transparent
// mode). Without a picture in the skin the control paints itself.
class TSkinCheckControl : public TSkinHook {
protected:
    explicit TSkinCheckControl(bool radio) : m_radio(radio) {}

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;
    void ControlAttached() override;

    [[nodiscard]] virtual TCheckMark Mark() const = 0;
    [[nodiscard]] TBitmap* Picture() const;
    [[nodiscard]] int PictureFrames() const;

    // The last BM_SETCHECK, for data-aware check boxes; -1 for none.
    int m_rememberedCheck = -1;

private:
    [[nodiscard]] bool ImageMode() const;

    bool m_radio;
    bool m_transparent = false;
};

class TSkinCheckBox : public TSkinCheckControl {
public:
    TSkinCheckBox() : TSkinCheckControl(false) {}

protected:
    [[nodiscard]] TCheckMark Mark() const override;
};

class TSkinRadioButton : public TSkinCheckControl {
public:
    TSkinRadioButton() : TSkinCheckControl(true) {}

protected:
    [[nodiscard]] TCheckMark Mark() const override;
};
