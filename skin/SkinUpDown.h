#pragma once

#include "skin/SkinHook.h"

// The state of one half of a skinned up-down: the column of the skin's up-down pictures.
enum TUpDownHalfState : int { udsNormal = 1, udsPressed = 2, udsDisabled = 3, udsHot = 4 };
// A disabled control shows both halves disabled; otherwise only the half under the cursor shows
// pressed (while the button is down) or hot.
[[nodiscard]] TUpDownHalfState UpDownHalfState(bool enabled, bool underCursor, int mouseState);

class TSkinData;

// Draws one half of an up-down from the skin's up-down pictures (or plainly without them);
// `direction` 0 is up (left when horizontal), 1 down (right).
void DrawSkinUpDownHalf(HDC dc, const RECT& half, TSkinData& data, bool horizontal, int direction,
                        TUpDownHalfState state);

// Paints both halves of an up-down (spin) control from the skin's up-down pictures, through an
// off-screen bitmap: stand-alone up-downs, the spin buddy inside an edit and the scroll arrows
// of a tab control.
class TSkinUpDown : public TSkinHook {
public:
    // The up-down sits inside an edit: its background is white and it keeps 3 pixels inside
    // the edit's frame.
    void SetEditBuddy(bool value) { m_editBuddy = value; }
    // Drawn as left and right halves whatever the control's style says.
    void SetHorizontal(bool value) { m_horizontal = value; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    [[nodiscard]] bool Horizontal() const;
    // The half under the cursor (0 first, 1 second), or -1.
    [[nodiscard]] int HalfUnderCursor() const;

    bool m_editBuddy = false;
    bool m_horizontal = false;
    int m_hotHalf = -1;
};
